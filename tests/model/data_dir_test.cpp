// Resolving the data directory once at start-up.
#include <gtest/gtest.h>

#include "model/data_dir.h"

using kq904::resolveDataDir;

TEST(DataDirectory, ResolvesToAnAbsoluteNormalPath)
{
    const std::filesystem::path cwd = std::filesystem::current_path();
    EXPECT_EQ(resolveDataDir(""), cwd);
    EXPECT_EQ(resolveDataDir("."), cwd);
    EXPECT_EQ(resolveDataDir("tables"), cwd / "tables"); // need not exist
    EXPECT_EQ(resolveDataDir("a/../b/./c/"), cwd / "b" / "c");
    // A path from the root of the current drive, on Windows.
    EXPECT_EQ(resolveDataDir("/var//lib/kq904/"), std::filesystem::absolute("/var/lib/kq904"));
    EXPECT_EQ(resolveDataDir("/"), std::filesystem::absolute("/"));
    EXPECT_TRUE(resolveDataDir("x").is_absolute());
}
