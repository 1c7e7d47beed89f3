// kq904-cli program: writes the start-up image (and a set file) into a radio.

#include <array>
#include <charconv>
#include <fstream>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/transfer_session.h"

namespace kq904::cli {

namespace {

constexpr std::array<OptionSpec, 5> kOptions = {{{"--port", true}, {"--data-dir", true},
    {"--serial", true}, {"--verify", false}, {"--trace", true}}};

// The serial number as the Programming form takes it: seven decimal digits at most.
constexpr std::uint32_t kLargestSerial = 9999999;

bool parseSerial(const std::string& text, std::uint32_t& serial)
{
    if (text.empty() || text.size() > 7)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), serial);
    return ec == std::errc() && end == text.data() + text.size() && serial <= kLargestSerial;
}

} // namespace

int runProgramCommand(std::span<const std::string> args, CommandStreams streams)
{
    const ParsedArguments parsed = parseArguments(args, kOptions, 1);
    if (const auto status = stopAfterParsing(parsed, streams))
        return *status;
    std::uint32_t serial = 0;
    const std::optional<std::string> serialText = parsed.value("--serial");
    if (serialText && !parseSerial(*serialText, serial))
        return usageError(streams, "the serial number is 0 to 9999999, not '" + *serialText + "'");
    if (const auto status = rejectEmptyPort(parsed, streams))
        return *status;
    const std::optional<std::string> port = parsed.value("--port");

    const std::string* setFile = parsed.positionals.empty() ? nullptr : &parsed.positionals[0];
    std::optional<RadioImage> image = loadStartupImage(parsed, setFile, streams);
    if (!image)
        return kExitFailure;
    if (serialText)
        image->id.set(IdSettings::serialNumber, serial);

    std::ofstream traceFile;
    if (!openTraceFile(parsed, traceFile, streams))
        return kExitFailure;
    TransferExtras extras;
    extras.trace = traceFile.is_open() ? &traceFile : nullptr;
    extras.verify = parsed.has("--verify");
    const TransferReport report =
        runTransfer(*image, TransferKind::Programming, port, streams, extras);
    streams.out << endingText(report.ending) << std::endl;
    if (report.verify)
        return printVerifyReport(*report.verify, streams);
    return exitStatus(report.ending);
}

} // namespace kq904::cli
