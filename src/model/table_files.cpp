#include "table_files.h"

#include "block_io.h"
#include "file_io.h"

namespace kq904 {

namespace {

constexpr std::size_t kSetTabSize = GeneralSettings::size + CodeSettings::size + IdSettings::size;

std::filesystem::path tablePath(const std::filesystem::path& dataDir, TableFile file)
{
    return dataDir / tableFileName(file);
}

// What every load of setTab.bin leaves behind, whether or not the file was there: bytes 8-11
// hold 0, 3, 3, 0, and the channel count lies within 1-99 (a damaged file may hold 0 or 250).
void settleGeneralSettings(RadioImage& image)
{
    auto fixed = image.general.range(GeneralSettings::fixedBytes);
    fixed[0] = 0;
    fixed[1] = 3;
    fixed[2] = 3;
    fixed[3] = 0;
    image.clampChannelCount();
}

} // namespace

const char* tableFileName(TableFile file)
{
    switch (file) {
    case TableFile::Channel:
        return "channelTab.bin";
    case TableFile::Set:
        return "setTab.bin";
    case TableFile::Factory:
        return "factoryTab.bin";
    case TableFile::Kill:
        return "killTab.bin";
    }
    return "";
}

std::size_t tableFileSize(TableFile file)
{
    switch (file) {
    case TableFile::Channel:
        return kChannelRecordArea + kChannelHeadArea + kChannelTailArea;
    case TableFile::Set:
        return kSetTabSize;
    case TableFile::Factory:
        return FactorySettings::size;
    case TableFile::Kill:
        return KillSettings::size;
    }
    return 0;
}

std::vector<std::uint8_t> tableFileBytes(const RadioImage& image, TableFile file)
{
    std::vector<std::uint8_t> out;
    out.reserve(tableFileSize(file));
    switch (file) {
    case TableFile::Channel:
        appendChannelRecords(out, image);
        appendChannelExtras(out, image);
        break;
    case TableFile::Set:
        appendBytes(out, image.general.span());
        appendBytes(out, image.code.span());
        appendBytes(out, image.id.span());
        break;
    case TableFile::Factory:
        appendBytes(out, image.factory.span());
        break;
    case TableFile::Kill:
        appendBytes(out, image.kill.span());
        break;
    }
    return out;
}

void loadTableFile(RadioImage& image, const std::filesystem::path& dataDir, TableFile file)
{
    // A missing or unreadable file is the normal first start: the blocks stay as they are.
    const FileHead head = readFileHead(tablePath(dataDir, file), tableFileSize(file));
    if (head.result) {
        ByteCursor cursor(head.bytes);
        switch (file) {
        case TableFile::Channel:
            readChannelRecords(cursor, image);
            readChannelExtras(cursor, image);
            break;
        case TableFile::Set:
            cursor.read(image.general.span());
            cursor.read(image.code.span());
            cursor.read(image.id.span());
            break;
        case TableFile::Factory:
            cursor.read(image.factory.span());
            break;
        case TableFile::Kill:
            cursor.read(image.kill.span());
            break;
        }
    }
    if (file == TableFile::Set)
        settleGeneralSettings(image);
}

void loadTableFiles(RadioImage& image, const std::filesystem::path& dataDir)
{
    for (TableFile file : {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
        loadTableFile(image, dataDir, file);
}

Result writeTableFile(const RadioImage& image, const std::filesystem::path& dataDir, TableFile file)
{
    return writeFileAtomically(tablePath(dataDir, file), tableFileBytes(image, file));
}

Result writeTableFileIfDifferent(
    const RadioImage& image, const std::filesystem::path& dataDir, TableFile file, bool* written)
{
    if (written)
        *written = false;
    const std::vector<std::uint8_t> wanted = tableFileBytes(image, file);
    // Only the file's first tableFileSize bytes take part: a longer file whose head matches the
    // image is up to date. A missing, unreadable or short file is rewritten.
    const FileHead head = readFileHead(tablePath(dataDir, file), wanted.size());
    if (head.result && head.bytes == wanted)
        return Result::success();
    Result result = writeTableFile(image, dataDir, file);
    if (written)
        *written = result.ok;
    return result;
}

} // namespace kq904
