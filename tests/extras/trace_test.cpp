// The serial trace in virtual time: the link talks to the in-process simulated radio through the
// trace, and the log must hold every byte, in order, framed and timed.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "link/link.h"
#include "link/trace_transport.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"

using namespace kq904;

namespace {

struct TraceLine {
    double ms = 0;
    char direction = 0;
    std::vector<std::uint8_t> bytes;
    std::string words;
};

// Parses the trace; notes ("# ...") are skipped, a line of any other form fails the test.
std::vector<TraceLine> parse(const std::string& text)
{
    static const std::regex line(R"(^ *(\d+\.\d{3}) ([<>])((?: [0-9A-F]{2})+)(?:  (.+))?$)");
    std::vector<TraceLine> out;
    std::istringstream in(text);
    std::string s;
    while (std::getline(in, s)) {
        if (s.starts_with("#"))
            continue;
        std::smatch m;
        EXPECT_TRUE(std::regex_match(s, m, line)) << s;
        if (m.empty())
            continue;
        TraceLine t;
        t.ms = std::stod(m[1]);
        t.direction = m[2].str()[0];
        std::istringstream hex(m[3]);
        unsigned b = 0;
        while (hex >> std::hex >> b)
            t.bytes.push_back(static_cast<std::uint8_t>(b));
        t.words = m[4];
        out.push_back(std::move(t));
    }
    return out;
}

std::vector<std::uint8_t> joined(const std::vector<TraceLine>& lines, char direction)
{
    std::vector<std::uint8_t> bytes;
    for (const auto& l : lines)
        if (l.direction == direction)
            bytes.insert(bytes.end(), l.bytes.begin(), l.bytes.end());
    return bytes;
}

// A link that programs or reads the simulated radio through a trace, on a virtual clock that
// moves 15 ms a tick and a few microseconds per call in between.
struct TracedLink {
    SimulatedRadio radio;
    InProcessTransport transport{radio};
    std::ostringstream log;
    std::int64_t microseconds = 0;
    TraceTransport trace{
        transport, log, [this] { return transport.tick() * 15000 + ++microseconds; }};
    RadioImage image;
    Link link{image, trace};
    std::vector<std::uint8_t> received; // every byte the link was given

    TracedLink()
    {
        image.setChannelCount(2);
        radio.setRecording(true);
    }

    void run(int limit = 5000)
    {
        for (int i = 0; i < limit && (link.busy() || i == 0); ++i) {
            transport.advanceTick();
            link.tick();
        }
        trace.flush();
    }
};

} // namespace

TEST(Trace, HoldsEveryByteOfAProgrammingFramedAndInOrder)
{
    TracedLink t;
    ASSERT_TRUE(t.link.startProgramming());
    t.run();
    ASSERT_EQ(t.link.linkState(), LinkState::Programmed);

    const auto lines = parse(t.log.str());
    // Nothing lost or added in either direction.
    EXPECT_EQ(joined(lines, '>'), t.transport.written());
    std::vector<std::uint8_t> replies;
    for (const auto& f : t.radio.recordedFrames())
        replies.insert(replies.end(), f.reply.begin(), f.reply.end());
    EXPECT_EQ(joined(lines, '<'), replies);

    std::vector<std::string> words;
    for (const auto& l : lines)
        words.push_back(std::string(1, l.direction) + " " + l.words);
    const std::vector<std::string> expected = {"> W 0x0043 9", "< 1", "> W 0x054A 7", "< 1",
        "> W 0x004F 9", "< 1", "> W 0x0551 7", "< 1", "> W 0x0008 24", "< 1", "> W 0x0020 28",
        "< 1", "> W 0x04EE 17", "< 1", "> W 0x0500 14", "< 1", "> W 0x0514 8", "< 1", "> D", "< 1"};
    EXPECT_EQ(words, expected);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_GE(lines[i].ms, lines[i - 1].ms) << "line " << i;
    // The first frame leaves when the start delay is over: 33 ticks of 15 ms.
    EXPECT_GE(lines.front().ms, 33 * 15.0);
    EXPECT_LT(lines.front().ms, 35 * 15.0);
}

TEST(Trace, NoiseIsALineOfItsOwnAheadOfTheFrameBehindIt)
{
    TracedLink t;
    FaultPlan plan;
    plan.at(1, FaultKind::NoiseBeforeReply);
    t.radio.setFaultPlan(std::move(plan));
    ASSERT_TRUE(t.link.requestVersion());
    t.run();

    const auto lines = parse(t.log.str());
    ASSERT_EQ(lines.size(), 3u) << t.log.str();
    EXPECT_EQ(lines[0].words, "F");
    EXPECT_EQ(lines[1].direction, '<');
    EXPECT_EQ(lines[1].bytes, FaultPlan::Settings::defaultNoise());
    EXPECT_EQ(lines[1].words, "");
    EXPECT_EQ(lines[2].words, "f 0x0512");
}

TEST(Trace, CorruptedReplyIsMarkedAndTheRefusalShown)
{
    TracedLink t;
    FaultPlan plan;
    plan.at(1, FaultKind::CorruptChecksum);
    t.radio.setFaultPlan(std::move(plan));
    ASSERT_TRUE(t.link.requestVersion());
    t.run(40 + 220);

    const auto lines = parse(t.log.str());
    ASSERT_GE(lines.size(), 3u) << t.log.str();
    EXPECT_EQ(lines[1].words, "f 0x0512 BAD CHECKSUM");
    EXPECT_EQ(lines[2].direction, '>');
    EXPECT_EQ(lines[2].words, "0");
}

// A frame broken off is not held back for ever: once the line has been quiet a while, its bytes
// are written as they came.
TEST(Trace, BrokenOffFrameIsWrittenAfterAQuietSpell)
{
    SimulatedRadio radio;
    InProcessTransport transport{radio};
    std::ostringstream log;
    std::int64_t now = 0;
    TraceTransport trace{transport, log, [&] { return now; }};
    ASSERT_TRUE(trace.open());
    transport.inject(std::vector<std::uint8_t>{0x3C, 0x3C, 0x3C, 0x05, 0x72});
    std::array<std::uint8_t, 16> buffer;
    transport.advanceTick();
    now = 1000;
    EXPECT_EQ(trace.readAvailable(buffer), 5u);
    EXPECT_TRUE(parse(log.str()).empty()) << "held back while the rest may still come";

    now += TraceTransport::burstGapUs;
    EXPECT_EQ(trace.readAvailable(buffer), 0u);
    const auto lines = parse(log.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].bytes, (std::vector<std::uint8_t>{0x3C, 0x3C, 0x3C, 0x05, 0x72}));
    EXPECT_EQ(lines[0].ms, 1.0);
    EXPECT_EQ(lines[0].words, "");
    EXPECT_NE(log.str().find("# port opened"), std::string::npos);
}
