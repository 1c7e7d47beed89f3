#pragma once
// Scratch directories and file helpers for the model's file tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/radio_image.h"
#include "support/image_fill.h"

namespace kq904::testing {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::random_device seed;
        std::error_code ec;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate =
                std::filesystem::temp_directory_path() / ("kq904-test-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate, ec))
                path_ = candidate;
        }
        if (path_.empty())
            ADD_FAILURE() << "cannot create a temporary directory";
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Something that is not a regular file, for readers that must refuse it without hanging: a FIFO
// named `name` in `dir` on POSIX systems, the NUL device on Windows (which has no pipes in
// folders). odd_file_posix.cpp and odd_file_windows.cpp.
std::filesystem::path makeNonRegularFile(const std::filesystem::path& dir, const std::string& name);

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Names of the entries of a directory, to prove that no temporary file was left behind.
inline std::vector<std::string> entryNames(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(pathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// Every persisted byte set to something different, from a fixed seed, with a valid channel
// count so that loading does not change it.
inline RadioImage scrambledImage(unsigned seed)
{
    std::mt19937 random(seed);
    RadioImage image;
    kq904::testing::fillPersistedBlocks(image, [&] { return random(); });
    image.setChannelCount(1 + static_cast<int>(seed % 99));
    return image;
}

} // namespace kq904::testing
