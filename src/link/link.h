#pragma once
// The radio link: the state machine that writes the radio image into a radio or reads it back,
// one acknowledged frame at a time, over a byte transport that is polled, never waited on.
//
// Time is counted in ticks (15 ms) given from outside: the main window's timer, the command-line
// tool's loop, or a test that runs a whole sequence in virtual time. Each tick decrements the
// three countdowns, runs one protocolStep and then the receive pump; a frame that completes runs
// a further protocolStep at once.
//
// Starting a transfer (startProgramming, startReading, requestVersion) opens the transport on
// first use, arming a start delay of 33 ticks so the radio settles before the first frame. The
// sequence then advances on the ticks and ends with an outcome reported to the observer. One
// transfer at a time: a start while a sequence runs is refused, so a radio is never left
// half-programmed by a reading that took its place.
//
// Outcome callbacks may run a nested event loop (a modal message box) that keeps calling tick():
// the state is set to its end value before the callback, so the nested steps only take in
// replies, and the interrupted step finishes its own reply handling once the callback returns.
//
// Fast transfer (off by default) leaves the frames, their order and contents, the outcomes, the
// start delay and the timeouts as they are, and only drops the idle time between a reply and the
// next frame: bytes are taken in the moment they arrive (bytesArrived, from the serial port's
// readyRead), and once a received frame has been handled the steps the following ticks would
// run are run at once, until one sends the next frame or the sequence waits for the radio again.
// The paced link stays the default: some radios may rely on its pace.

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "link/byte_transport.h"
#include "link/frame.h"
#include "link/link_state.h"
#include "link/receive_parser.h"
#include "link/transfer_failure.h"
#include "model/radio_image.h"
#include "model/result.h"

namespace kq904 {

class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    // The radio image changed under the listing (a reading ended, well or badly): redraw it.
    virtual void refreshRequested() = 0;
    // A programming or reading sequence ended; show outcomeText(outcome) to the user. The link
    // has set its end state (18, 19 or 41) before it calls this (the observer that takes the end
    // in, the Programming form, sets it back to idle); after a failure, Link::lastFailure() says
    // why.
    virtual void transferEnded(LinkOutcome outcome) = 0;
    // A sequence started (true) or ended (false), a version request included. While one runs,
    // nothing may start another or change the image being transferred. The end comes before
    // transferEnded and versionReceived, so whatever follows the outcome finds the link idle.
    virtual void busyChanged(bool /*busy*/) { }
    // The radio answered the version request: versionWord() holds its word, linkState is 41.
    // There is no message for it; the Programming form shows the number.
    virtual void versionReceived() { }
};

class Link {
public:
    static constexpr int tickMs = 15;
    static constexpr std::uint16_t replyTimeout = 200; // ticks, 3000 ms
    static constexpr std::uint16_t endOfProgrammingTimeout = 396; // ticks, 5940 ms
    static constexpr std::uint16_t activityTimeout = 200; // ticks of silence drop a partial frame
    static constexpr std::uint16_t startDelayTicks = 33; // 495 ms after the port opens
    static constexpr std::size_t pumpLimit = 256; // bytes taken from the transport per tick

    Link(RadioImage& image, ByteTransport& transport, LinkObserver* observer = nullptr);
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    void setObserver(LinkObserver* observer) { observer_ = observer; }

    // Start a sequence: open the transport if it is not open yet (arming the start delay), then
    // set the start state and run one step. A transport that will not open gives a failure
    // whose text is "Com Port Fail", and nothing starts. While a sequence runs, a start is
    // refused with busyText() and the running sequence goes on untouched.
    Result startProgramming();
    Result startReading();
    Result requestVersion();
    // The caller has taken in an end state (18, 19, 41): back to idle. Called while a sequence
    // runs, it abandons it (tests and the fuzzer do; the program waits for the outcome).
    void returnToIdle();

    // One 15 ms tick: countdowns, protocolStep, receivePump.
    void tick();

    // Fast transfer on or off; it applies from the next bytes taken in.
    void setFastTransfer(bool on) { fast_ = on; }
    bool fastTransfer() const { return fast_; }
    // Bytes have arrived between two ticks. With fast transfer they are taken in now and a
    // completed reply moves the sequence on at once; the paced link leaves them to the next tick.
    void bytesArrived();

    // The pieces a tick is made of, open for tests and for callers that drive them directly.
    void protocolStep();
    void receivePump();
    void receiveByte(std::uint8_t byte);
    // Sends preamble, the frame (frame[0] = L, then the body) and its checksum; nothing for L = 0.
    void sendFrame(std::span<const std::uint8_t> frame);
    void sendByte(std::uint8_t byte);

    LinkState linkState() const { return linkState_; }
    // True while a programming, reading or version sequence is under way.
    bool busy() const;
    // Why a start, or anything else that would change the image, is refused now: "A programming
    // of the radio is under way: wait for its outcome". Empty when idle.
    std::string busyText() const;
    // Why the last sequence failed; empty after a success and from each start on.
    const std::optional<TransferFailure>& lastFailure() const { return failure_; }
    bool ackFlag() const { return ackFlag_; }
    std::uint16_t versionWord() const { return versionWord_; }
    std::uint8_t chanIndex() const { return chanIndex_; }
    std::uint16_t chanAddr() const { return chanAddr_; }
    std::uint16_t extAddr() const { return extAddr_; }
    std::uint16_t seqCountdown() const { return seqCountdown_; }
    std::uint16_t activityCountdown() const { return activityCountdown_; }
    std::uint16_t startDelay() const { return startDelay_; }
    const ReceiveParser& parser() const { return parser_; }

    // The channel count the running (or last) sequence is bounded by: while a reading runs, the
    // count being read from the radio (0-99); otherwise the image's count (1-99).
    int transferChannelCount() const;
    // chanIndex as a share of transferChannelCount, 0-100.
    int progressPercent() const;

private:
    Result start(LinkState startState);
    void stateAction();
    void replyHandling();
    void acceptReadReply();

    // Programming.
    void sendChannelRecord();
    void waitForAcknowledge(LinkState next);
    void programmingFailed(FailureCause cause);
    void transportLost();
    // Reading.
    void beginReading();
    void sendReadRequest(std::uint16_t address, std::uint8_t count);
    void copyReadData(std::span<std::uint8_t> into);
    void clampStagedChannelCount();
    int stagedChannelCount() const;
    void readNextChannelOrFinish();
    void readingFinished();
    void readingFailed(FailureCause cause);
    void commitReading();

    void sendRequest(const Frame& frame, std::uint16_t timeout);
    // Fast transfer: the steps the ticks after a handled reply would run, without waiting for
    // them, up to the next frame sent or the next wait.
    void runStepsAfterReply();
    // Sets the end state (18, 19, 41) and tells the observer the link is free again.
    void endSequence(LinkState endState);
    // The failure of the frame awaiting its answer now.
    TransferFailure failureNow(FailureCause cause) const;
    FailureCause timeoutCause() const;
    int sequenceFrameCount() const;
    void report(LinkOutcome outcome);
    void refresh();

    RadioImage& image_;
    ByteTransport& transport_;
    LinkObserver* observer_;

    LinkState linkState_ = LinkState::Idle;
    bool ackFlag_ = false;
    std::uint16_t versionWord_ = 0;
    std::uint8_t chanIndex_ = 0;
    std::uint16_t chanAddr_ = 0;
    std::uint16_t extAddr_ = 0;
    std::uint16_t seqCountdown_ = 0;
    std::uint16_t activityCountdown_ = 0;
    std::uint16_t startDelay_ = 0;
    ReceiveParser parser_;

    // Reading fills a copy of the image, committed only when the reading ends well, so a failed
    // reading leaves the image as it was.
    RadioImage staged_;
    bool readingStaged_ = false;
    // Data bytes the outstanding read request asked for; a shorter reply is not taken.
    std::uint8_t requestedReadLength_ = 0;
    // The data of the last accepted read reply, copied by the following step.
    std::array<std::uint8_t, FrameFormat::maxReadData> readData_{};

    // The request awaiting its answer, and what came back for it instead, for the failure.
    struct Request {
        int number = 0; // frames sent in this sequence, this one included
        std::uint8_t letter = 0;
        std::uint16_t address = 0;
        std::uint16_t timeout = 0;
        bool refused = false; // a "0" came
        bool garbled = false; // a frame with a wrong checksum came
        bool shortened = false; // a read reply with too few data bytes came
    };
    Request request_;
    int framesSent_ = 0; // in this sequence
    int readingFirstFrame_ = 0; // frames sent before the reading began (the version request)
    std::optional<TransferFailure> failure_;

    bool fast_ = false;
    unsigned framesTaken_ = 0; // frames the parser completed (wrapping), for the fast path

    // Bytes taken from the transport but not yet parsed. A nested tick (from an outcome
    // callback) continues from here, so bytes are parsed in the order they arrived.
    std::deque<std::uint8_t> received_;
};

} // namespace kq904
