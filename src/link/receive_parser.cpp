#include "receive_parser.h"

namespace kq904 {

namespace {

constexpr std::uint8_t kPreambleByte = 0x3C;
constexpr int kPreambleLength = 3;
// Body bytes after which a frame that has not completed is given up.
constexpr std::uint8_t kBodyLimit = 32;

} // namespace

bool ReceiveParser::feed(std::uint8_t byte)
{
    switch (state_) {
    case State::Preamble:
        break;
    case State::Length:
        length_ = byte;
        position_ = 0;
        store(byte);
        count_ = 0;
        check_ = byte;
        state_ = State::Body;
        return false;
    case State::Body:
        check_ ^= byte;
        store(byte);
        ++count_;
        if (count_ == length_) {
            state_ = State::Complete;
            return true;
        }
        if (count_ > kBodyLimit)
            state_ = State::Abandoned;
        return false;
    case State::Complete:
        // The completed frame was not handled before more bytes came: it is dropped with them.
        state_ = State::Idle;
        return false;
    default: // Idle, Abandoned
        count_ = 0;
        state_ = State::Preamble;
        break;
    }

    if (byte != kPreambleByte) {
        state_ = State::Idle;
        return false;
    }
    if (++count_ == kPreambleLength)
        state_ = State::Length;
    return false;
}

void ReceiveParser::store(std::uint8_t byte)
{
    // The body limit keeps position_ below bufferSize; the test keeps it so for any input.
    if (position_ < buffer_.size())
        buffer_[position_++] = byte;
}

std::span<const std::uint8_t> ReceiveParser::frame() const
{
    return std::span(buffer_).first(position_);
}

} // namespace kq904
