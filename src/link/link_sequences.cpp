// The programming, reading and version sequences: one state action per protocolStep, each frame
// sent only after the radio acknowledged or answered the previous one.

#include "link.h"

#include <algorithm>
#include <array>

#include "model/frequency.h"

namespace kq904 {

void Link::stateAction()
{
    using enum LinkState;
    switch (linkState_) {
    // Programming: every channel's record and extra record, then the settings blocks, then "D".
    case ProgramStart:
        chanAddr_ = EepromMap::firstChannelRecord;
        extAddr_ = EepromMap::firstChannelExtra;
        chanIndex_ = 0;
        sendChannelRecord();
        linkState_ = AwaitChannelRecordAck;
        break;
    case AwaitChannelRecordAck:
        if (ackFlag_) {
            ackFlag_ = false;
            sendRequest(writeFrame(extAddr_, image_.extras[chanIndex_].span()), replyTimeout);
            linkState_ = AwaitChannelExtraAck;
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;
    case AwaitChannelExtraAck:
        if (ackFlag_) {
            ackFlag_ = false;
            ++chanIndex_;
            chanAddr_ = static_cast<std::uint16_t>(chanAddr_ + EepromMap::channelRecordPitch);
            extAddr_ = static_cast<std::uint16_t>(extAddr_ + EepromMap::channelExtraPitch);
            // The count is tested only after a channel, so channel 0 always goes out; the
            // image's count is 1-99, so the index never passes the last record.
            if (chanIndex_ >= image_.channelCount()) {
                linkState_ = SendGeneralSettings;
            } else {
                sendChannelRecord();
                linkState_ = AwaitChannelRecordAck;
            }
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;
    case SendGeneralSettings:
        sendRequest(writeFrame(EepromMap::generalSettings, image_.general.span()), replyTimeout);
        linkState_ = AwaitGeneralSettingsAck;
        break;
    case AwaitGeneralSettingsAck:
        waitForAcknowledge(SendConstantBlock);
        break;
    case SendConstantBlock: {
        computeIfCounters(image_);
        std::array<std::uint8_t, kConstantBlock.size() + IfCounters::size> block;
        std::copy(kConstantBlock.begin(), kConstantBlock.end(), block.begin());
        std::copy(image_.ifCounters.bytes.begin(), image_.ifCounters.bytes.end(),
            block.begin() + kConstantBlock.size());
        sendRequest(writeFrame(EepromMap::constantBlock, block), replyTimeout);
        linkState_ = AwaitConstantBlockAck;
        break;
    }
    case AwaitConstantBlockAck:
        waitForAcknowledge(SendKillSettings);
        break;
    case SendKillSettings:
        image_.kill.set(KillSettings::marker, KillSettings::markerValue);
        sendRequest(writeFrame(EepromMap::killSettings, image_.kill.span()), replyTimeout);
        linkState_ = AwaitKillSettingsAck;
        break;
    case AwaitKillSettingsAck:
        waitForAcknowledge(SendCodeSettings);
        break;
    case SendCodeSettings:
        sendRequest(writeFrame(EepromMap::codeSettings,
                        image_.code.span().first(CodeSettings::transferred)),
            replyTimeout);
        linkState_ = AwaitCodeSettingsAck;
        break;
    case AwaitCodeSettingsAck:
        waitForAcknowledge(SendIdSettings);
        break;
    case SendIdSettings:
        sendRequest(writeFrame(EepromMap::idSettings, image_.id.span()), replyTimeout);
        linkState_ = AwaitIdSettingsAck;
        break;
    case AwaitIdSettingsAck:
        waitForAcknowledge(SendEndOfProgramming);
        break;
    case SendEndOfProgramming:
        sendRequest(commandFrame(FrameLetter::endOfProgramming), endOfProgrammingTimeout);
        linkState_ = AwaitEndOfProgrammingAck;
        break;
    case AwaitEndOfProgrammingAck:
        if (ackFlag_) {
            ackFlag_ = false;
            endSequence(Programmed);
            report(LinkOutcome::ProgrammingOk);
        } else if (seqCountdown_ == 0) {
            programmingFailed(timeoutCause());
        }
        break;

    // Reading: the three settings blocks, then the channels below the count just read.
    case ReadStart:
    case ReadFromVersion:
        beginReading();
        break;
    case StoreGeneralSettings:
        copyReadData(staged_.general.span());
        clampStagedChannelCount();
        sendReadRequest(EepromMap::codeSettings, CodeSettings::transferred);
        linkState_ = AwaitCodeSettings;
        break;
    case StoreCodeSettings:
        copyReadData(staged_.code.span().first(CodeSettings::transferred));
        clampStagedChannelCount();
        sendReadRequest(EepromMap::idSettings, IdSettings::size);
        linkState_ = AwaitIdSettings;
        break;
    case StoreIdSettings:
        copyReadData(staged_.id.span());
        clampStagedChannelCount();
        chanAddr_ = EepromMap::firstChannelRecord;
        extAddr_ = EepromMap::firstChannelExtra;
        chanIndex_ = 0;
        readNextChannelOrFinish();
        break;
    case StoreChannelRecord:
        copyReadData(staged_.channels[chanIndex_].span());
        chanAddr_ = static_cast<std::uint16_t>(chanAddr_ + EepromMap::channelRecordPitch);
        sendReadRequest(extAddr_, ChannelExtra::size);
        linkState_ = AwaitChannelExtra;
        break;
    case StoreChannelExtra:
        copyReadData(staged_.extras[chanIndex_].span());
        ++chanIndex_;
        extAddr_ = static_cast<std::uint16_t>(extAddr_ + EepromMap::channelExtraPitch);
        readNextChannelOrFinish();
        break;
    case AwaitVersion:
    case AwaitGeneralSettings:
    case AwaitCodeSettings:
    case AwaitIdSettings:
    case AwaitChannelRecord:
    case AwaitChannelExtra:
        // The state moves on only through the reply; here only the timeout is watched.
        if (seqCountdown_ == 0)
            readingFailed(timeoutCause());
        break;

    case VersionRequest:
        sendRequest(commandFrame(FrameLetter::versionRequest), replyTimeout);
        versionWord_ = 0;
        linkState_ = AwaitVersion;
        break;

    case Idle:
    case Failed:
    case Programmed:
    case ReadDone:
        break; // nothing to send
    }
}

void Link::sendChannelRecord()
{
    updateBandBits(image_, chanIndex_);
    sendRequest(writeFrame(chanAddr_, image_.channels[chanIndex_].span()), replyTimeout);
}

void Link::waitForAcknowledge(LinkState next)
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
    endSequence(LinkState::Failed);
    report(LinkOutcome::ProgrammingFail);
}

void Link::transportLost()
{
    if (isProgramming(linkState_))
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
    linkState_ = LinkState::AwaitGeneralSettings;
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
        linkState_ = LinkState::AwaitChannelRecord;
    } else {
        readingFinished();
    }
}

void Link::readingFinished()
{
    commitReading();
    endSequence(LinkState::ReadDone);
    refresh();
    report(LinkOutcome::ReadOk);
}

void Link::readingFailed(FailureCause cause)
{
    // Nothing read is kept: the image stays as it was before the reading started.
    failure_ = failureNow(cause);
    endSequence(LinkState::Failed);
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
