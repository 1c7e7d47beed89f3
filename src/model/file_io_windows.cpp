// file_io.h on Windows: the wide-character file calls, so that a folder name in any script works,
// and MoveFileExW for the one-step replacement.
#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "file_io_platform.h"

namespace kq904 {

namespace {

using fileio::errnoText;
using fileio::failure;

// The reasons a user meets most, in the same words as on POSIX systems; the rest in Windows'
// own words.
std::string windowsErrorText(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return errnoText(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return errnoText(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return errnoText(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return errnoText(EEXIST);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "in use by another program";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    if (text)
        LocalFree(text);
    while (
        !words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
        words.pop_back();
    if (words.empty())
        return "Windows error " + std::to_string(error);
    return pathText(std::filesystem::path(words));
}

class Handle {
public:
    explicit Handle(HANDLE handle)
        : handle_(handle)
    { }
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close()
    {
        if (!valid())
            return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

// Writes, flushes to the disk and closes; on failure removes the file. GetLastError tells why.
bool fillAndClose(
    Handle& file, const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.close()) {
        const DWORD error = GetLastError();
        file.close();
        DeleteFileW(path.c_str());
        SetLastError(error);
        return false;
    }
    return true;
}

HANDLE createNew(const std::filesystem::path& path)
{
    return CreateFileW(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

FileHead readFileHead(const std::filesystem::path& path, std::size_t maxBytes)
{
    FileHead head;
    std::error_code ec;
    // CreateFileW refuses a folder as "access denied"; say what it is.
    if (std::filesystem::is_directory(path, ec)) {
        head.result = failure("cannot open", path, errnoText(EISDIR));
        return head;
    }
    // Sharing everything: reading a file never keeps another program (or our own writer) from
    // replacing it.
    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        head.result = failure("cannot open", path, windowsErrorText(GetLastError()));
        return head;
    }
    // A console, a pipe or a serial port ("CON", "COM1") is not a file to read a setting from.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        head.result = failure("cannot open", path, "not a regular file");
        return head;
    }
    head.bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(maxBytes - got, std::numeric_limits<DWORD>::max()));
        DWORD n = 0;
        if (!ReadFile(file.get(), head.bytes.data() + got, chunk, &n, nullptr)) {
            head.bytes.clear();
            head.result = failure("cannot read", path, windowsErrorText(GetLastError()));
            return head;
        }
        if (n == 0)
            break;
        got += n;
    }
    head.bytes.resize(got);
    return head;
}

Result writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target = fileio::replacedFile(path);
    if (const auto why = fileio::unwritableTarget(target))
        return failure("cannot write", path, *why);

    std::filesystem::path temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = fileio::temporaryPath(target);
        created = createNew(temporary);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return failure("cannot write", path, windowsErrorText(GetLastError()));
    }
    Handle file(created);
    if (!file.valid())
        return failure("cannot write", path, errnoText(EEXIST));
    if (!fillAndClose(file, temporary, bytes))
        return failure("cannot write", path, windowsErrorText(GetLastError()));
    // Replaces the target in one step; write-through returns only once the move is on the disk.
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return failure("cannot write", path, windowsErrorText(error));
    }
    return Result::success();
}

Result appendDurably(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
    std::span<const std::uint8_t> header)
{
    if (const auto why = fileio::unwritableTarget(path))
        return failure("cannot append to", path, *why);
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of the file, even
    // with another program appending too. Readers (a spreadsheet open on the log) may share it.
    Handle file(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failure("cannot append to", path, windowsErrorText(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return failure("cannot append to", path, windowsErrorText(GetLastError()));
    std::vector<std::uint8_t> out;
    if (size.QuadPart == 0) {
        out.assign(header.begin(), header.end());
    } else {
        LARGE_INTEGER last{};
        last.QuadPart = size.QuadPart - 1;
        std::uint8_t byte = '\n';
        DWORD got = 0;
        if (!SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN)
            || !ReadFile(file.get(), &byte, 1, &got, nullptr) || got != 1)
            return failure("cannot append to", path, windowsErrorText(GetLastError()));
        if (byte != '\n')
            out.push_back('\n');
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
    if (!writeAll(file.get(), out) || !FlushFileBuffers(file.get()))
        return failure("cannot append to", path, windowsErrorText(GetLastError()));
    if (!file.close())
        return failure("cannot append to", path, windowsErrorText(GetLastError()));
    return Result::success();
}

Result writeNewFile(
    const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool& nameTaken)
{
    nameTaken = false;
    Handle file(createNew(path));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        nameTaken = error == ERROR_FILE_EXISTS;
        return failure("cannot write", path, windowsErrorText(error));
    }
    if (!fillAndClose(file, path, bytes))
        return failure("cannot write", path, windowsErrorText(GetLastError()));
    return Result::success();
}

} // namespace kq904
