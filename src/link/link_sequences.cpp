// The programming, reading and version sequences: one state action per protocolStep, each frame
// sent only after the radio acknowledged or answered the previous one.

#include "link.h"

#include <algorithm>
#include <array>

#include "model/frequency.h"

namespace kq904 {

namespace {

constexpr std::uint16_t kFirstChannelRecord = EepromMap::channelRecord(0);
constexpr std::uint16_t kFirstChannelExtra = EepromMap::channelExtra(0);
constexpr std::uint16_t kChannelRecordPitch = 12; // 9 bytes used of each 12-byte slot

} // namespace

void Link::stateAction()
{
    switch (linkState_) {
    // Programming: every channel's record and extra record, then the settings blocks, then "D".
    case 1:
        chanAddr_ = kFirstChannelRecord;
        extAddr_ = kFirstChannelExtra;
        chanIndex_ = 0;
        sendChannelRecord();
        linkState_ = 3;
        break;
    case 3:
        if (ackFlag_) {
            ackFlag_ = false;
            sendRequest(writeFrame(extAddr_, image_.extras[chanIndex_].span()), replyTimeout);
            linkState_ = 5;
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;
    case 5:
        if (ackFlag_) {
            ackFlag_ = false;
            ++chanIndex_;
            chanAddr_ = static_cast<std::uint16_t>(chanAddr_ + kChannelRecordPitch);
            extAddr_ = static_cast<std::uint16_t>(extAddr_ + ChannelExtra::size);
            // The count is tested only after a channel, so channel 0 always goes out; the
            // image's count is 1-99, so the index never passes the last record.
            if (chanIndex_ >= image_.channelCount()) {
                linkState_ = 6;
            } else {
                sendChannelRecord();
                linkState_ = 3;
            }
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;
    case 6:
        sendRequest(writeFrame(EepromMap::generalSettings, image_.general.span()), replyTimeout);
        linkState_ = 7;
        break;
    case 8: {
        computeIfCounters(image_);
        std::array<std::uint8_t, kConstantBlock.size() + IfCounters::size> block;
        std::copy(kConstantBlock.begin(), kConstantBlock.end(), block.begin());
        std::copy(image_.ifCounters.bytes.begin(), image_.ifCounters.bytes.end(),
            block.begin() + kConstantBlock.size());
        sendRequest(writeFrame(EepromMap::constantBlock, block), replyTimeout);
        linkState_ = 9;
        break;
    }
    case 10:
        image_.kill.set(KillSettings::marker, KillSettings::markerValue);
        sendRequest(writeFrame(EepromMap::killSettings, image_.kill.span()), replyTimeout);
        linkState_ = 11;
        break;
    case 12:
        sendRequest(writeFrame(EepromMap::codeSettings,
                        image_.code.span().first(CodeSettings::transferred)),
            replyTimeout);
        linkState_ = 13;
        break;
    case 14:
        sendRequest(writeFrame(EepromMap::idSettings, image_.id.span()), replyTimeout);
        linkState_ = 15;
        break;
    case 16:
        sendRequest(commandFrame(FrameLetter::endOfProgramming), endOfProgrammingTimeout);
        linkState_ = 17;
        break;
    case 7:
    case 9:
    case 11:
    case 13:
    case 15:
        waitForAcknowledge(static_cast<std::uint8_t>(linkState_ + 1));
        break;
    case 17:
        if (ackFlag_) {
            ackFlag_ = false;
            endSequence(LinkStates::programmed);
            report(LinkOutcome::ProgrammingOk);
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;

    // Reading: the three settings blocks, then the channels below the count just read.
    case LinkStates::readStart:
    case LinkStates::readFromVersion:
        beginReading();
        break;
    case 26:
        copyReadData(staged_.general.span());
        clampStagedChannelCount();
        sendReadRequest(EepromMap::codeSettings, CodeSettings::transferred);
        linkState_ = 27;
        break;
    case 28:
        copyReadData(staged_.code.span().first(CodeSettings::transferred));
        clampStagedChannelCount();
        sendReadRequest(EepromMap::idSettings, IdSettings::size);
        linkState_ = 29;
        break;
    case 30:
        copyReadData(staged_.id.span());
        clampStagedChannelCount();
        chanAddr_ = kFirstChannelRecord;
        extAddr_ = kFirstChannelExtra;
        chanIndex_ = 0;
        readNextChannelOrFinish();
        break;
    case 32:
        copyReadData(staged_.channels[chanIndex_].span());
        chanAddr_ = static_cast<std::uint16_t>(chanAddr_ + kChannelRecordPitch);
        sendReadRequest(extAddr_, ChannelExtra::size);
        linkState_ = 33;
        break;
    case 34:
        copyReadData(staged_.extras[chanIndex_].span());
        ++chanIndex_;
        extAddr_ = static_cast<std::uint16_t>(extAddr_ + ChannelExtra::size);
        readNextChannelOrFinish();
        break;
    case LinkStates::versionWait:
    case 25:
    case 27:
    case 29:
    case 31:
    case 33:
        // The state moves on only through the reply; here only the timeout is watched.
        if (seqCountdown_ == 0)
            readingFailed(timeoutCause());
        break;

    case LinkStates::versionRequest:
        sendRequest(commandFrame(FrameLetter::versionRequest), replyTimeout);
        versionWord_ = 0;
        linkState_ = LinkStates::versionWait;
        break;

    default: // idle, failed, programmed, read done: nothing to send
        break;
    }
}

void Link::sendChannelRecord()
{
    updateBandBits(image_, chanIndex_);
    sendRequest(writeFrame(chanAddr_, image_.channels[chanIndex_].span()), replyTimeout);
}

void Link::waitForAcknowledge(std::uint8_t next)
{
    if (ackFlag_) {
        ackFlag_ = false;
        linkState_ = next;
    } else if (seqCountdown_ == 0) {
        programmingFailed(timeoutCause());
    }
}

void Link::programmingFailed(FailureCause cause)
{
    failure_ = failureNow(cause);
    endSequence(LinkStates::failed);
    report(LinkOutcome::ProgrammingFail);
}

void Link::transportLost()
{
    if (linkState_ >= LinkStates::programStart && linkState_ <= LinkStates::programEnd)
        programmingFailed(FailureCause::DeviceLost);
    else
        readingFailed(FailureCause::DeviceLost);
}

void Link::beginReading()
{
    readingFirstFrame_ = framesSent_;
    staged_ = image_;
    readingStaged_ = true;
    chanIndex_ = 0;
    sendReadRequest(EepromMap::generalSettings, GeneralSettings::size);
    linkState_ = 25;
}

void Link::sendReadRequest(std::uint16_t address, std::uint8_t count)
{
    requestedReadLength_ = count;
    sendRequest(readFrame(address, count), replyTimeout);
}

void Link::copyReadData(std::span<std::uint8_t> into)
{
    std::copy_n(readData_.begin(), std::min(into.size(), readData_.size()), into.begin());
}

void Link::clampStagedChannelCount()
{
    if (staged_.storedChannelCount() > kChannelSlots)
        staged_.setChannelCount(kChannelSlots);
}

int Link::stagedChannelCount() const
{
    return std::min(static_cast<int>(staged_.storedChannelCount()), kChannelSlots);
}

void Link::readNextChannelOrFinish()
{
    if (chanIndex_ < stagedChannelCount()) {
        sendReadRequest(chanAddr_, ChannelRecord::size);
        linkState_ = 31;
    } else {
        readingFinished();
    }
}

void Link::readingFinished()
{
    commitReading();
    endSequence(LinkStates::readDone);
    refresh();
    report(LinkOutcome::ReadOk);
}

void Link::readingFailed(FailureCause cause)
{
    // Nothing read is kept: the image stays as it was before the reading started.
    failure_ = failureNow(cause);
    endSequence(LinkStates::failed);
    readingStaged_ = false;
    refresh();
    report(LinkOutcome::ReadingFail);
}

void Link::commitReading()
{
    // Only what a reading fetches: the settings blocks (CodeSettings bytes 0-13) and the channels
    // below the count read; everything else in the image keeps its bytes.
    const int count = stagedChannelCount();
    image_.general = staged_.general;
    std::copy_n(staged_.code.bytes.begin(), CodeSettings::transferred, image_.code.bytes.begin());
    image_.id = staged_.id;
    for (int n = 0; n < count; ++n) {
        image_.channels[static_cast<std::size_t>(n)] =
            staged_.channels[static_cast<std::size_t>(n)];
        image_.extras[static_cast<std::size_t>(n)] = staged_.extras[static_cast<std::size_t>(n)];
    }
    readingStaged_ = false;
}

} // namespace kq904
