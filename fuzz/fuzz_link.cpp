// The link against a radio that may answer anything: the receive parser, the reply handling and
// the programming, reading and version sequences in every state, ticking in between.
//
// Input: three header bytes, then operations until the input ends.
//   header 0: bits 0-1 first transfer (programming, reading, version, none); bit 2 outcome
//             callbacks run nested ticks, as a modal message box does; bits 3-5 most bytes the
//             port hands over per tick (1 << n); bit 6 the port is already open; bit 7 the first
//             open fails.
//   header 1: channelCount byte of the image (any value, as a damaged image could hold).
//   header 2: prescaler flag and IF side, which the band bits and IfCounters depend on.
//   op 00nnnnnn: n + 1 raw bytes from the input arrive; one tick.
//   op 01tttkkk: the answer kind k to the last request arrives (right, "2", bad checksum, "0",
//                split over two ticks, one data byte short, twice, any letter); t + 1 ticks.
//   op 10nnnnnn: 8 n + 1 silent ticks (timeouts).
//   op 11xxxxss: start programming, reading, a version request, or go back to idle; one tick.
// Finally 420 silent ticks: every sequence must have ended by then.
// KQ904_FUZZ_TRACE=1 prints each outcome, to see how far a seed gets.
//
// Invariants: the link sends only well-formed frames, whole, inside the EEPROM; linkState is
// always one of the machine's states; an outcome is reported at most once per start, with the
// end state already set; "Programming OK" comes only after every block went out in order and
// "D" was sent; "READ OK" only after every block was requested in order; a failed reading
// leaves the image exactly as it was; programming changes nothing in the image but the band
// bits, the kill marker and IfCounters; a reading changes only what it fetches. (The parser on
// its own: fuzz_receive_parser.)
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "link/frame.h"
#include "link/link.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

struct SentFrame {
    std::uint8_t letter = 0;
    std::uint16_t address = 0;
    std::uint8_t count = 0;
    std::vector<std::uint8_t> data; // "W" only

    bool operator==(const SentFrame&) const = default;
};

class FuzzTransport : public ByteTransport {
public:
    bool open() override
    {
        if (failNextOpen) {
            failNextOpen = false;
            return false;
        }
        open_ = true;
        return true;
    }
    bool isOpen() const override { return open_; }
    bool writeByte(std::uint8_t byte) override
    {
        written.push_back(byte);
        return true;
    }
    std::size_t readAvailable(std::span<std::uint8_t> out) override
    {
        const std::size_t n = std::min({out.size(), pending.size(), perTick});
        std::copy_n(pending.begin(), n, out.begin());
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }

    bool failNextOpen = false;
    std::size_t perTick = 256;
    std::deque<std::uint8_t> pending;
    std::vector<std::uint8_t> written;

private:
    bool open_ = false;
};

bool isLinkState(std::uint8_t s)
{
    return s == 0 || s == 1 || s == 3 || s == 5 || (s >= 6 && s <= 21) || (s >= 24 && s <= 34)
        || s == 40 || s == 41;
}

// The image with everything programming may change copied from `reference`.
RadioImage withoutProgrammingMarks(RadioImage image, const RadioImage& reference)
{
    for (std::size_t n = 0; n < image.channels.size(); ++n) {
        image.channels[n].set(
            ChannelRecord::txInBand, reference.channels[n].get(ChannelRecord::txInBand));
        image.extras[n].set(
            ChannelExtra::rxInBand, reference.extras[n].get(ChannelExtra::rxInBand));
    }
    image.kill.set(KillSettings::marker, reference.kill.get(KillSettings::marker));
    image.ifCounters = reference.ifCounters;
    return image;
}

std::vector<std::uint8_t> bytesOf(
    std::span<const std::uint8_t> a, std::span<const std::uint8_t> b = {})
{
    std::vector<std::uint8_t> v(a.begin(), a.end());
    v.insert(v.end(), b.begin(), b.end());
    return v;
}

class LinkHarness : public LinkObserver {
public:
    LinkHarness(
        InputReader& input, std::uint8_t header0, std::uint8_t header1, std::uint8_t header2)
        : input_(input)
        , nestedTicks_((header0 & 0x04) != 0)
        , link_(image_, transport_, this)
    {
        image_ = patternedImage();
        image_.general.bytes[3] = header1;
        image_.general.set(GeneralSettings::prescalerFlag, (header2 & 1) != 0);
        image_.factory.set(FactorySettings::oscillatorAbove, (header2 & 2) != 0);
        transport_.perTick = std::size_t{1} << ((header0 >> 3) & 7);
        if (header0 & 0x40) {
            transport_.open();
        }
        transport_.failNextOpen = (header0 & 0x80) != 0;
        snapshot_ = image_;
        if ((header0 & 3) != 3)
            start(header0 & 3);
    }

    void run()
    {
        while (!input_.empty()) {
            const std::uint8_t op = input_.byte();
            switch (op >> 6) {
            case 0: {
                const auto raw = input_.bytes((op & 0x3F) + 1u);
                transport_.pending.insert(transport_.pending.end(), raw.begin(), raw.end());
                tick();
                break;
            }
            case 1:
                answer(op & 7);
                for (int i = 0; i <= ((op >> 3) & 7); ++i)
                    tick();
                break;
            case 2:
                for (int i = 0; i < 8 * (op & 0x3F) + 1; ++i)
                    tick();
                break;
            case 3:
                start(op & 3);
                tick();
                break;
            }
            checkAlways();
        }
        transport_.pending.clear();
        // The longest wait is 396 ticks for the answer to "D".
        for (int i = 0; i < 420; ++i)
            tick();
        checkAlways();
        FUZZ_CHECK(!link_.busy(), "every sequence ends when the radio falls silent");
    }

    // LinkObserver
    void refreshRequested() override { }
    void transferEnded(LinkOutcome outcome) override
    {
        if (trace_)
            std::fprintf(stderr, "outcome: %s\n", std::string(outcomeText(outcome)).c_str());
        FUZZ_CHECK(outcomes_ == 0, "a sequence reports one outcome");
        ++outcomes_;
        checkSentFrames();
        switch (outcome) {
        case LinkOutcome::ProgrammingOk:
            FUZZ_CHECK(link_.linkState() == LinkState::Programmed, "state 19 with Programming OK");
            FUZZ_CHECK(
                sent_ == expectedProgramming(), "Programming OK after every block and \"D\"");
            break;
        case LinkOutcome::ProgrammingFail:
            FUZZ_CHECK(link_.linkState() == LinkState::Failed, "state 18 with Programming Fail");
            break;
        case LinkOutcome::ReadingFail:
            FUZZ_CHECK(link_.linkState() == LinkState::Failed, "state 18 with Reading Fail");
            FUZZ_CHECK(image_ == snapshot_, "a failed reading leaves the image unchanged");
            break;
        case LinkOutcome::ReadOk:
            FUZZ_CHECK(link_.linkState() == LinkState::ReadDone, "state 41 with READ OK");
            checkReading();
            snapshot_ = image_;
            break;
        }
        if (nestedTicks_ && depth_ == 0) {
            ++depth_;
            for (int i = 0; i < 3; ++i)
                tick();
            --depth_;
        }
    }

private:
    Result startSequence(int kind)
    {
        return kind == 0 ? link_.startProgramming()
            : kind == 1  ? link_.startReading()
                         : link_.requestVersion();
    }

    void start(int kind)
    {
        const LinkState stateBefore = link_.linkState();
        const bool wasOpen = transport_.isOpen();
        const std::size_t writtenBefore = transport_.written.size();
        if (kind == 3) {
            link_.returnToIdle();
            return;
        }
        if (link_.busy()) {
            // The running sequence goes on untouched, and is checked as before.
            const Result refused = startSequence(kind);
            FUZZ_CHECK(!refused && refused.error == link_.busyText(),
                "a start while a sequence runs is refused");
            FUZZ_CHECK(
                link_.linkState() == stateBefore && transport_.written.size() == writtenBefore,
                "a refused start changes nothing");
            return;
        }
        checkSentFrames();
        sent_.clear();
        outcomes_ = 0;
        snapshot_ = image_;
        const Result result = startSequence(kind);
        if (!result) {
            FUZZ_CHECK(
                !wasOpen && result.error == "Com Port Fail", "only a failed open fails a start");
            FUZZ_CHECK(
                link_.linkState() == stateBefore && transport_.written.size() == writtenBefore,
                "a start on a port that will not open changes nothing");
        }
        checkAlways();
    }

    void tick()
    {
        link_.tick();
        FUZZ_CHECK(
            isLinkState(stateNumber(link_.linkState())), "linkState is a state of the machine");
        FUZZ_CHECK(link_.chanIndex() <= kChannelSlots, "chanIndex stays within the 99 channels");
        FUZZ_CHECK(link_.progressPercent() >= 0 && link_.progressPercent() <= 100,
            "progress is a percentage");
        checkSentFrames();
    }

    // After every operation: the image checks cost a copy of the image, too much for every tick.
    void checkAlways()
    {
        checkSentFrames();
        FUZZ_CHECK(withoutProgrammingMarks(image_, snapshot_) == snapshot_,
            "only programming marks change outside a finished reading");
    }

    // Every byte written belongs to a whole, well-formed frame.
    void checkSentFrames()
    {
        const auto& w = transport_.written;
        while (parsed_ < w.size()) {
            FUZZ_CHECK(w.size() - parsed_ >= 6, "frames are written whole");
            FUZZ_CHECK(w[parsed_] == 0x3C && w[parsed_ + 1] == 0x3C && w[parsed_ + 2] == 0x3C,
                "every frame starts with three '<'");
            const std::uint8_t length = w[parsed_ + 3];
            FUZZ_CHECK(length >= 2 && length <= FrameFormat::maxLength, "frame length is 2-33");
            FUZZ_CHECK(w.size() - parsed_ >= length + 4u, "frames are written whole");
            const auto frame = std::span(w).subspan(parsed_ + 3, length + 1u);
            FUZZ_CHECK(xorChecksum(frame) == 0, "every frame carries its checksum");
            SentFrame sent;
            sent.letter = frame[1];
            switch (sent.letter) {
            case FrameLetter::write:
            case FrameLetter::read:
                sent.address = static_cast<std::uint16_t>(frame[2] << 8 | frame[3]);
                sent.count = frame[4];
                FUZZ_CHECK(sent.count >= 1 && sent.address + sent.count <= EepromMap::size,
                    "writes and reads stay inside the EEPROM");
                if (sent.letter == FrameLetter::write) {
                    FUZZ_CHECK(length == sent.count + 5, "a write carries its count of bytes");
                    sent.data.assign(frame.begin() + 5, frame.end() - 1);
                } else {
                    FUZZ_CHECK(length == 5 && sent.count <= FrameFormat::maxReadData,
                        "a read asks for what one reply can carry");
                }
                break;
            case FrameLetter::endOfProgramming:
            case FrameLetter::versionRequest:
            case FrameLetter::negative:
                FUZZ_CHECK(length == 2, "commands carry no parameters");
                break;
            default:
                FUZZ_CHECK(false, "the program sends only W, R, D, F and 0");
            }
            if (sent.letter != FrameLetter::negative) {
                lastRequest_ = sent;
                sent_.push_back(std::move(sent));
            }
            parsed_ += length + 4u;
        }
    }

    std::vector<SentFrame> expectedProgramming() const
    {
        std::vector<SentFrame> frames;
        auto write = [&](std::uint16_t address, std::vector<std::uint8_t> data) {
            frames.push_back(
                {FrameLetter::write, address, static_cast<std::uint8_t>(data.size()), data});
        };
        for (int n = 0; n < image_.channelCount(); ++n) {
            const auto i = static_cast<std::size_t>(n);
            write(EepromMap::channelRecord(n), bytesOf(image_.channels[i].span()));
            write(EepromMap::channelExtra(n), bytesOf(image_.extras[i].span()));
        }
        write(EepromMap::generalSettings, bytesOf(image_.general.span()));
        write(EepromMap::constantBlock, bytesOf(kConstantBlock, image_.ifCounters.span()));
        write(EepromMap::killSettings, bytesOf(image_.kill.span()));
        write(
            EepromMap::codeSettings, bytesOf(image_.code.span().first(CodeSettings::transferred)));
        write(EepromMap::idSettings, bytesOf(image_.id.span()));
        frames.push_back({FrameLetter::endOfProgramming, 0, 0, {}});
        return frames;
    }

    void checkReading()
    {
        const unsigned count = image_.storedChannelCount();
        FUZZ_CHECK(count <= 99, "a count read from the radio is at most 99");
        std::vector<SentFrame> expected;
        if (!sent_.empty() && sent_.front().letter == FrameLetter::versionRequest)
            expected.push_back({FrameLetter::versionRequest, 0, 0, {}});
        auto read = [&](std::uint16_t address, std::size_t n) {
            expected.push_back({FrameLetter::read, address, static_cast<std::uint8_t>(n), {}});
        };
        read(EepromMap::generalSettings, GeneralSettings::size);
        read(EepromMap::codeSettings, CodeSettings::transferred);
        read(EepromMap::idSettings, IdSettings::size);
        for (int n = 0; n < static_cast<int>(count); ++n) {
            read(EepromMap::channelRecord(n), ChannelRecord::size);
            read(EepromMap::channelExtra(n), ChannelExtra::size);
        }
        FUZZ_CHECK(sent_ == expected, "READ OK after every block was requested in order");

        // Only what a reading fetches has changed.
        RadioImage kept = image_;
        kept.general = snapshot_.general;
        std::copy_n(
            snapshot_.code.bytes.begin(), CodeSettings::transferred, kept.code.bytes.begin());
        kept.id = snapshot_.id;
        for (std::size_t n = 0; n < count; ++n) {
            kept.channels[n] = snapshot_.channels[n];
            kept.extras[n] = snapshot_.extras[n];
        }
        FUZZ_CHECK(kept == snapshot_, "a reading changes only the blocks it fetches");
    }

    // What a radio answers to the last request: "1" to a write or "D", the data asked for to a
    // read (taken from the input), the version word to "F".
    std::vector<std::uint8_t> rightAnswer()
    {
        switch (lastRequest_.letter) {
        case FrameLetter::read: {
            std::vector<std::uint8_t> body = {FrameLetter::readReply,
                static_cast<std::uint8_t>(lastRequest_.address >> 8),
                static_cast<std::uint8_t>(lastRequest_.address), lastRequest_.count};
            const auto data = input_.bytes(lastRequest_.count);
            body.insert(body.end(), data.begin(), data.end());
            body.resize(4u + lastRequest_.count, 0);
            return body;
        }
        case FrameLetter::versionRequest: {
            const std::uint8_t high = input_.byte();
            return {FrameLetter::versionReply, high, input_.byte()};
        }
        default:
            return {FrameLetter::acknowledge};
        }
    }

    // The answer of a radio to the last request, right or spoilt in one of eight ways.
    void answer(int kind)
    {
        std::vector<std::uint8_t> body;
        if (kind == 1)
            body = {FrameLetter::startReading};
        else if (kind == 3)
            body = {FrameLetter::negative};
        else
            body = rightAnswer();
        if (kind == 5 && body.size() > 1)
            body.pop_back(); // one data byte short
        if (kind == 7)
            body[0] = input_.byte(); // any letter
        Frame frame{static_cast<std::uint8_t>(body.size() + 1)};
        frame.insert(frame.end(), body.begin(), body.end());
        std::vector<std::uint8_t> wire = wireBytes(frame);
        if (kind == 2)
            wire.back() ^= 0x5A; // checksum spoilt
        if (kind == 6)
            wire.insert(wire.end(), wire.begin(), wire.end()); // the answer twice
        if (kind == 4) {
            // Split over two ticks.
            const auto half = static_cast<std::ptrdiff_t>(wire.size() / 2);
            transport_.pending.insert(transport_.pending.end(), wire.begin(), wire.begin() + half);
            tick();
            wire.erase(wire.begin(), wire.begin() + half);
        }
        transport_.pending.insert(transport_.pending.end(), wire.begin(), wire.end());
    }

    InputReader& input_;
    const bool trace_ = std::getenv("KQ904_FUZZ_TRACE") != nullptr;
    bool nestedTicks_;
    int depth_ = 0;
    RadioImage image_;
    FuzzTransport transport_;
    Link link_;
    RadioImage snapshot_;
    std::size_t parsed_ = 0;
    SentFrame lastRequest_;
    std::vector<SentFrame> sent_;
    int outcomes_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    const std::uint8_t h0 = input.byte();
    const std::uint8_t h1 = input.byte();
    const std::uint8_t h2 = input.byte();
    LinkHarness harness(input, h0, h1, h2);
    harness.run();
    return 0;
}
