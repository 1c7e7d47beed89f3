#include <sys/stat.h>

#include "model/file_test_support.h"

namespace kq904::testing {

std::filesystem::path makeNonRegularFile(const std::filesystem::path& dir, const std::string& name)
{
    const std::filesystem::path path = dir / name;
    if (::mkfifo(path.c_str(), 0600) != 0)
        ADD_FAILURE() << "cannot make the FIFO " << path;
    return path;
}

} // namespace kq904::testing
