// kq904-cli station: programs radios on several ports at once, with a production log.

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

// Every --port, in the order given: one station port each.
std::vector<std::string> givenPorts(const ParsedArguments& parsed)
{
    std::vector<std::string> ports;
    for (const CommandLine::Given& given : parsed.options) {
        if (given.name == "--port")
            ports.push_back(given.value.value_or(""));
    }
    return ports;
}

} // namespace

int runStationCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    StationOptions options;
    options.ports = givenPorts(parsed);
    for (const std::string& port : options.ports) {
        if (port.empty())
            return usageError(streams, "option '--port' needs a port name or device");
    }
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

    if (const auto status = rejectEmptyDataDir(parsed, streams))
        return *status;
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
