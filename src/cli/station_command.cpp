// kq904-cli station: programs radios on several ports at once, with a production log.

#include <array>
#include <charconv>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/production_log.h"
#include "cli/station.h"
#include "cli/transfer_session.h"
#include "model/data_dir.h"
#include "model/file_io.h"

namespace kq904::cli {

namespace {

// --port may be given once per port; the other options once.
constexpr std::array<OptionSpec, 5> kOptions = {{{"--data-dir", true}, {"--log", true},
    {"--count", true}, {"--verify", false}, {"--fast", false}}};

// Takes every "--port PORT" and "--port=PORT" out of `args`, in order. A "--" ends the options.
std::vector<std::string> takePorts(
    std::span<const std::string> args, std::vector<std::string>& rest, std::string& error)
{
    std::vector<std::string> ports;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        optionsEnded = optionsEnded || arg == "--";
        if (!optionsEnded && arg == "--port") {
            if (i + 1 >= args.size()) {
                error = "option '--port' needs a value";
                break;
            }
            ports.push_back(args[++i]);
        } else if (!optionsEnded && arg.starts_with("--port=")) {
            ports.push_back(arg.substr(7));
        } else {
            rest.push_back(arg);
        }
    }
    for (const std::string& port : ports) {
        if (port.empty() && error.empty())
            error = "option '--port' needs a port name or device";
    }
    return ports;
}

} // namespace

int runStationCommand(std::span<const std::string> args, CommandStreams streams)
{
    std::vector<std::string> rest;
    std::string portError;
    StationOptions options;
    options.ports = takePorts(args, rest, portError);
    if (!portError.empty())
        return usageError(streams, portError);
    const ParsedArguments parsed = parseArguments(rest, kOptions, 1);
    if (const auto status = stopAfterParsing(parsed, streams))
        return *status;
    if (parsed.positionals.empty())
        return usageError(streams, "station needs the set file to program");
    options.fast = parsed.has("--fast");
    options.verify = parsed.has("--verify");
    if (const auto count = parsed.value("--count")) {
        const auto [end, ec] =
            std::from_chars(count->data(), count->data() + count->size(), options.count);
        if (ec != std::errc() || end != count->data() + count->size() || options.count < 1)
            return usageError(
                streams, "--count takes a number of radios, 1 or more, not '" + *count + "'");
    }
    if (const auto log = parsed.value("--log"); log && log->empty())
        return usageError(streams, "option '--log' needs a file");

    std::optional<RadioImage> image = loadStartupImage(parsed, &parsed.positionals[0], streams);
    if (!image)
        return kExitFailure;
    const std::optional<std::string> log = parsed.value("--log");
    options.logFile = log ? pathFromUtf8(*log)
                          : resolveDataDir(pathFromUtf8(parsed.value("--data-dir").value_or("")))
            / kProductionLogName;
    return runStation(options, *image, streams);
}

} // namespace kq904::cli
