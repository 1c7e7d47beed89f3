// The soak's own account of the transfers, held against worked examples of the radio's rules
// and against the in-process line it times replies on: the soak is only as good as this.
#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"
#include "soak/transfer_oracle.h"

using namespace kq904;
using namespace kq904::soak;

namespace {

std::vector<std::pair<std::uint16_t, int>> addresses(const std::vector<Request>& requests)
{
    std::vector<std::pair<std::uint16_t, int>> out;
    for (const Request& r : requests)
        out.emplace_back(r.address, r.letter == 'D' || r.letter == 'F' ? r.letter : r.count);
    return out;
}

} // namespace

TEST(TransferOracle, RequestsFollowTheEepromMap)
{
    RadioImage image;
    image.general.bytes[3] = 3;
    const std::vector<std::pair<std::uint16_t, int>> three = {{0x0043, 9}, {0x054A, 7}, {0x004F, 9},
        {0x0551, 7}, {0x005B, 9}, {0x0558, 7}, {0x0008, 24}, {0x0020, 28}, {0x04EE, 17},
        {0x0500, 14}, {0x0514, 8}, {0x0000, 'D'}};
    EXPECT_EQ(addresses(programmingRequests(image)), three);

    image.general.bytes[3] = 0; // channel 0 still goes
    EXPECT_EQ(programmingRequests(image).size(), 8u);
    image.general.bytes[3] = 120; // never past the 99 records
    const auto full = programmingRequests(image);
    ASSERT_EQ(full.size(), 99u * 2 + 6);
    EXPECT_EQ(full[196].address, 0x04DB);
    EXPECT_EQ(full[197].address, 0x07F8);

    Eeprom radio{};
    radio[0x000B] = 0;
    EXPECT_EQ(addresses(readingRequests(radio, false)),
        (std::vector<std::pair<std::uint16_t, int>>{{0x0008, 24}, {0x0500, 14}, {0x0514, 8}}));
    radio[0x000B] = 120;
    const auto read = readingRequests(radio, true);
    ASSERT_EQ(read.size(), 1u + 3 + 99 * 2);
    EXPECT_EQ(read.front().letter, 'F');
    EXPECT_EQ(read.back().address, 0x07F8);
}

TEST(TransferOracle, ProgrammingStoresBandBitsIfCountersAndKillMarker)
{
    // 21.4 MHz IF: the worked examples for both prescaler settings.
    EXPECT_EQ(ifCountersFor(21400000, false, false),
        (std::array<std::uint8_t, 8>{0x70, 0x21, 0x00, 0x00, 0xC0, 0x1A, 0x00, 0x00}));
    EXPECT_EQ(ifCountersFor(21400000, true, true),
        (std::array<std::uint8_t, 8>{0x70, 0x42, 0x00, 0x01, 0x40, 0x35, 0x00, 0x00}));

    // 145 MHz at 6.25 kHz, modulus 128: 23200 = 181 x 128 + 32.
    const std::uint8_t half[] = {32 << 1, 181, 0x00};
    ASSERT_EQ(synthesizerHertz(half, false), 145000000u);
    struct Case {
        std::uint32_t bandLow;
        bool oscillatorAbove; // receive = counters - IF
        bool txInBand;
        bool rxInBand;
    };
    // IF 1 MHz: the receive frequency is 144 or 146 MHz.
    const Case cases[] = {{145000000, false, true, true}, {145000001, false, false, true},
        {144000000, true, true, true}, {144000001, true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bandLow);
        RadioImage image;
        image.general.bytes[3] = 1;
        auto& record = image.channels[0].bytes;
        std::copy(std::begin(half), std::end(half), record.begin());
        std::copy(std::begin(half), std::end(half), record.begin() + 4);
        const std::uint32_t words[] = {
            1000000, 0, 0, c.oscillatorAbove ? 1u : 0u, c.bandLow, 146000000, 0, 0};
        for (std::size_t w = 0; w < 8; ++w)
            for (std::size_t b = 0; b < 4; ++b)
                image.factory.bytes[4 * w + b] = static_cast<std::uint8_t>(words[w] >> (8 * b));
        const auto requests = programmingRequests(image);
        const auto data = prepareWrite(image, requests[0]);
        EXPECT_EQ((data[8] & 0x80) != 0, c.txInBand);
        EXPECT_EQ((image.extras[0].bytes[0] & 0x04) != 0, c.rxInBand);
        (void)prepareWrite(image, requests[4]);
        EXPECT_EQ(image.kill.bytes[0], 0xCF);
    }
}

TEST(TransferOracle, ReplyTicksMatchTheInProcessLine)
{
    // The soak times the boundary of each wait with replyTicks: it must agree with when the
    // in-process line really hands a reply over.
    const std::pair<int, int> timings[] = {
        {0, 0}, {1, 0}, {15, 0}, {16, 0}, {0, 2970}, {0, 2971}, {45, 2925}, {45, 2926}, {0, 5910}};
    for (const auto& [latency, delay] : timings) {
        SCOPED_TRACE(std::to_string(latency) + " ms + " + std::to_string(delay) + " ms");
        SimulatedRadio radio;
        radio.setReplyLatencyMs(latency);
        FaultPlan::Settings settings;
        settings.delayMs = delay;
        radio.setFaultPlan(FaultPlan(settings).at(1, FaultKind::DelayedReply));
        InProcessTransport line(radio);
        ASSERT_TRUE(line.open());
        for (int i = 0; i < 5; ++i)
            line.advanceTick();
        const long sent = line.tick();
        for (std::uint8_t b : wireBytes(commandFrame(FrameLetter::endOfProgramming)))
            ASSERT_TRUE(line.writeByte(b));
        std::array<std::uint8_t, 16> out{};
        while (line.readAvailable(out) == 0 && line.tick() < sent + 1000)
            line.advanceTick();
        EXPECT_EQ(line.tick() - sent, replyTicks(latency, delay));
    }
}
