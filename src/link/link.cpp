#include "link.h"

#include <algorithm>
#include <array>
#include <string>

namespace kq904 {

namespace {

void countDown(std::uint16_t& countdown)
{
    if (countdown != 0)
        --countdown;
}

// The state a read reply moves a waiting state on to, whose step copies the data; Idle for a
// state that awaits no read reply.
LinkState storingStateAfter(LinkState waiting)
{
    switch (waiting) {
    case LinkState::AwaitGeneralSettings:
        return LinkState::StoreGeneralSettings;
    case LinkState::AwaitCodeSettings:
        return LinkState::StoreCodeSettings;
    case LinkState::AwaitIdSettings:
        return LinkState::StoreIdSettings;
    case LinkState::AwaitChannelRecord:
        return LinkState::StoreChannelRecord;
    case LinkState::AwaitChannelExtra:
        return LinkState::StoreChannelExtra;
    default:
        return LinkState::Idle;
    }
}

} // namespace

Link::Link(RadioImage& image, ByteTransport& transport, LinkObserver* observer)
    : image_(image)
    , transport_(transport)
    , observer_(observer)
{ }

Result Link::startProgramming()
{
    return start(LinkState::ProgramStart);
}

Result Link::startReading()
{
    return start(LinkState::ReadStart);
}

Result Link::requestVersion()
{
    Result result = start(LinkState::VersionRequest);
    if (result)
        chanIndex_ = 0;
    return result;
}

Result Link::start(LinkState startState)
{
    // Taking over a running sequence would leave the radio half-programmed, or mix what was
    // read with what was being written, under an outcome that looks like success.
    if (busy())
        return Result::failure(busyText());
    if (!transport_.isOpen()) {
        // The radio needs a moment after the line comes up. Armed before the open, whether or
        // not it succeeds: nothing runs on a closed port, so a failed open leaves no trace.
        startDelay_ = startDelayTicks;
        if (!transport_.open())
            return Result::failure(std::string(kComPortFail));
    }
    readingStaged_ = false;
    request_ = {};
    framesSent_ = 0;
    readingFirstFrame_ = 0;
    failure_.reset();
    linkState_ = startState;
    if (observer_)
        observer_->busyChanged(true);
    protocolStep();
    return Result::success();
}

void Link::returnToIdle()
{
    const bool wasBusy = busy();
    linkState_ = LinkState::Idle;
    readingStaged_ = false;
    if (wasBusy && observer_)
        observer_->busyChanged(false);
}

void Link::endSequence(LinkState endState)
{
    linkState_ = endState;
    if (observer_)
        observer_->busyChanged(false);
}

bool Link::busy() const
{
    return isProgramming(linkState_) || isReading(linkState_)
        || linkState_ == LinkState::VersionRequest;
}

std::string Link::busyText() const
{
    if (!busy())
        return {};
    const LinkState s = linkState_;
    const char* what = isProgramming(s) ? "A programming of the radio"
        : s == LinkState::VersionRequest || s == LinkState::AwaitVersion
        ? "A version request to the radio"
        : "A reading of the radio";
    return std::string(what) + " is under way: wait for its outcome";
}

void Link::tick()
{
    countDown(seqCountdown_);
    countDown(activityCountdown_);
    countDown(startDelay_);
    protocolStep();
    receivePump();
}

void Link::bytesArrived()
{
    // The countdowns stay on the ticks. A request sent between two ticks loses part of a tick
    // of its timeout, but its answer is taken in the moment it comes, where the paced link
    // takes it only at a tick: the radio still has at least the 2985 ms it has there.
    if (fast_)
        receivePump(); // the paced link takes bytes in on the tick only
}

void Link::runStepsAfterReply()
{
    // The longest run of steps without a frame is two (AwaitChannelExtraAck ->
    // SendGeneralSettings -> send, AwaitGeneralSettingsAck -> SendConstantBlock -> send); the
    // bound only guards against a state that keeps changing without ever sending.
    constexpr int kMaxSteps = 4;
    for (int i = 0; i < kMaxSteps && busy(); ++i) {
        const LinkState state = linkState_;
        const int sent = framesSent_;
        protocolStep();
        if (framesSent_ != sent || linkState_ == state)
            return;
    }
}

void Link::protocolStep()
{
    if (!transport_.isOpen()) {
        // The port only closes under a running sequence when its device went away (cable
        // pulled, adapter unplugged). No reply can come any more and the timeouts would never
        // run with the port closed, so the sequence ends as failed now.
        if (busy())
            transportLost();
        return;
    }
    if (startDelay_ != 0)
        return;
    stateAction();
    replyHandling();
}

void Link::receivePump()
{
    if (transport_.isOpen()) {
        std::array<std::uint8_t, pumpLimit> chunk;
        const std::size_t n = std::min(transport_.readAvailable(chunk), chunk.size());
        received_.insert(received_.end(), chunk.begin(), chunk.begin() + static_cast<long>(n));
    }
    const unsigned taken = framesTaken_;
    while (!received_.empty()) {
        const std::uint8_t byte = received_.front();
        received_.pop_front();
        receiveByte(byte);
    }
    // Everything that came is taken in first, as the paced link does before its next tick: a
    // second frame right behind a reply is then handled before the next request, never
    // mistaken for its answer.
    if (fast_ && framesTaken_ != taken)
        runStepsAfterReply();
}

void Link::receiveByte(std::uint8_t byte)
{
    activityCountdown_ = activityTimeout;
    if (parser_.feed(byte)) {
        ++framesTaken_;
        protocolStep();
    }
}

void Link::sendFrame(std::span<const std::uint8_t> frame)
{
    if (frame.empty() || frame[0] == 0)
        return;
    const std::size_t length = std::min<std::size_t>(frame[0], frame.size());
    const auto lengthAndBody = frame.first(length);
    for (int i = 0; i < FrameFormat::preambleLength; ++i)
        sendByte(FrameFormat::preambleByte);
    for (const std::uint8_t b : lengthAndBody)
        sendByte(b);
    sendByte(xorChecksum(lengthAndBody));
}

void Link::sendByte(std::uint8_t byte)
{
    activityCountdown_ = activityTimeout;
    // A byte that does not get out shows up as a missing reply.
    (void)transport_.writeByte(byte);
}

void Link::sendRequest(const Frame& frame, std::uint16_t timeout)
{
    // Only a reply that arrives after this request may answer it. A stray "1" taken in earlier
    // would otherwise move every later frame one acknowledge ahead of the radio, up to reporting
    // "Programming OK" before the radio confirmed the end of programming. A frame that completed
    // before the request (held back by the start delay, or right behind another one) is taken
    // in first, so it cannot pass for the answer either.
    if (parser_.complete())
        replyHandling();
    ackFlag_ = false;
    request_ = {};
    request_.number = ++framesSent_;
    request_.letter = frame.size() > 1 ? frame[1] : 0;
    if ((request_.letter == FrameLetter::write || request_.letter == FrameLetter::read)
        && frame.size() > 3)
        request_.address = static_cast<std::uint16_t>(frame[2] << 8 | frame[3]);
    request_.timeout = timeout;
    sendFrame(frame);
    seqCountdown_ = timeout;
}

void Link::replyHandling()
{
    if (activityCountdown_ == 0) {
        // Nothing sent or received for 3 s: whatever was half received is stale.
        parser_.reset();
        return;
    }
    if (!parser_.complete())
        return;
    if (!parser_.checksumOk()) {
        sendFrame(commandFrame(FrameLetter::negative));
        request_.garbled = true;
        parser_.reset();
        return;
    }
    switch (parser_.letter()) {
    case FrameLetter::acknowledge:
        ackFlag_ = true;
        break;
    case FrameLetter::negative:
        // Changes nothing: the sequence still fails at its timeout, but it can then say why.
        request_.refused = true;
        break;
    case FrameLetter::startReading:
        if (linkState_ == LinkState::AwaitVersion)
            linkState_ = LinkState::ReadFromVersion;
        break;
    case FrameLetter::versionReply:
        // Letter, two version bytes, checksum; a shorter reply carries no version.
        if (parser_.length() >= 4) {
            const auto& rx = parser_.rxBuffer();
            versionWord_ = static_cast<std::uint16_t>(rx[2] * 256 + rx[3]);
            if (linkState_ == LinkState::AwaitVersion) {
                chanIndex_ = static_cast<std::uint8_t>(image_.channelCount());
                endSequence(LinkState::ReadDone);
                if (observer_)
                    observer_->versionReceived();
            }
        }
        break;
    case FrameLetter::readReply:
        if (storingStateAfter(linkState_) != LinkState::Idle)
            acceptReadReply();
        break;
    default:
        break;
    }
    parser_.reset();
}

void Link::acceptReadReply()
{
    // A reply with fewer data bytes than asked for is not taken: the reading then fails at its
    // timeout instead of storing bytes left in the buffer by an earlier frame.
    const int data = parser_.length() - FrameFormat::readReplyOverhead;
    if (data < requestedReadLength_) {
        request_.shortened = true;
        return;
    }
    // The data are taken out now: a frame arriving before the next step would overwrite the
    // receive buffer.
    const auto& rx = parser_.rxBuffer();
    std::copy_n(
        rx.begin() + FrameFormat::readReplyOverhead, requestedReadLength_, readData_.begin());
    linkState_ = storingStateAfter(linkState_);
}

int Link::transferChannelCount() const
{
    return readingStaged_ ? stagedChannelCount() : image_.channelCount();
}

int Link::progressPercent() const
{
    const int count = std::max(1, transferChannelCount());
    return std::min(100, chanIndex_ * 100 / count);
}

FailureCause Link::timeoutCause() const
{
    // What came back in place of the answer, the most telling first.
    if (request_.refused)
        return FailureCause::Refused;
    if (request_.garbled)
        return FailureCause::Garbled;
    if (request_.shortened)
        return FailureCause::ShortReply;
    return FailureCause::NoAnswer;
}

int Link::sequenceFrameCount() const
{
    const LinkState s = linkState_;
    if (isProgramming(s))
        return 2 * image_.channelCount() + 6; // record and extra per channel, five blocks, "D"
    if (s == LinkState::VersionRequest || s == LinkState::AwaitVersion)
        return 1;
    // A reading knows how many channels it fetches once the general settings are in.
    if (s > LinkState::StoreGeneralSettings && isReading(s))
        return readingFirstFrame_ + 3 + 2 * stagedChannelCount();
    return 0;
}

TransferFailure Link::failureNow(FailureCause cause) const
{
    TransferFailure failure;
    failure.cause = cause;
    failure.frame = request_.number;
    failure.frameCount = sequenceFrameCount();
    failure.letter = request_.letter;
    failure.address = request_.address;
    failure.waitedMs = request_.timeout * tickMs;
    return failure;
}

void Link::report(LinkOutcome outcome)
{
    if (observer_)
        observer_->transferEnded(outcome);
}

void Link::refresh()
{
    if (observer_)
        observer_->refreshRequested();
}

} // namespace kq904
