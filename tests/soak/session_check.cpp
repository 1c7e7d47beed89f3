#include "soak/session_check.h"

#include <cstdio>

namespace kq904::soak {

namespace {

std::string joined(const std::vector<std::string>& items)
{
    std::string text = "[";
    for (const auto& item : items)
        text += (text.size() > 1 ? ", " : "") + item;
    return text + "]";
}

std::string hex(unsigned value, int digits)
{
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

template <typename Block>
void compareBlock(const std::string& name, const Block& got, const Block& expected,
    std::vector<std::string>& differing)
{
    if (got.bytes != expected.bytes)
        differing.push_back(name);
}

std::string imageDifference(const RadioImage& got, const RadioImage& expected)
{
    std::vector<std::string> differing;
    compareBlock("general", got.general, expected.general, differing);
    compareBlock("code", got.code, expected.code, differing);
    compareBlock("id", got.id, expected.id, differing);
    compareBlock("kill", got.kill, expected.kill, differing);
    compareBlock("factory", got.factory, expected.factory, differing);
    compareBlock("IF counters", got.ifCounters, expected.ifCounters, differing);
    for (std::size_t n = 0; n < got.channels.size(); ++n) {
        compareBlock(
            "channel " + std::to_string(n), got.channels[n], expected.channels[n], differing);
        compareBlock("extra " + std::to_string(n), got.extras[n], expected.extras[n], differing);
    }
    if (got.featureFlags != expected.featureFlags)
        differing.push_back("feature flags");
    if (differing.empty())
        return {};
    const std::size_t shown = std::min<std::size_t>(differing.size(), 6);
    differing.resize(shown);
    return "image differs in " + joined(differing);
}

std::string eepromDifference(const Eeprom& got, const Eeprom& expected)
{
    int count = 0;
    int first = -1;
    for (std::size_t a = 0; a < got.size(); ++a) {
        if (got[a] != expected[a]) {
            if (first < 0)
                first = static_cast<int>(a);
            ++count;
        }
    }
    if (count == 0)
        return {};
    const auto at = static_cast<std::size_t>(first);
    return "EEPROM differs in " + std::to_string(count) + " bytes, first at 0x"
        + hex(static_cast<unsigned>(first), 4) + " (" + hex(got[at], 2) + ", expected "
        + hex(expected[at], 2) + ")";
}

std::string describeFrame(std::uint8_t letter, std::uint16_t address, std::uint8_t count)
{
    std::string text(1, static_cast<char>(letter));
    if (letter == 'W' || letter == 'R')
        text += " 0x" + hex(address, 4) + " n=" + std::to_string(count);
    return text;
}

std::string frameDifference(
    const std::vector<ExpectedFrame>& expected, const std::vector<HostFrame>& got)
{
    for (std::size_t i = 0; i < got.size(); ++i) {
        const HostFrame& frame = got[i];
        if (!frame.checksumOk)
            return "frame " + std::to_string(i + 1) + " went out with a bad checksum";
        if (i >= expected.size())
            return "frame " + std::to_string(i + 1) + " ("
                + std::string(1, static_cast<char>(frame.letter())) + ") sent beyond the "
                + std::to_string(expected.size()) + " expected";
        const ExpectedFrame& want = expected[i];
        const auto& b = frame.bytes;
        const bool addressed = want.letter == 'W' || want.letter == 'R';
        const bool headOk = frame.letter() == want.letter
            && (!addressed
                || (b.size() > 4 && b[2] == want.address >> 8 && b[3] == (want.address & 0xFF)
                    && b[4] == want.count));
        const bool dataOk = want.letter != 'W'
            || (b.size() == want.data.size() + 6
                && std::equal(want.data.begin(), want.data.end(), b.begin() + 5));
        if (!headOk || !dataOk) {
            std::string sent(1, static_cast<char>(frame.letter()));
            if (b.size() > 4)
                sent = describeFrame(b[1], static_cast<std::uint16_t>(b[2] << 8 | b[3]), b[4]);
            return "frame " + std::to_string(i + 1) + " is " + sent
                + (headOk ? " with other data" : "") + ", expected "
                + describeFrame(want.letter, want.address, want.count);
        }
    }
    if (got.size() < expected.size())
        return std::to_string(got.size()) + " frames sent, expected "
            + std::to_string(expected.size()) + "; the next was "
            + describeFrame(expected[got.size()].letter, expected[got.size()].address,
                expected[got.size()].count);
    return {};
}

} // namespace

std::vector<std::string> checkSession(const Expectation& expected, const SessionResult& result)
{
    std::vector<std::string> problems;
    const auto note = [&](std::string problem) {
        if (!problem.empty())
            problems.push_back(std::move(problem));
    };
    note(result.harness.empty() ? "" : "harness: " + result.harness);
    note(result.stuck);
    note(result.acceptedStart);
    if (result.events != expected.events) {
        std::string why = expected.failedRequest > 0 ? " (frame "
                + std::to_string(expected.failedRequest) + ": " + fateName(expected.failFate) + ")"
                                                     : " (every answer in time)";
        note("notifications " + joined(result.events) + ", expected " + joined(expected.events)
            + why);
    }
    if (result.outcomeTick > expected.tickBound)
        note("outcome " + std::to_string(result.outcomeTick)
            + " ticks after the start, more than the " + std::to_string(expected.tickBound)
            + " its frames allow");
    if (result.finalState != expected.finalState)
        note("link state " + std::to_string(result.finalState) + ", expected "
            + std::to_string(expected.finalState));
    note(imageDifference(result.image, expected.image));
    note(eepromDifference(result.eeprom, expected.eeprom));
    note(frameDifference(expected.frames, result.hostFrames));
    return problems;
}

} // namespace kq904::soak
