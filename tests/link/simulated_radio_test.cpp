// The simulated radio: its answers to each frame, the faults it commits on request, and its
// EEPROM files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/frame.h"
#include "sim/simulated_radio.h"

using namespace kq904;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ask(SimulatedRadio& radio, const Bytes& wire, std::int64_t atMs = 0)
{
    radio.receive(wire, atMs);
    return radio.takeDue(atMs);
}

Bytes corrupted(Bytes wire)
{
    wire.back() ^= 0x01;
    return wire;
}

const Bytes kAck = wireBytes(commandFrame('1'));
const Bytes kNegative = wireBytes(commandFrame('0'));

} // namespace

TEST(SimulatedRadio, AnswersEachFrame)
{
    const Bytes three = {1, 2, 3};
    struct Case {
        const char* what;
        Bytes frame;
        Bytes reply;
        std::uint8_t at0x7FD; // the EEPROM byte a write at 0x07FD would touch
    };
    const Case cases[] = {
        {"write", wireBytes(writeFrame(0x07FD, three)), kAck, 1},
        {"write with a bad checksum", corrupted(wireBytes(writeFrame(0x07FD, three))), kNegative,
            0xFF},
        {"write past the end", wireBytes(writeFrame(0x07FE, three)), kNegative, 0xFF},
        {"write whose count disagrees with its length",
            wireBytes(Frame{8, 'W', 0x07, 0xFD, 2, 1, 2, 3}), kNegative, 0xFF},
        {"read", wireBytes(readFrame(0x07FD, 3)),
            wireBytes(readReplyFrame(std::array<std::uint8_t, 3>{0x07, 0xFD, 3}, Bytes(3, 0xFF))),
            0xFF},
        {"read longer than a frame", wireBytes(readFrame(0x0000, 29)), kNegative, 0xFF},
        {"read past the end", wireBytes(readFrame(0x07FF, 2)), kNegative, 0xFF},
        {"end of programming", wireBytes(commandFrame('D')), kAck, 0xFF},
        {"version", wireBytes(commandFrame('F')), wireBytes(versionReplyFrame(0x0512)), 0xFF},
        {"the program's negative reply", kNegative, {}, 0xFF},
        {"unknown letter", wireBytes(commandFrame('Z')), {}, 0xFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedRadio radio;
        EXPECT_EQ(ask(radio, c.frame), c.reply);
        EXPECT_EQ(radio.eeprom()[0x07FD], c.at0x7FD);
        EXPECT_EQ(radio.framesReceived(), 1);
    }
}

TEST(SimulatedRadio, ReadsBackWhatWasWritten)
{
    SimulatedRadio radio;
    const Bytes data = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70};
    ASSERT_EQ(ask(radio, wireBytes(writeFrame(0x054A, data))), kAck);
    const Bytes reply = ask(radio, wireBytes(readFrame(0x054A, 7)));
    ASSERT_EQ(reply.size(), 3u + 1 + 5 + 7);
    EXPECT_EQ(Bytes(reply.begin() + 8, reply.end() - 1), data);
    EXPECT_EQ(reply[3], 12); // L = data + 5
}

TEST(SimulatedRadio, CommitsEachFault)
{
    FaultPlan::Settings settings;
    settings.shortBy = 2;
    settings.delayMs = 500;
    SimulatedRadio radio;
    radio.setRecording(true);
    radio.setFaultPlan(FaultPlan(settings)
                           .at(1, FaultKind::NoAnswer)
                           .at(2, FaultKind::CorruptChecksum)
                           .at(3, FaultKind::NegativeAck)
                           .at(4, FaultKind::ShortReadReply)
                           .at(5, FaultKind::NoiseBeforeReply)
                           .at(6, FaultKind::DelayedReply)
                           .at(7, FaultKind::TwoInsteadOfVersion)
                           .silenceFrom(9));
    const Bytes one = {0xAB};

    // 1: carried out, reply lost.
    EXPECT_TRUE(ask(radio, wireBytes(writeFrame(0x0100, one))).empty());
    EXPECT_EQ(radio.eeprom()[0x0100], 0xAB);
    // 2: the acknowledge leaves with a broken checksum.
    const Bytes bad = ask(radio, wireBytes(writeFrame(0x0101, one)));
    ASSERT_EQ(bad.size(), kAck.size());
    EXPECT_NE(bad, kAck);
    EXPECT_NE(xorChecksum(std::span(bad).subspan(3)), 0);
    // 3: refused, nothing written.
    EXPECT_EQ(ask(radio, wireBytes(writeFrame(0x0102, one))), kNegative);
    EXPECT_EQ(radio.eeprom()[0x0102], 0xFF);
    // 4: two data bytes short, but a sound frame.
    const Bytes shortReply = ask(radio, wireBytes(readFrame(0x0100, 8)));
    EXPECT_EQ(shortReply[3], 8 - 2 + 5);
    EXPECT_EQ(xorChecksum(std::span(shortReply).subspan(3)), 0);
    // 5: noise first.
    Bytes noisy = settings.noise;
    noisy.insert(noisy.end(), kAck.begin(), kAck.end());
    EXPECT_EQ(ask(radio, wireBytes(commandFrame('D'))), noisy);
    // 6: due 500 ms later.
    EXPECT_TRUE(ask(radio, wireBytes(commandFrame('D')), 1000).empty());
    EXPECT_TRUE(radio.takeDue(1499).empty());
    EXPECT_EQ(radio.takeDue(1500), kAck);
    // 7: "2" instead of the version.
    EXPECT_EQ(ask(radio, wireBytes(commandFrame('F')), 2000), wireBytes(commandFrame('2')));
    // 8: back to normal; 9 on: silent, and nothing is carried out.
    EXPECT_EQ(ask(radio, wireBytes(commandFrame('F')), 2000), wireBytes(versionReplyFrame(0x0512)));
    EXPECT_TRUE(ask(radio, wireBytes(writeFrame(0x0103, one)), 2000).empty());
    EXPECT_EQ(radio.eeprom()[0x0103], 0xFF);

    ASSERT_EQ(radio.recordedFrames().size(), 9u);
    EXPECT_EQ(radio.recordedFrames()[5].faults, std::vector<FaultKind>{FaultKind::DelayedReply});
    EXPECT_EQ(radio.recordedFrames()[4].reply, noisy);
    EXPECT_EQ(radio.recordedFrames()[8].address(), 0x0103);
    EXPECT_EQ(radio.recordedFrames()[8].data().size(), 1u);
}

TEST(SimulatedRadio, ALateReplyHoldsBackTheOnesBehindIt)
{
    FaultPlan::Settings settings;
    settings.delayMs = 100;
    SimulatedRadio radio;
    radio.setFaultPlan(FaultPlan(settings).at(1, FaultKind::DelayedReply));
    radio.receive(wireBytes(commandFrame('D')), 0);
    radio.receive(wireBytes(commandFrame('F')), 10);
    EXPECT_TRUE(radio.takeDue(50).empty());
    std::int64_t due = 0;
    ASSERT_TRUE(radio.nextDue(due));
    EXPECT_EQ(due, 100);
    Bytes both = kAck;
    const Bytes version = wireBytes(versionReplyFrame(0x0512));
    both.insert(both.end(), version.begin(), version.end());
    EXPECT_EQ(radio.takeDue(100), both);
    EXPECT_FALSE(radio.nextDue(due));
}

TEST(SimulatedRadio, AFrameBrokenOffBySilenceIsDropped)
{
    SimulatedRadio radio;
    const Bytes frame = wireBytes(commandFrame('D'));
    radio.receive(std::span(frame).first(4), 0);
    radio.receive(frame, 5000);
    EXPECT_EQ(radio.takeDue(5000), kAck);
    EXPECT_EQ(radio.framesReceived(), 1);
}

TEST(FaultPlan, RandomFaultsFollowTheirSeed)
{
    auto picks = [](std::uint32_t seed, double probability) {
        FaultPlan plan;
        plan.atRandom(FaultKind::NoAnswer, probability, seed);
        std::vector<int> frames;
        for (int n = 1; n <= 2000; ++n)
            if (!plan.faultsFor(n).empty())
                frames.push_back(n);
        return frames;
    };
    EXPECT_EQ(picks(7, 0.3), picks(7, 0.3));
    EXPECT_NE(picks(7, 0.3), picks(8, 0.3));
    const auto some = picks(7, 0.3).size();
    EXPECT_GT(some, 500u);
    EXPECT_LT(some, 700u);
    EXPECT_TRUE(picks(7, 0.0).empty());
    EXPECT_EQ(picks(7, 1.0).size(), 2000u);
}

TEST(FaultPlan, NamesRoundTrip)
{
    for (const FaultKind kind : kAllFaultKinds) {
        FaultKind parsed{};
        ASSERT_TRUE(parseFaultName(faultName(kind), parsed)) << faultName(kind);
        EXPECT_EQ(parsed, kind);
    }
    FaultKind unused{};
    EXPECT_FALSE(parseFaultName("lightning", unused));
}

TEST(SimulatedRadio, EepromFiles)
{
    const auto dir = std::filesystem::temp_directory_path()
        / ("kq904-sim-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    SimulatedRadio radio;
    radio.eeprom()[0x0500] = 0x42;
    ASSERT_TRUE(radio.saveEepromFile(dir / "radio.bin"));
    EXPECT_EQ(std::filesystem::file_size(dir / "radio.bin"), 2048u);

    SimulatedRadio other;
    ASSERT_TRUE(other.loadEepromFile(dir / "radio.bin"));
    EXPECT_EQ(other.eeprom(), radio.eeprom());

    std::ofstream(dir / "short.bin", std::ios::binary) << "abc";
    const Result result = other.loadEepromFile(dir / "short.bin");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("2048"), std::string::npos);
    EXPECT_EQ(other.eeprom(), radio.eeprom()); // a failed load changes nothing
    EXPECT_FALSE(other.loadEepromFile(dir / "missing.bin"));
    EXPECT_FALSE(other.loadEeprom(Bytes(2049, 0)));
    std::filesystem::remove_all(dir);
}

// A station's radios: the one programmed still answers its verification, goes silent at the
// next version request for the time it is off the cable, and a blank one answers after it.
TEST(SimulatedRadio, SwappedAfterProgramming)
{
    SimulatedRadio radio;
    radio.setSwapAfterProgramming(2000);
    const Bytes version = wireBytes(commandFrame('F'));
    const std::array<std::uint8_t, 1> data = {0x42};
    EXPECT_EQ(ask(radio, wireBytes(writeFrame(0x0100, data)), 0), kAck);
    EXPECT_EQ(ask(radio, version, 10), wireBytes(versionReplyFrame(0x0512))); // not yet done
    EXPECT_EQ(ask(radio, wireBytes(commandFrame('D')), 20), kAck);
    const Bytes readBack = ask(radio, wireBytes(readFrame(0x0100, 1)), 30);
    ASSERT_FALSE(readBack.empty());
    EXPECT_EQ(readBack[readBack.size() - 2], 0x42);

    EXPECT_EQ(ask(radio, version, 40), Bytes{}); // taken off the cable
    EXPECT_EQ(ask(radio, version, 1040), Bytes{});
    EXPECT_EQ(radio.radiosSwapped(), 0);
    EXPECT_EQ(ask(radio, version, 2040), wireBytes(versionReplyFrame(0x0512)));
    EXPECT_EQ(radio.radiosSwapped(), 1);
    EXPECT_EQ(radio.eeprom()[0x0100], 0xFF); // the next radio is blank
    EXPECT_EQ(ask(radio, version, 2050), wireBytes(versionReplyFrame(0x0512))); // and stays
}
