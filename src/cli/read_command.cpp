// kq904-cli read: reads a radio into a set file.

#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "cli/commands.h"
#include "cli/transfer_session.h"
#include "model/file_io.h"
#include "model/set_file.h"

namespace kq904::cli {

int runReadCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    if (parsed.positionals.empty())
        return usageError(streams, "read needs the set file to write");
    if (const auto status = rejectEmptyPort(parsed, streams))
        return *status;
    const std::optional<std::string> port = parsed.value("--port");

    // A reading takes seconds of the radio's time: find out before it whether its result can be
    // kept at all.
    const std::filesystem::path out = pathFromUtf8(parsed.positionals[0]);
    const std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        streams.err << kProgramName << ": cannot write " << pathText(out) << ": "
                    << pathText(folder) << " is not a directory\n";
        return kExitFailure;
    }

    if (const auto status = rejectEmptyDataDir(parsed, streams))
        return *status;
    std::optional<RadioImage> image = loadStartupImage(parsed, nullptr, streams);
    if (!image)
        return kExitFailure;
    std::ofstream traceFile;
    if (!openTraceFile(parsed, traceFile, streams))
        return kExitFailure;
    TransferExtras extras;
    extras.trace = traceFile.is_open() ? &traceFile : nullptr;
    extras.fast = parsed.has("--fast");
    const TransferReport report = runTransfer(*image, TransferKind::Reading, port, streams, extras);
    streams.out << endingText(report.ending) << std::endl;
    if (report.ending != TransferEnding::ReadOk)
        return exitStatus(report.ending);
    if (const Result saved = saveSetFile(*image, out); !saved) {
        streams.err << kProgramName << ": " << saved.error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace kq904::cli
