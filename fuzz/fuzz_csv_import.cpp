// Channel lists in the CSV exchange format with any content, imported into a configuration:
//  - a failed import leaves the image exactly as it was;
//  - a successful one sets a channel count of 1-99 (the one it reports), takes 1-99 rows and
//    changes nothing but the channels and the channel count;
//  - the list exported from the result and imported again changes nothing (when the export
//    could carry everything).
#include <string_view>

#include "fuzz_support.h"
#include "model/csv_export.h"
#include "model/csv_import.h"

using namespace kq904;
using namespace kq904::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RadioImage before = patternedImage(7);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    RadioImage image = before;
    const CsvImport imported = importChannelsCsv(image, text);
    FUZZ_CHECK(imported.problems.size() <= kCsvMaxProblems + 1, "the problem list is bounded");
    if (!imported.result) {
        FUZZ_CHECK(image == before, "a failed import leaves the image unchanged");
        FUZZ_CHECK(!imported.result.error.empty(), "a failed import says why");
        return 0;
    }
    const unsigned count = image.storedChannelCount();
    FUZZ_CHECK(count >= 1 && count <= 99, "the channel count is 1-99 after an import");
    FUZZ_CHECK(imported.channelCount == static_cast<int>(count), "the reported count is stored");
    FUZZ_CHECK(imported.channelsTaken >= 1 && imported.channelsTaken <= 99,
        "a successful import takes 1-99 rows");

    RadioImage outside = image;
    outside.channels = before.channels;
    outside.extras = before.extras;
    outside.setChannelCount(before.channelCount());
    FUZZ_CHECK(outside == before, "an import changes only the channels and their count");

    const CsvExport exported = exportChannelsCsv(image);
    FUZZ_CHECK(exported.channels == static_cast<int>(count), "every channel in use is exported");
    if (exported.warnings.empty()) {
        RadioImage again = image;
        const CsvImport reimported = importChannelsCsv(again, exported.text);
        FUZZ_CHECK(reimported.result.ok, "an exported list imports");
        FUZZ_CHECK(reimported.problems.empty(), "an exported list imports without problems");
        FUZZ_CHECK(again == image, "importing the exported list changes nothing");
    }
    return 0;
}
