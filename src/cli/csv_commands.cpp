// kq904-cli export-csv and import-csv: channel lists in the CSV exchange format, to move a
// channel plan between this radio and other radios' programmers.

#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/transfer_session.h"
#include "model/csv_export.h"
#include "model/csv_import.h"
#include "model/file_io.h"
#include "model/set_file.h"

namespace kq904::cli {

namespace {

// The arguments every CSV command checks the same way: the exit status when they are not usable.
std::optional<int> rejectCsvArguments(const ParsedArguments& parsed, std::size_t positionals,
    std::string_view needs, CommandStreams streams)
{
    if (parsed.positionals.size() != positionals)
        return usageError(streams, needs);
    return rejectEmptyDataDir(parsed, streams);
}

std::string plural(int count, std::string_view noun)
{
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

} // namespace

int runExportCsvCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    if (const auto status = rejectCsvArguments(
            parsed, 2, "export-csv needs the set file and the CSV file to write", streams))
        return *status;
    const std::string& setFile = parsed.positionals[0];
    const std::filesystem::path out = pathFromUtf8(parsed.positionals[1]);

    const std::optional<RadioImage> image = loadStartupImage(parsed, &setFile, streams);
    if (!image)
        return kExitFailure;
    const CsvExport exported = exportChannelsCsv(*image);
    for (const std::string& warning : exported.warnings)
        streams.err << kProgramName << ": warning: " << warning << '\n';
    if (const Result written = writeChannelsCsvFile(out, exported); !written) {
        streams.err << kProgramName << ": " << written.error << '\n';
        return kExitFailure;
    }
    streams.out << plural(exported.channels, "channel") << " written to " << pathText(out)
                << std::endl;
    return kExitOk;
}

int runImportCsvCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    if (const auto status = rejectCsvArguments(parsed, 3,
            "import-csv needs the CSV file, the set file to start from and the set file to write",
            streams))
        return *status;
    const std::filesystem::path csv = pathFromUtf8(parsed.positionals[0]);
    const std::string& setFile = parsed.positionals[1];
    const std::filesystem::path out = pathFromUtf8(parsed.positionals[2]);

    std::optional<RadioImage> image = loadStartupImage(parsed, &setFile, streams);
    if (!image)
        return kExitFailure;
    const CsvImport imported = importChannelsCsvFile(*image, csv);
    for (const std::string& problem : imported.problems)
        streams.err << kProgramName << ": " << pathText(csv) << ": " << problem << '\n';
    if (!imported.result) {
        streams.err << kProgramName << ": " << imported.result.error << '\n';
        return kExitFailure;
    }
    if (const Result saved = saveSetFile(*image, out); !saved) {
        streams.err << kProgramName << ": " << saved.error << '\n';
        return kExitFailure;
    }
    streams.out << plural(imported.channelsTaken, "channel") << " taken from " << pathText(csv)
                << "; " << plural(imported.channelCount, "channel") << " in use; written to "
                << pathText(out) << std::endl;
    return kExitOk;
}

} // namespace kq904::cli
