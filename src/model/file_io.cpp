// The parts of file_io.h that are the same on every system; the system calls are in
// file_io_posix.cpp and file_io_windows.cpp.
#include "file_io.h"

#include "file_io_platform.h"

#include <random>
#include <system_error>

namespace kq904 {

namespace fileio {

Result failure(std::string_view what, const std::filesystem::path& path, const std::string& reason)
{
    return Result::failure(std::string(what) + " " + pathText(path) + ": " + reason);
}

std::string errnoText(int error)
{
    return std::generic_category().message(error);
}

std::filesystem::path temporaryPath(const std::filesystem::path& target)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(8, ' ');
    for (char& c : suffix)
        c = kLetters[pick(source)];
    std::filesystem::path name = ".";
    name += target.filename();
    name += "." + suffix + ".tmp";
    return directoryOf(target) / name;
}

std::filesystem::path directoryOf(const std::filesystem::path& target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

std::filesystem::path replacedFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
        return path;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

std::optional<std::string> unwritableTarget(const std::filesystem::path& target)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(target, ec);
    if (std::filesystem::is_directory(status))
        return errnoText(EISDIR);
    // Renaming over a device or a pipe would replace the node itself.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "not a regular file";
    // Said the same way on every system; Windows would only say "path not found".
    const std::filesystem::path dir = target.parent_path();
    if (!dir.empty()) {
        const std::filesystem::file_status parent = std::filesystem::status(dir, ec);
        if (std::filesystem::exists(parent) && !std::filesystem::is_directory(parent))
            return errnoText(ENOTDIR);
    }
    return std::nullopt;
}

} // namespace fileio

Result removeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
    if (!std::filesystem::exists(status))
        return Result::success();
    if (!std::filesystem::is_regular_file(status) && !std::filesystem::is_symlink(status))
        return fileio::failure("cannot remove", path, "not a regular file");
    if (!std::filesystem::remove(path, ec) && ec)
        return fileio::failure("cannot remove", path, ec.message());
    return Result::success();
}

std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace kq904
