#include "set_file.h"

#include <algorithm>
#include <string>
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

static_assert(SetFileOffsets::extras == kSetFileMinimumSize);
static_assert(SetFileOffsets::extras + kChannelHeadArea + kChannelTailArea == kSetFileSize);
static_assert(sizeof kSetFileVersion == FactorySettings::versionText.length);
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
        return Result::failure("file is truncated at byte " + std::to_string(bytes.size()));

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
    std::copy_n(kSetFileVersion, version.size(), version.begin()); // the text and its NUL
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

} // namespace kq904
