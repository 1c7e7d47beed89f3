#pragma once
// The one place a file name crosses between Qt and the rest of the program: what a dialog, an
// option or QTemporaryDir gives as QString becomes a std::filesystem::path here (UTF-16 on
// Windows, the file system's bytes elsewhere), and back. Never through toStdString(), which would
// lose every letter outside the ANSI code page on Windows.

#include <QString>
#include <filesystem>

namespace kq904 {

std::filesystem::path toPath(const QString& name);
QString toQString(const std::filesystem::path& path);

} // namespace kq904
