#include "link/file_path.h"

#include <QFile>
#include <type_traits>

namespace kq904 {

namespace {

// Windows paths are UTF-16, as QString is; elsewhere they are bytes in the encoding Qt uses for
// file names.
constexpr bool kWidePaths = std::is_same_v<std::filesystem::path::value_type, wchar_t>;

} // namespace

std::filesystem::path toPath(const QString& name)
{
    if constexpr (kWidePaths)
        return std::filesystem::path(name.toStdU16String());
    else
        return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString toQString(const std::filesystem::path& path)
{
    if constexpr (kWidePaths)
        return QString::fromStdU16String(path.u16string());
    else
        return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

} // namespace kq904
