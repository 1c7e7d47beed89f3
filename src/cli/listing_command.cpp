// kq904-cli listing: the listing the main window shows (or prints) for the start-up image.

#include <ostream>

#include "cli/commands.h"
#include "cli/transfer_session.h"
#include "view/listing_text.h"

namespace kq904::cli {

int runListingCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    if (const auto status = rejectEmptyDataDir(parsed, streams))
        return *status;
    const std::string* setFile = parsed.positionals.empty() ? nullptr : &parsed.positionals[0];
    std::optional<RadioImage> image = loadStartupImage(parsed, setFile, streams);
    if (!image)
        return kExitFailure;

    streams.out << (parsed.has("--print") ? printedListingText(*image) : screenListingText(*image));
    streams.out.flush();
    if (!streams.out) {
        streams.err << kProgramName << ": cannot write the listing\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace kq904::cli
