#include "simulated_radio.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "link/frame.h"
#include "model/file_io.h"

namespace kq904 {

namespace {

// A frame broken off by this much silence is dropped, as the program's own receiver does.
constexpr std::int64_t kSilenceResetMs = 3000;

bool contains(const std::vector<FaultKind>& faults, FaultKind kind)
{
    return std::find(faults.begin(), faults.end(), kind) != faults.end();
}

} // namespace

std::uint16_t ReceivedFrame::address() const
{
    return frame.size() > 3 ? static_cast<std::uint16_t>(frame[2] << 8 | frame[3]) : 0;
}

std::uint8_t ReceivedFrame::count() const
{
    return frame.size() > 4 ? frame[4] : 0;
}

std::span<const std::uint8_t> ReceivedFrame::data() const
{
    // Length byte, "W", address, count, then the data; the checksum is the last byte.
    constexpr std::size_t dataStart = 5;
    if (frame.size() <= dataStart + 1)
        return {};
    const std::size_t available = frame.size() - dataStart - 1;
    return std::span(frame).subspan(dataStart, std::min<std::size_t>(count(), available));
}

SimulatedRadio::SimulatedRadio()
{
    eeprom_.fill(0xFF);
}

Result SimulatedRadio::loadEeprom(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != eepromSize)
        return Result::failure(
            "an EEPROM image must be 2048 bytes, this one has " + std::to_string(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), eeprom_.begin());
    return Result::success();
}

Result SimulatedRadio::loadEepromFile(const std::filesystem::path& path)
{
    // One byte more than an image holds, to tell a long file from a good one.
    const FileHead head = readFileHead(path, eepromSize + 1);
    if (!head.result)
        return head.result;
    Result loaded = loadEeprom(head.bytes);
    if (!loaded)
        return Result::failure(pathText(path) + ": " + loaded.error);
    return loaded;
}

Result SimulatedRadio::saveEepromFile(const std::filesystem::path& path) const
{
    return writeFileAtomically(path, eeprom_);
}

void SimulatedRadio::receive(std::uint8_t byte, std::int64_t nowMs)
{
    if (offCableUntil_) {
        if (nowMs < *offCableUntil_)
            return; // no radio on the cable: the bytes reach nothing
        // The next radio, fresh from the line: blank, and hearing its first byte.
        offCableUntil_.reset();
        eeprom_.fill(0xFF);
        parser_.reset();
        ++radiosSwapped_;
    }
    if (nowMs - lastByteMs_ > kSilenceResetMs)
        parser_.reset();
    lastByteMs_ = nowMs;
    if (parser_.feed(byte)) {
        handleFrame(nowMs);
        parser_.reset();
    }
}

void SimulatedRadio::receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs)
{
    for (const std::uint8_t b : bytes)
        receive(b, nowMs);
}

void SimulatedRadio::handleFrame(std::int64_t nowMs)
{
    ReceivedFrame received;
    received.number = ++frameCount_;
    received.atMs = nowMs;
    const auto frame = parser_.frame();
    received.frame.assign(frame.begin(), frame.end());
    received.checksumOk = parser_.checksumOk();
    // Drawn for every frame, silent or not, so a seed picks the same frames whatever else the
    // plan holds.
    received.faults = faults_.faultsFor(received.number);

    if (swapDue_ && received.checksumOk && received.letter() == FrameLetter::versionRequest) {
        // The station asks whether the radio is still there: it is being taken away.
        swapDue_ = false;
        offCableUntil_ = nowMs + swapOffCableMs_;
        received.takenOffCable = true;
    } else if (!faults_.silentAt(received.number)) {
        const auto& faults = received.faults;
        const bool refuse = contains(faults, FaultKind::NegativeAck);
        std::vector<std::uint8_t> reply = answer(received, refuse);
        if (contains(faults, FaultKind::NoAnswer))
            reply.clear();
        if (!reply.empty() && contains(faults, FaultKind::CorruptChecksum))
            reply.back() ^= 0x5A;
        if (!reply.empty() && contains(faults, FaultKind::NoiseBeforeReply)) {
            const auto& noise = faults_.settings().noise;
            reply.insert(reply.begin(), noise.begin(), noise.end());
        }
        std::int64_t due = nowMs + latencyMs_;
        if (contains(faults, FaultKind::DelayedReply))
            due += faults_.settings().delayMs;
        queue(reply, due);
        received.reply = std::move(reply);
    }

    if (listener_)
        listener_(received);
    if (recording_)
        recorded_.push_back(std::move(received));
}

std::vector<std::uint8_t> SimulatedRadio::answer(const ReceivedFrame& received, bool refuse)
{
    if (!received.checksumOk)
        return wireBytes(commandFrame(FrameLetter::negative));
    switch (received.letter()) {
    case FrameLetter::write:
        if (refuse)
            return wireBytes(commandFrame(FrameLetter::negative));
        return answerWrite(received);
    case FrameLetter::read:
        return answerRead(received, contains(received.faults, FaultKind::ShortReadReply));
    case FrameLetter::endOfProgramming:
        if (refuse)
            return wireBytes(commandFrame(FrameLetter::negative));
        ++programmingEnds_;
        swapDue_ = swapOffCableMs_ > 0;
        return wireBytes(commandFrame(FrameLetter::acknowledge));
    case FrameLetter::versionRequest:
        if (contains(received.faults, FaultKind::TwoInsteadOfVersion))
            return wireBytes(commandFrame(FrameLetter::startReading));
        return wireBytes(versionReplyFrame(version_));
    default:
        // The program's "0" and anything unknown: the radio keeps quiet.
        return {};
    }
}

std::vector<std::uint8_t> SimulatedRadio::answerWrite(const ReceivedFrame& received)
{
    const std::size_t length = received.frame[0];
    const std::size_t count = received.count();
    const std::size_t address = received.address();
    if (length != count + FrameFormat::writeOverhead || address + count > eepromSize)
        return wireBytes(commandFrame(FrameLetter::negative));
    const auto data = received.data();
    std::copy(data.begin(), data.end(), eeprom_.begin() + static_cast<long>(address));
    if (corruptedCell_ && *corruptedCell_ >= address && *corruptedCell_ < address + data.size())
        eeprom_[*corruptedCell_] ^= 0x01;
    return wireBytes(commandFrame(FrameLetter::acknowledge));
}

std::vector<std::uint8_t> SimulatedRadio::answerRead(const ReceivedFrame& received, bool shortReply)
{
    const std::size_t count = received.count();
    const std::size_t address = received.address();
    if (received.frame[0] != 5 || count > FrameFormat::maxReadData || address + count > eepromSize)
        return wireBytes(commandFrame(FrameLetter::negative));
    std::size_t sent = count;
    if (shortReply)
        sent -= std::min<std::size_t>(
            sent, static_cast<std::size_t>(std::max(0, faults_.settings().shortBy)));
    // The three bytes ahead of the data are the radio's own: it echoes the request.
    const std::array<std::uint8_t, 3> head = {
        received.frame[2], received.frame[3], static_cast<std::uint8_t>(count)};
    const auto data = std::span<const std::uint8_t>(eeprom_).subspan(address, sent);
    return wireBytes(readReplyFrame(head, data));
}

void SimulatedRadio::queue(std::span<const std::uint8_t> bytes, std::int64_t dueMs)
{
    // One serial line: a late reply holds back everything behind it.
    if (!pending_.empty())
        dueMs = std::max(dueMs, pending_.back().dueMs);
    for (const std::uint8_t b : bytes)
        pending_.push_back({dueMs, b});
}

std::size_t SimulatedRadio::takeDue(std::int64_t nowMs, std::span<std::uint8_t> out)
{
    std::size_t n = 0;
    while (n < out.size() && !pending_.empty() && pending_.front().dueMs <= nowMs) {
        out[n++] = pending_.front().byte;
        pending_.pop_front();
    }
    return n;
}

std::vector<std::uint8_t> SimulatedRadio::takeDue(std::int64_t nowMs)
{
    std::vector<std::uint8_t> out;
    while (!pending_.empty() && pending_.front().dueMs <= nowMs) {
        out.push_back(pending_.front().byte);
        pending_.pop_front();
    }
    return out;
}

bool SimulatedRadio::nextDue(std::int64_t& dueMs) const
{
    if (pending_.empty())
        return false;
    dueMs = pending_.front().dueMs;
    return true;
}

} // namespace kq904
