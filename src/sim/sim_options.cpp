#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>

namespace kq904 {

namespace {

template <typename T> bool parseNumber(std::string_view text, T& value, int base = 10)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseNumber(std::string_view text, double& value)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseFrameNumber(std::string_view text, int& frame)
{
    return parseNumber(text, frame) && frame >= 1;
}

bool parsePercent(std::string_view text, double& probability)
{
    double percent = 0;
    if (!parseNumber(text, percent) || percent < 0 || percent > 100)
        return false;
    probability = percent / 100.0;
    return true;
}

// "SEED:PERCENT"
bool parseRandom(std::string_view text, std::uint32_t& seed, double& probability)
{
    const std::size_t colon = text.find(':');
    return colon != std::string_view::npos && parseNumber(text.substr(0, colon), seed)
        && parsePercent(text.substr(colon + 1), probability);
}

bool parseVersionWord(std::string_view text, std::uint16_t& word)
{
    if (text.starts_with("0x") || text.starts_with("0X"))
        return parseNumber(text.substr(2), word, 16);
    return parseNumber(text, word);
}

} // namespace

std::string addFault(FaultPlan& plan, std::string_view text)
{
    const std::string bad = "bad fault '" + std::string(text) + "'";
    if (text.starts_with("random:")) {
        std::uint32_t seed = 0;
        double probability = 0;
        if (!parseRandom(text.substr(7), seed, probability))
            return bad + ": expected random:SEED:PERCENT";
        // Each kind draws from its own sequence, so the kinds do not fall on the same frames.
        std::uint32_t offset = 0;
        for (FaultKind kind : kAllFaultKinds)
            plan.atRandom(kind, probability, seed + offset++);
        return {};
    }
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos)
        return bad
            + ": expected KIND@N, KIND@random:SEED:PERCENT, silence@N or random:SEED:PERCENT";
    const std::string_view kindName = text.substr(0, at);
    const std::string_view where = text.substr(at + 1);
    if (kindName == "silence") {
        int frame = 0;
        if (!parseFrameNumber(where, frame))
            return bad + ": the frame number counts from 1";
        plan.silenceFrom(frame);
        return {};
    }
    FaultKind kind{};
    if (!parseFaultName(kindName, kind))
        return bad + ": unknown kind '" + std::string(kindName) + "'";
    if (where.starts_with("random:")) {
        std::uint32_t seed = 0;
        double probability = 0;
        if (!parseRandom(where.substr(7), seed, probability))
            return bad + ": expected " + std::string(kindName) + "@random:SEED:PERCENT";
        plan.atRandom(kind, probability, seed);
        return {};
    }
    int frame = 0;
    if (!parseFrameNumber(where, frame))
        return bad + ": the frame number counts from 1";
    plan.at(frame, kind);
    return {};
}

std::string takeSimOption(SimOptions& options, std::string_view name, const std::string& value)
{
    if (value.empty())
        return "option '" + std::string(name) + "' needs a value";
    if (name == "--eeprom") {
        options.eepromFile = value;
    } else if (name == "--save") {
        options.saveFile = value;
    } else if (name == "--link") {
        options.linkPath = value;
    } else if (name == "--version") {
        std::uint16_t word = 0;
        if (!parseVersionWord(value, word))
            return "bad version word '" + value + "' (0-65535, or 0x0000-0xFFFF)";
        options.versionWord = word;
    } else if (name == "--latency") {
        if (!parseNumber(std::string_view(value), options.latencyMs) || options.latencyMs < 0
            || options.latencyMs > 60000)
            return "bad latency '" + value + "' (0-60000 ms)";
    } else if (name == "--swap-radios") {
        if (!parseNumber(std::string_view(value), options.swapRadiosMs) || options.swapRadiosMs < 1
            || options.swapRadiosMs > 600000)
            return "bad time off the cable '" + value + "' (1-600000 ms)";
    } else if (name == "--corrupt-eeprom") {
        std::uint16_t address = 0;
        if (!parseVersionWord(value, address) || address >= 2048)
            return "bad EEPROM address '" + value + "' (0-2047, or 0x0000-0x07FF)";
        options.corruptAddress = address;
    } else if (name == "--fault") {
        return addFault(options.faults, value);
    } else {
        return "unknown argument '" + std::string(name) + "'";
    }
    return {};
}

namespace {

// One line of --help per fault kind; the switch makes a new kind without a line a warning.
std::string faultHelp(FaultKind kind)
{
    const FaultPlan::Settings defaults;
    switch (kind) {
    case FaultKind::NoAnswer:
        return "the frame is carried out, its reply is lost";
    case FaultKind::CorruptChecksum:
        return "the reply leaves with a wrong checksum";
    case FaultKind::NegativeAck:
        return "\"0\" instead of \"1\" to a write or \"D\" (nothing written)";
    case FaultKind::ShortReadReply:
        return "a read reply " + std::to_string(defaults.shortBy) + " data byte(s) short";
    case FaultKind::NoiseBeforeReply:
        return "line noise ahead of the reply";
    case FaultKind::DelayedReply:
        return "the reply leaves " + std::to_string(defaults.delayMs) + " ms late";
    case FaultKind::TwoInsteadOfVersion:
        return "\"2\" instead of the version reply";
    }
    return {};
}

} // namespace

std::string simUsageText()
{
    std::string kinds;
    for (FaultKind kind : kAllFaultKinds) {
        std::string name(faultName(kind));
        name.resize(std::max<std::size_t>(name.size() + 2, 18), ' ');
        kinds += "      " + name + faultHelp(kind) + "\n";
    }
    return "Usage: kq904-sim [--eeprom FILE] [--save FILE] [--version N] [--latency MS]\n"
           "                 [--link PATH] [--fault FAULT]... [--corrupt-eeprom ADDR]\n"
           "                 [--swap-radios MS]\n"
           "\n"
           "A simulated KQ904 on a pseudo-terminal. Prints the device to open (/dev/pts/N) as\n"
           "the first line of standard output, then answers the programmer's frames until it\n"
           "is terminated (SIGTERM or SIGINT). Every frame received is logged on standard\n"
           "error.\n"
           "\n"
           "  --eeprom FILE   start from this 2048-byte EEPROM image (default: all bytes 0xFF)\n"
           "  --save FILE     write the EEPROM to FILE after every end of programming (\"D\")\n"
           "                  and at exit\n"
           "  --version N     the version word the radio reports (decimal, or hex as 0x0512)\n"
           "  --latency MS    how long the radio takes to answer a frame (default 0)\n"
           "  --link PATH     also make PATH a symbolic link to the device\n"
           "  --corrupt-eeprom ADDR\n"
           "                  a weak EEPROM cell at ADDR (decimal, or hex as 0x0123): every\n"
           "                  write there stores the byte with its lowest bit flipped and is\n"
           "                  acknowledged all the same; only reading back finds it\n"
           "  --swap-radios MS\n"
           "                  radios swapped on a factory station: after a programming ended\n"
           "                  (\"D\" acknowledged) reads are still answered, but the next\n"
           "                  version request finds the radio taken off the cable: nothing is\n"
           "                  answered for MS, then a blank radio (the next one) answers;\n"
           "                  MS longer than a station's 2 s of unanswered requests\n"
           "  --fault FAULT   misbehave; may be repeated. Frames count from 1 in the order the\n"
           "                  radio receives them.\n"
           "      KIND@N                    commit KIND on frame N\n"
           "      KIND@random:SEED:PERCENT  commit KIND on each frame with PERCENT chance\n"
           "      silence@N                 answer nothing from frame N on\n"
           "      random:SEED:PERCENT       every kind, each with PERCENT chance\n"
           "    KIND is one of:\n"
        + kinds
        + "\n"
          "Examples: --fault no-answer@3   --fault silence@1   --fault random:42:5\n";
}

} // namespace kq904
