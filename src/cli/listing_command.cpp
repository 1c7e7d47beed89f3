// kq904-cli listing: the listing the main window shows (or prints) for the start-up image.

#include <array>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/set_file_loading.h"
#include "model/data_dir.h"
#include "model/feature_flags.h"
#include "model/file_io.h"
#include "model/radio_image.h"
#include "model/table_files.h"
#include "view/listing_text.h"

namespace kq904::cli {

namespace {

constexpr std::array<OptionSpec, 2> kOptions = {{{"--print", false}, {"--data-dir", true}}};

} // namespace

int runListingCommand(std::span<const std::string> args, CommandStreams streams)
{
    const ParsedArguments parsed = parseArguments(args, kOptions, 1);
    if (const auto status = stopAfterParsing(parsed, streams))
        return *status;

    const std::string given = parsed.value("--data-dir").value_or("");
    if (parsed.value("--data-dir") && given.empty())
        return usageError(streams, "option '--data-dir' needs a directory");
    const std::filesystem::path dataDir = resolveDataDir(pathFromUtf8(given));
    std::error_code ec;
    if (!std::filesystem::is_directory(dataDir, ec)) {
        streams.err << kProgramName << ": data directory " << pathText(dataDir)
                    << " is not a directory\n";
        return kExitFailure;
    }

    // The start-up image, as the program builds it: the table files, then the feature flags.
    RadioImage image;
    loadTableFiles(image, dataDir);
    readFeatureFlags(image, dataDir);
    if (!parsed.positionals.empty()
        && !loadSetFileWithWarning(image, parsed.positionals.front(), streams))
        return kExitFailure;

    streams.out << (parsed.has("--print") ? printedListingText(image) : screenListingText(image));
    streams.out.flush();
    if (!streams.out) {
        streams.err << kProgramName << ": cannot write the listing\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace kq904::cli
