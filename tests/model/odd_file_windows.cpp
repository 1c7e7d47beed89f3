#include "model/file_test_support.h"

namespace kq904::testing {

std::filesystem::path makeNonRegularFile(const std::filesystem::path&, const std::string&)
{
    return std::filesystem::path(L"\\\\.\\NUL");
}

} // namespace kq904::testing
