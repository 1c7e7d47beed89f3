#include "set_file.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "block_io.h"
#include "file_io.h"

namespace kq904 {

namespace {

// Where each block sits in the file; every byte between them is the filler '0'.
struct SetFileOffsets {
    static constexpr std::size_t factory = 0;
    static constexpr std::size_t general = 1024;
    static constexpr std::size_t code = general + GeneralSettings::size;
    static constexpr std::size_t id = code + CodeSettings::size;
    static constexpr std::size_t kill = 1536;
    static constexpr std::size_t channels = 2048;
    static constexpr std::size_t extras = 3072;
};
constexpr std::uint8_t kFiller = 0x30;

// The filler between the blocks, [first, end): nothing a set file is written from lands here,
// so anything but '0' says the file was never a set file.
struct Gap {
    std::size_t first;
    std::size_t end;
};
constexpr std::array<Gap, 4> kGaps = {{
    {SetFileOffsets::factory + FactorySettings::size, SetFileOffsets::general},
    {SetFileOffsets::id + IdSettings::size, SetFileOffsets::kill},
    {SetFileOffsets::kill + KillSettings::size, SetFileOffsets::channels},
    {SetFileOffsets::channels + kChannelRecordArea, SetFileOffsets::extras},
}};
static_assert(kGaps.back().end <= kSetFileMinimumSize, "an older file holds every gap");

std::string sizeProblem(std::uintmax_t size)
{
    return std::to_string(size) + (size == 1 ? " byte" : " bytes") + ", a set file has "
        + std::to_string(kSetFileSize);
}

// "40-1023", "40-1023 and 1553-2047", "40-1023, 1072-1535 and 1553-2047".
std::string gapList(const std::vector<Gap>& gaps)
{
    std::string text;
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        if (i > 0)
            text += i + 1 == gaps.size() ? " and " : ", ";
        text += std::to_string(gaps[i].first) + "-" + std::to_string(gaps[i].end - 1);
    }
    return text;
}

static_assert(SetFileOffsets::extras == kSetFileMinimumSize);
static_assert(SetFileOffsets::extras + kChannelHeadArea + kChannelTailArea == kSetFileSize);
static_assert(sizeof kProgramVersion == FactorySettings::versionText.length);
static_assert(SetFileOffsets::channels + kChannelRecordArea <= SetFileOffsets::extras);

void place(std::array<std::uint8_t, kSetFileSize>& file, std::size_t offset,
    std::span<const std::uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

std::array<std::uint8_t, kSetFileSize> encodeSetFile(const RadioImage& image)
{
    std::array<std::uint8_t, kSetFileSize> file;
    file.fill(kFiller);
    place(file, SetFileOffsets::factory, image.factory.span());
    place(file, SetFileOffsets::general, image.general.span());
    place(file, SetFileOffsets::code, image.code.span());
    place(file, SetFileOffsets::id, image.id.span());
    place(file, SetFileOffsets::kill, image.kill.span());

    std::vector<std::uint8_t> channels;
    channels.reserve(kChannelRecordArea);
    appendChannelRecords(channels, image);
    place(file, SetFileOffsets::channels, channels);

    std::vector<std::uint8_t> extras;
    extras.reserve(kChannelHeadArea + kChannelTailArea);
    appendChannelExtras(extras, image);
    place(file, SetFileOffsets::extras, extras);
    return file;
}

Result decodeSetFile(RadioImage& image, std::span<const std::uint8_t> bytes)
{
    // Everything up to the channel extras must be there; without it the file is damaged and
    // loading half of it would mix two configurations.
    if (bytes.size() < kSetFileMinimumSize)
        return Result::failure("not a set file: " + sizeProblem(bytes.size()));

    RadioImage loaded = image;
    ByteCursor cursor(bytes);
    cursor.seek(SetFileOffsets::factory);
    cursor.read(loaded.factory.span());
    cursor.seek(SetFileOffsets::general);
    cursor.read(loaded.general.span());
    cursor.read(loaded.code.span());
    cursor.read(loaded.id.span());
    cursor.seek(SetFileOffsets::kill);
    cursor.read(loaded.kill.span());
    cursor.seek(SetFileOffsets::channels);
    readChannelRecords(cursor, loaded);
    cursor.seek(SetFileOffsets::extras);
    readChannelExtras(cursor, loaded);
    loaded.clampChannelCount();
    image = loaded;
    return Result::success();
}

Result saveSetFile(RadioImage& image, const std::filesystem::path& path)
{
    auto version = image.factory.range(FactorySettings::versionText);
    std::copy_n(kProgramVersion, version.size(), version.begin()); // the text and its NUL
    const auto bytes = encodeSetFile(image);
    return writeFileAtomically(path, bytes);
}

Result loadSetFile(RadioImage& image, const std::filesystem::path& path)
{
    // A longer file is read only as far as the set file goes; the rest is not ours.
    const FileHead head = readFileHead(path, kSetFileSize);
    if (!head.result)
        return head.result;
    Result decoded = decodeSetFile(image, head.bytes);
    if (!decoded)
        return Result::failure(pathText(path) + ": " + decoded.error);
    return decoded;
}

std::string setFileProblem(std::span<const std::uint8_t> head, std::uintmax_t fileSize)
{
    std::vector<std::string> problems;
    if (fileSize < kSetFileMinimumSize || fileSize > kSetFileSize)
        problems.push_back(sizeProblem(fileSize));
    std::vector<Gap> spoilt;
    for (const Gap& gap : kGaps) {
        if (gap.end > head.size())
            break;
        const auto first = head.begin() + static_cast<std::ptrdiff_t>(gap.first);
        const auto end = head.begin() + static_cast<std::ptrdiff_t>(gap.end);
        if (std::any_of(first, end, [](std::uint8_t b) { return b != kFiller; }))
            spoilt.push_back(gap);
    }
    if (!spoilt.empty())
        problems.push_back("bytes " + gapList(spoilt) + " are not filler");
    if (problems.empty())
        return {};
    std::string text = "not a set file: " + problems.front();
    for (std::size_t i = 1; i < problems.size(); ++i)
        text += "; " + problems[i];
    return text;
}

SetFileContent readSetFile(const std::filesystem::path& path)
{
    SetFileContent content;
    // One byte more than a set file tells a longer file from a set file without reading it all.
    FileHead head = readFileHead(path, kSetFileSize + 1);
    if (!head.result) {
        content.result = head.result;
        return content;
    }
    std::uintmax_t size = head.bytes.size();
    if (size > kSetFileSize) {
        std::error_code ec;
        const std::uintmax_t whole = std::filesystem::file_size(path, ec);
        if (!ec)
            size = whole;
        head.bytes.resize(kSetFileSize);
    }
    if (size < kSetFileMinimumSize) {
        content.result = Result::failure(pathText(path) + ": not a set file: " + sizeProblem(size));
        return content;
    }
    if (std::string problem = setFileProblem(head.bytes, size); !problem.empty())
        content.problem = pathText(path) + ": " + problem;
    content.bytes = std::move(head.bytes);
    return content;
}

} // namespace kq904
