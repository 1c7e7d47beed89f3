// kq904-cli version: asks the radio for its version word.

#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/transfer_session.h"

namespace kq904::cli {

int runVersionCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    if (const auto status = rejectEmptyPort(parsed, streams))
        return *status;
    if (const auto status = rejectEmptyDataDir(parsed, streams))
        return *status;
    const std::optional<std::string> port = parsed.value("--port");

    // The image matters when the radio answers with a full reading instead of its version.
    std::optional<RadioImage> image = loadStartupImage(parsed, nullptr, streams);
    if (!image)
        return kExitFailure;
    std::ofstream traceFile;
    if (!openTraceFile(parsed, traceFile, streams))
        return kExitFailure;
    TransferExtras extras;
    extras.trace = traceFile.is_open() ? &traceFile : nullptr;
    extras.fast = parsed.has("--fast");
    const TransferReport report = runTransfer(*image, TransferKind::Version, port, streams, extras);
    if (report.ending == TransferEnding::VersionReceived) {
        // As the Programming form shows it: the version word without its lowest four bits.
        streams.out << (report.versionWord >> 4) << std::endl;
        return kExitOk;
    }
    streams.out << endingText(report.ending) << std::endl;
    return exitStatus(report.ending);
}

} // namespace kq904::cli
