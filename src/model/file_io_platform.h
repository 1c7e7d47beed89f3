#pragma once
// What file_io.cpp shares with the two system files behind file_io.h; nothing outside the model's
// file module includes this.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "result.h"

namespace kq904::fileio {

// "<what> <path>: <reason>".
Result failure(std::string_view what, const std::filesystem::path& path, const std::string& reason);

// The C library's words for an errno value ("No such file or directory").
std::string errnoText(int error);

// The folder `target` is in: "." for a bare name.
std::filesystem::path directoryOf(const std::filesystem::path& target);

// "<folder>/.<name>.<8 random letters>.tmp", a temporary file beside `target`.
std::filesystem::path temporaryPath(const std::filesystem::path& target);

// The file a write to `path` must replace: through a symbolic link, the file it names, so that
// the link itself survives the replacement.
std::filesystem::path replacedFile(const std::filesystem::path& path);

// Why `target` cannot be replaced by a new file at all (a directory, a device, a pipe, a parent
// that is a file); nothing when it can be tried.
std::optional<std::string> unwritableTarget(const std::filesystem::path& target);

} // namespace kq904::fileio
