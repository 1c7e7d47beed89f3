#include "data_dir.h"

#include <system_error>

namespace kq904 {

std::filesystem::path resolveDataDir(const std::filesystem::path& given)
{
    const std::filesystem::path requested = given.empty() ? std::filesystem::path(".") : given;
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::absolute(requested, ec);
    // Without a current directory (it was removed under us) the relative path is the best there
    // is: the files are then looked up wherever the process stands at each use.
    if (ec)
        resolved = requested;
    resolved = resolved.lexically_normal();
    // "/data/" and "/data/." name the same directory as "/data".
    if (resolved.has_relative_path() && !resolved.has_filename())
        resolved = resolved.parent_path();
    return resolved;
}

} // namespace kq904
