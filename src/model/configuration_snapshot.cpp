#include "configuration_snapshot.h"

#include <system_error>

#include "file_io.h"

namespace kq904 {

namespace {

constexpr std::array kTableFiles = {
    TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill};

TableFileContent readContent(const std::filesystem::path& path)
{
    TableFileContent content;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        // A broken link or an unreachable folder is not the same as no file.
        const bool missing = !ec || ec == std::errc::no_such_file_or_directory;
        if (missing && !std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
            content.state = TableFileContent::State::Missing;
        return content;
    }
    FileHead head = readFileHead(path, kTableFileKeptBytes + 1);
    if (head.result && head.bytes.size() <= kTableFileKeptBytes) {
        content.state = TableFileContent::State::Present;
        content.bytes = std::move(head.bytes);
    }
    return content;
}

template <typename Layout>
void applyBlockChange(Block<Layout>& now, const Block<Layout>& from, const Block<Layout>& to)
{
    for (std::size_t i = 0; i < Layout::size; ++i) {
        if (from.bytes[i] != to.bytes[i])
            now.bytes[i] = to.bytes[i];
    }
}

} // namespace

TableFileContents readTableFileContents(const std::filesystem::path& dataDir)
{
    TableFileContents contents;
    for (const TableFile file : kTableFiles)
        contents[file] = readContent(dataDir / tableFileName(file));
    return contents;
}

Result restoreTableFiles(const std::filesystem::path& dataDir, const TableFileContents& from,
    const TableFileContents& to)
{
    using State = TableFileContent::State;
    Result outcome = Result::success();
    for (const TableFile file : kTableFiles) {
        const TableFileContent& wanted = to[file];
        if (from[file] == wanted || from[file].state == State::Unknown
            || wanted.state == State::Unknown)
            continue;
        const std::filesystem::path path = dataDir / tableFileName(file);
        Result done = wanted.state == State::Missing ? removeFile(path)
                                                     : writeFileAtomically(path, wanted.bytes);
        if (!done && outcome)
            outcome = std::move(done);
    }
    return outcome;
}

void applyImageChange(RadioImage& image, const RadioImage& from, const RadioImage& to)
{
    applyBlockChange(image.factory, from.factory, to.factory);
    applyBlockChange(image.general, from.general, to.general);
    applyBlockChange(image.code, from.code, to.code);
    applyBlockChange(image.id, from.id, to.id);
    applyBlockChange(image.kill, from.kill, to.kill);
    for (std::size_t n = 0; n < kChannelSlots; ++n) {
        applyBlockChange(image.channels[n], from.channels[n], to.channels[n]);
        applyBlockChange(image.extras[n], from.extras[n], to.extras[n]);
    }
    applyBlockChange(image.ifCounters, from.ifCounters, to.ifCounters);
}

bool sameConfiguration(const RadioImage& a, const RadioImage& b)
{
    return a.factory == b.factory && a.general == b.general && a.code == b.code && a.id == b.id
        && a.kill == b.kill && a.channels == b.channels && a.extras == b.extras;
}

} // namespace kq904
