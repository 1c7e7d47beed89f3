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
    EXPECT_EQ(resolveDataDir("/var//lib/kq904/"), std::filesystem::path("/var/lib/kq904"));
    EXPECT_EQ(resolveDataDir("/"), std::filesystem::path("/"));
    EXPECT_TRUE(resolveDataDir("x").is_absolute());
}
