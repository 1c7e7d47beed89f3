// The four table files with any length and content. The first input byte picks the file, the
// rest is its content. Checks:
//  - the file's blocks take the file's bytes as far as it goes; heads beyond the end keep their
//    old bytes, tails beyond it become zero, blocks of other files are untouched;
//  - setTab.bin leaves channelCount within 1-99 and bytes 8-11 at 0, 3, 3, 0;
//  - "write if different" rewrites exactly when the file is short or differs from the image,
//    and what it leaves loads back into the same image.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "model/block_io.h"
#include "model/file_io.h"
#include "model/table_files.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

constexpr TableFile kFiles[] = {
    TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill};

// The blocks no load of `file` may touch are equal in both images.
bool otherBlocksEqual(const RadioImage& a, const RadioImage& b, TableFile file)
{
    const bool channels = a.channels == b.channels && a.extras == b.extras;
    const bool settings = a.general == b.general && a.code == b.code && a.id == b.id;
    const bool rest = a.ifCounters == b.ifCounters && a.featureFlags == b.featureFlags;
    switch (file) {
    case TableFile::Channel:
        return settings && a.factory == b.factory && a.kill == b.kill && rest;
    case TableFile::Set:
        return channels && a.factory == b.factory && a.kill == b.kill && rest;
    case TableFile::Factory:
        return channels && settings && a.kill == b.kill && rest;
    case TableFile::Kill:
        return channels && settings && a.factory == b.factory && rest;
    }
    return false;
}

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path)
{
    FileHead head = readFileHead(path, std::size_t{1} << 20);
    FUZZ_CHECK(head.result.ok, "the table file is there after writing");
    return std::move(head.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RadioImage before = patternedImage();
    InputReader input(data, size);
    const TableFile file = kFiles[input.byte() % 4];
    const auto content = input.rest();
    const std::filesystem::path& dir = scratchDirectory();
    const std::filesystem::path path = dir / tableFileName(file);
    putFile(path, content);

    RadioImage image = before;
    loadTableFile(image, dir, file);
    FUZZ_CHECK(otherBlocksEqual(image, before, file), "a table file loads only its own blocks");

    const std::vector<std::uint8_t> after = tableFileBytes(image, file);
    const std::vector<std::uint8_t> old = tableFileBytes(before, file);
    const std::size_t fullSize = tableFileSize(file);
    FUZZ_CHECK(after.size() == fullSize, "a table file has its fixed size");
    const std::size_t present = std::min(content.size(), fullSize);
    // setTab.bin's fixed bytes and channel count are settled after the load.
    auto settled = [&](std::size_t i) {
        return file == TableFile::Set && (i == 3 || (i >= 8 && i < 12));
    };
    for (std::size_t i = 0; i < present; ++i)
        if (!settled(i))
            FUZZ_CHECK(after[i] == content[i], "the blocks take the file's bytes");
    const std::size_t tailsStart = fullSize - kChannelTailArea;
    for (std::size_t i = present; i < fullSize; ++i) {
        if (settled(i))
            continue;
        if (file == TableFile::Channel && i >= tailsStart)
            FUZZ_CHECK(after[i] == 0, "tails missing from channelTab.bin become zero");
        else
            FUZZ_CHECK(after[i] == old[i], "bytes beyond the end of the file are kept");
    }
    if (file == TableFile::Set) {
        const unsigned count = image.storedChannelCount();
        FUZZ_CHECK(count >= 1 && count <= 99, "channelCount is within 1-99 after setTab.bin");
        FUZZ_CHECK(after[8] == 0 && after[9] == 3 && after[10] == 3 && after[11] == 0,
            "setTab.bin bytes 8-11 are 0, 3, 3, 0 after loading");
    }

    // Write if different: rewritten exactly when the file's head differs from the image.
    const bool upToDate =
        content.size() >= fullSize && std::equal(after.begin(), after.end(), content.begin());
    bool written = false;
    const Result result = writeTableFileIfDifferent(image, dir, file, &written);
    FUZZ_CHECK(result, "the table file can be written");
    FUZZ_CHECK(written == !upToDate, "only a file that differs from the image is rewritten");
    const std::vector<std::uint8_t> onDisk = fileBytes(path);
    if (written)
        FUZZ_CHECK(onDisk == after, "a rewritten table file holds the image's blocks");
    else
        FUZZ_CHECK(std::equal(content.begin(), content.end(), onDisk.begin(), onDisk.end()),
            "an up-to-date table file is left as it was");

    RadioImage reloaded = before;
    loadTableFile(reloaded, dir, file);
    FUZZ_CHECK(reloaded == image, "a written table file loads back into the same image");
    return 0;
}
