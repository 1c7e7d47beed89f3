// Set files of any length and content, through the decoder and through the file loader:
//  - a file shorter than 3072 bytes fails with "not a set file: N bytes" and leaves the image
//    byte for byte as it was;
//  - a longer one loads, with channelCount within 1-99, every block byte the file holds taken
//    from the file, heads beyond the end of the file kept and tails beyond it zeroed;
//  - the image saved as a set file and loaded again is the same image, and passes the set-file
//    check, which names the length of every file of the wrong size;
//  - loading from a file gives exactly what decoding its bytes gives.
#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "model/block_io.h"
#include "model/set_file.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

constexpr std::size_t kChannelCountOffset = 1024 + 3;
constexpr std::size_t kHeadsStart = 3072;
constexpr std::size_t kTailsStart = kHeadsStart + kChannelHeadArea;

// The bytes of the file that belong to a block; the rest is filler.
bool isBlockByte(std::size_t offset)
{
    return offset < FactorySettings::size || (offset >= 1024 && offset < 1072)
        || (offset >= 1536 && offset < 1536 + KillSettings::size)
        || (offset >= 2048 && offset < 2048 + kChannelRecordArea) || offset >= kHeadsStart;
}

bool sameOutsideTheFile(const RadioImage& a, const RadioImage& b)
{
    return a.ifCounters == b.ifCounters && a.featureFlags == b.featureFlags;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RadioImage before = patternedImage();
    static const auto encodedBefore = encodeSetFile(before);
    const std::span<const std::uint8_t> file(data, size);

    const std::string problem = setFileProblem(file.first(std::min(size, kSetFileSize)), size);
    const bool rightSize = size >= kSetFileMinimumSize && size <= kSetFileSize;
    FUZZ_CHECK(
        rightSize || problem.rfind("not a set file: " + std::to_string(size) + " byte", 0) == 0,
        "a file of the wrong size is named by its size");

    RadioImage image = before;
    const Result decoded = decodeSetFile(image, file);
    if (size < kSetFileMinimumSize) {
        FUZZ_CHECK(!decoded, "a file shorter than 3072 bytes fails");
        FUZZ_CHECK(decoded.error.rfind("not a set file: " + std::to_string(size) + " byte", 0) == 0,
            "the failure names the file's length");
        FUZZ_CHECK(image == before, "a failed load leaves the image unchanged");
    } else {
        FUZZ_CHECK(decoded, "a file of 3072 bytes or more loads");
        const unsigned count = image.storedChannelCount();
        FUZZ_CHECK(count >= 1 && count <= 99, "channelCount is within 1-99 after a load");
        FUZZ_CHECK(sameOutsideTheFile(image, before), "blocks the file does not hold are kept");

        const auto encoded = encodeSetFile(image);
        const std::size_t present = std::min(size, kSetFileSize);
        for (std::size_t i = 0; i < present; ++i) {
            if (isBlockByte(i) && i != kChannelCountOffset)
                FUZZ_CHECK(encoded[i] == data[i], "every block byte comes from the file");
            if (!isBlockByte(i))
                FUZZ_CHECK(encoded[i] == 0x30, "saving fills the gaps with '0'");
        }
        for (std::size_t i = present; i < kSetFileSize; ++i) {
            if (i < kTailsStart)
                FUZZ_CHECK(encoded[i] == encodedBefore[i], "heads beyond the file are kept");
            else
                FUZZ_CHECK(encoded[i] == 0, "tails beyond the file become zero");
        }

        RadioImage reloaded = before;
        FUZZ_CHECK(decodeSetFile(reloaded, encoded), "a saved image loads");
        FUZZ_CHECK(setFileProblem(encoded, kSetFileSize).empty(), "a saved file is a set file");
        FUZZ_CHECK(reloaded == image, "a saved and reloaded image is the same image");
    }

    // The loader reads the same bytes from a real file.
    const std::filesystem::path path = scratchDirectory() / "fuzz.set";
    putFile(path, file);
    RadioImage loaded = before;
    const Result fromFile = loadSetFile(loaded, path);
    FUZZ_CHECK(fromFile.ok == decoded.ok, "loading a file agrees with decoding its bytes");
    FUZZ_CHECK(loaded == image, "loading a file gives the image decoding gives");
    if (!fromFile.ok)
        FUZZ_CHECK(
            fromFile.error == path.string() + ": " + decoded.error, "a failed load names the file");
    return 0;
}
