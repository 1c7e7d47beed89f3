// Frames on the wire and the byte-by-byte receive parser.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "link/frame.h"
#include "link/receive_parser.h"

using namespace kq904;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct WireCase {
    const char* what;
    Frame frame;
    Bytes wire;
};

Bytes data(int n, std::uint8_t first)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<std::uint8_t>(first + i));
    return out;
}

std::uint8_t xorAll(const Bytes& b)
{
    std::uint8_t x = 0;
    for (auto v : b)
        x ^= v;
    return x;
}

} // namespace

TEST(Frame, WireBytesOfEveryFrameKind)
{
    const Bytes three = {0xAA, 0xBB, 0xCC};
    const WireCase cases[] = {
        {"read 24 bytes at 0x0008", readFrame(0x0008, 24),
            {0x3C, 0x3C, 0x3C, 0x05, 0x52, 0x00, 0x08, 0x18, 0x47}},
        {"end of programming", commandFrame(FrameLetter::endOfProgramming),
            {0x3C, 0x3C, 0x3C, 0x02, 0x44, 0x46}},
        {"negative reply", commandFrame(FrameLetter::negative),
            {0x3C, 0x3C, 0x3C, 0x02, 0x30, 0x32}},
        {"acknowledge", commandFrame(FrameLetter::acknowledge),
            {0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x33}},
        {"write 3 bytes at 0x054A", writeFrame(0x054A, three),
            {0x3C, 0x3C, 0x3C, 0x08, 0x57, 0x05, 0x4A, 0x03, 0xAA, 0xBB, 0xCC,
                static_cast<std::uint8_t>(0x08 ^ 0x57 ^ 0x05 ^ 0x4A ^ 0x03 ^ 0xAA ^ 0xBB ^ 0xCC)}},
        {"version reply 0x0123", versionReplyFrame(0x0123),
            {0x3C, 0x3C, 0x3C, 0x04, 0x66, 0x01, 0x23, 0x04 ^ 0x66 ^ 0x01 ^ 0x23}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(wireBytes(c.frame), c.wire);
    }
}

TEST(Frame, LengthCountsEverythingAfterTheLengthByte)
{
    // The largest frame the program sends: 28 bytes at 0x0020, L = 33, 37 bytes on the wire.
    const Bytes block = data(28, 1);
    const Bytes wire = wireBytes(writeFrame(0x0020, block));
    ASSERT_EQ(wire.size(), 37u);
    EXPECT_EQ(wire[3], 33);
    EXPECT_EQ(wire.size(), wire[3] + 4u);
    // XOR of the length byte and all that follows it is 0 for an intact frame.
    EXPECT_EQ(xorAll(Bytes(wire.begin() + 3, wire.end())), 0);

    for (int n : {0, 1, 9, 24}) {
        const Bytes w = wireBytes(writeFrame(0x0100, data(n, 7)));
        EXPECT_EQ(w[3], n + 5) << n;
        EXPECT_EQ(xorAll(Bytes(w.begin() + 3, w.end())), 0) << n;
    }
}

TEST(Frame, DataTooLongForAFrameGiveNothingToSend)
{
    EXPECT_TRUE(writeFrame(0x0000, data(29, 0)).empty());
    EXPECT_TRUE(wireBytes(writeFrame(0x0000, data(29, 0))).empty());
    // A frame whose length byte disagrees with its size is not put on the wire.
    EXPECT_TRUE(wireBytes(Frame{5, 'R'}).empty());
}

namespace {

// Feeds bytes and returns how many frames completed.
int feedAll(ReceiveParser& parser, const Bytes& bytes)
{
    int completed = 0;
    for (auto b : bytes) {
        if (parser.feed(b))
            ++completed;
    }
    return completed;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST(ReceiveParser, FindsFramesBehindNoise)
{
    const Bytes ack = wireBytes(commandFrame(FrameLetter::acknowledge));
    struct Case {
        const char* what;
        Bytes bytes;
        int frames;
    };
    const Case cases[] = {
        {"clean frame", ack, 1},
        {"garbage first", concat({{0x00, 0x55, 0xFF, 0x13}, ack}), 1},
        {"two '<' then garbage restarts the search", concat({{0x3C, 0x3C, 0x00}, ack}), 1},
        {"garbage between second and third '<'",
            concat({{0x3C, 0x3C, 0x99, 0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x33}}), 1},
        {"'<' inside a body is data", wireBytes(versionReplyFrame(0x3C3C)), 1},
        // A fourth '<' is the length byte (60): the frame never completes.
        {"four '<'", concat({{0x3C}, ack}), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReceiveParser parser;
        EXPECT_EQ(feedAll(parser, c.bytes), c.frames);
        if (c.frames == 1) {
            EXPECT_TRUE(parser.checksumOk());
            EXPECT_EQ(parser.frame().back(), c.bytes.back());
        }
    }
}

TEST(ReceiveParser, LengthLimits)
{
    // L = 33 completes on its 33rd byte; L = 34 and L = 0 are abandoned at the 33rd byte, and
    // the parser then looks for a new preamble.
    for (int length : {1, 33, 34, 0, 60, 255}) {
        SCOPED_TRACE(length);
        ReceiveParser parser;
        feedAll(parser, {0x3C, 0x3C, 0x3C, static_cast<std::uint8_t>(length)});
        int completedAt = 0;
        for (int i = 1; i <= 33 && completedAt == 0; ++i) {
            if (parser.feed(0x11))
                completedAt = i;
        }
        if (length >= 1 && length <= 33) {
            EXPECT_EQ(completedAt, length);
            EXPECT_TRUE(parser.complete());
        } else {
            EXPECT_EQ(completedAt, 0);
            EXPECT_EQ(parser.state(), ReceiveParser::State::Abandoned);
            EXPECT_EQ(feedAll(parser, wireBytes(commandFrame('1'))), 1);
        }
    }
}

TEST(ReceiveParser, ChecksumAndCompletedFrameHandling)
{
    ReceiveParser parser;
    EXPECT_EQ(feedAll(parser, {0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x00}), 1);
    EXPECT_FALSE(parser.checksumOk());
    EXPECT_EQ(parser.letter(), '1');

    // A byte arriving before the completed frame was handled drops the frame and itself.
    ReceiveParser dropped;
    feedAll(dropped, wireBytes(commandFrame('1')));
    ASSERT_TRUE(dropped.complete());
    EXPECT_FALSE(dropped.feed(0x3C));
    EXPECT_EQ(dropped.state(), ReceiveParser::State::Idle);
}

TEST(ReceiveParser, HostileBytesNeverLeaveTheBuffer)
{
    // Random streams rich in '<' so that many frames start with arbitrary length bytes.
    std::mt19937 random(904);
    ReceiveParser parser;
    for (int i = 0; i < 200000; ++i) {
        const std::uint8_t b = random() % 3 == 0 ? 0x3C : static_cast<std::uint8_t>(random());
        if (parser.feed(b)) {
            ASSERT_EQ(parser.frame().size(), parser.length() + 1u);
            ASSERT_LE(parser.length(), 33);
            ASSERT_GE(parser.length(), 1);
            parser.reset();
        }
        ASSERT_LE(parser.frame().size(), ReceiveParser::bufferSize);
    }
}
