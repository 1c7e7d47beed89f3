#include "link/verify.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/frame.h"

namespace kq904 {

namespace {

EepromBlock block(std::uint16_t address, std::span<const std::uint8_t> bytes)
{
    return {address, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

} // namespace

std::vector<EepromBlock> programmedBlocks(const RadioImage& image)
{
    std::vector<EepromBlock> blocks;
    // Channel 0 always goes out; the count is tested after each channel's two records.
    const int channels = std::max(1, image.channelCount());
    for (int n = 0; n < channels; ++n) {
        const auto i = static_cast<std::size_t>(n);
        blocks.push_back(block(EepromMap::channelRecord(n), image.channels[i].span()));
        blocks.push_back(block(EepromMap::channelExtra(n), image.extras[i].span()));
    }
    blocks.push_back(block(EepromMap::generalSettings, image.general.span()));
    EepromBlock constant = block(EepromMap::constantBlock, kConstantBlock);
    constant.bytes.insert(
        constant.bytes.end(), image.ifCounters.bytes.begin(), image.ifCounters.bytes.end());
    blocks.push_back(std::move(constant));
    blocks.push_back(block(EepromMap::killSettings, image.kill.span()));
    blocks.push_back(
        block(EepromMap::codeSettings, image.code.span().first(CodeSettings::transferred)));
    blocks.push_back(block(EepromMap::idSettings, image.id.span()));
    return blocks;
}

std::string differenceText(const VerifyDifference& difference)
{
    char text[40];
    std::snprintf(text, sizeof text, "0x%04X: wrote %02X, read %02X", difference.address,
        difference.wrote, difference.read);
    return text;
}

VerifyRun::VerifyRun(ByteTransport& transport, const std::vector<EepromBlock>& blocks)
    : transport_(transport)
{
    // A read reply carries at most maxReadData bytes, so longer blocks are read in pieces.
    constexpr std::size_t piece = FrameFormat::maxReadData;
    for (const EepromBlock& b : blocks) {
        for (std::size_t offset = 0; offset < b.bytes.size(); offset += piece) {
            const std::size_t n = std::min(piece, b.bytes.size() - offset);
            const auto first = b.bytes.begin() + static_cast<long>(offset);
            chunks_.push_back({static_cast<std::uint16_t>(b.address + offset),
                std::vector<std::uint8_t>(first, first + static_cast<long>(n))});
        }
    }
    if (chunks_.empty())
        status_ = VerifyStatus::Ok;
}

int VerifyRun::progressPercent() const
{
    if (chunks_.empty())
        return 100;
    return static_cast<int>(next_ * 100 / chunks_.size());
}

void VerifyRun::tick()
{
    if (finished())
        return;
    if (countdown_ != 0)
        --countdown_;
    if (settle_ != 0) {
        --settle_;
        // Whatever the radio still sends from the programming is not an answer to a read.
        std::array<std::uint8_t, pumpLimit> discard;
        (void)transport_.readAvailable(discard);
        return;
    }
    pump();
    if (finished())
        return;
    if (awaiting_ && countdown_ == 0)
        retryOrGiveUp();
    if (!awaiting_ && !finished())
        sendRequest();
}

void VerifyRun::bytesArrived()
{
    if (!finished() && settle_ == 0)
        pump();
}

void VerifyRun::pump()
{
    std::array<std::uint8_t, pumpLimit> chunk;
    const std::size_t n = std::min(transport_.readAvailable(chunk), chunk.size());
    for (std::size_t i = 0; i < n && !finished(); ++i) {
        if (parser_.feed(chunk[i]))
            takeFrame();
    }
}

void VerifyRun::takeFrame()
{
    const bool checksumOk = parser_.checksumOk();
    const std::uint8_t letter = parser_.letter();
    const int data = parser_.length() - FrameFormat::readReplyOverhead;
    std::array<std::uint8_t, ReceiveParser::bufferSize> rx = parser_.rxBuffer();
    parser_.reset();
    if (!awaiting_)
        return; // nothing was asked: not an answer
    if (!checksumOk) {
        // As the link does: a corrupted frame is refused, and the read is asked again.
        sendFrame(commandFrame(FrameLetter::negative));
        retryOrGiveUp();
        return;
    }
    if (letter == FrameLetter::negative) {
        retryOrGiveUp();
        return;
    }
    if (letter != FrameLetter::readReply)
        return; // an acknowledge or anything else answers no read
    const Chunk& asked = chunks_[next_];
    if (data < static_cast<int>(asked.expected.size())) {
        retryOrGiveUp();
        return;
    }
    compare(rx.data() + FrameFormat::readReplyOverhead);
    awaiting_ = false;
    attempts_ = 0;
    if (++next_ == chunks_.size())
        finish();
    else
        sendRequest();
}

void VerifyRun::sendRequest()
{
    const Chunk& chunk = chunks_[next_];
    const Frame frame = readFrame(chunk.address, static_cast<std::uint8_t>(chunk.expected.size()));
    sendFrame(frame);
    ++readsSent_;
    ++attempts_;
    awaiting_ = true;
    countdown_ = replyTimeout;
}

void VerifyRun::sendFrame(const std::vector<std::uint8_t>& frame)
{
    for (const std::uint8_t b : wireBytes(frame))
        (void)transport_.writeByte(b); // a byte that does not get out shows as a missing reply
}

void VerifyRun::retryOrGiveUp()
{
    awaiting_ = false;
    if (attempts_ < attemptsPerRead)
        return; // the next tick asks again
    unansweredAddress_ = chunks_[next_].address;
    unansweredCount_ = static_cast<int>(chunks_[next_].expected.size());
    status_ = VerifyStatus::NoAnswer;
}

void VerifyRun::compare(const std::uint8_t* data)
{
    const Chunk& chunk = chunks_[next_];
    for (std::size_t i = 0; i < chunk.expected.size(); ++i) {
        if (data[i] != chunk.expected[i])
            differences_.push_back(
                {static_cast<std::uint16_t>(chunk.address + i), chunk.expected[i], data[i]});
    }
    bytesCompared_ += static_cast<int>(chunk.expected.size());
}

void VerifyRun::finish()
{
    status_ = differences_.empty() ? VerifyStatus::Ok : VerifyStatus::Mismatch;
}

} // namespace kq904
