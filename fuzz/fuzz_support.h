#pragma once
// What every fuzz target shares: invariant checks that stop the run like a crash, a reader that
// takes the input apart, a radio image with every byte set, and a scratch directory for the
// targets that must go through real files.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <fstream>
#include <random>

#include "model/radio_image.h"
#include "support/image_fill.h"

// A broken invariant is a finding: report it and abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken: %s\n  %s (%s:%d)\n", what, #condition,         \
                __FILE__, __LINE__);                                                               \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace kq904::fuzz {

// Takes the fuzz input apart front to back; past the end every read gives zeros.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : bytes_(data, size)
    { }

    bool empty() const { return bytes_.empty(); }
    std::size_t left() const { return bytes_.size(); }

    std::uint8_t byte()
    {
        if (bytes_.empty())
            return 0;
        const std::uint8_t b = bytes_.front();
        bytes_ = bytes_.subspan(1);
        return b;
    }
    // Up to n bytes (fewer at the end of the input).
    std::span<const std::uint8_t> bytes(std::size_t n)
    {
        const auto taken = bytes_.first(n < bytes_.size() ? n : bytes_.size());
        bytes_ = bytes_.subspan(taken.size());
        return taken;
    }
    std::span<const std::uint8_t> rest() { return bytes(bytes_.size()); }
    std::string_view text(std::size_t n)
    {
        const auto taken = bytes(n);
        return {reinterpret_cast<const char*>(taken.data()), taken.size()};
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// Every persisted byte of the image set to a value that no loader would produce by accident,
// with a channel count in range, so that "unchanged" is a real test.
inline RadioImage patternedImage(int channelCount = 42)
{
    RadioImage image;
    unsigned value = 11;
    kq904::testing::fillPersistedBlocks(image, [&] {
        const unsigned byte = value;
        value = value * 37u + 5u;
        return byte;
    });
    for (auto& b : image.ifCounters.bytes) {
        b = static_cast<std::uint8_t>(value);
        value = value * 37u + 5u;
    }
    image.featureFlags = 0xA5C3;
    image.setChannelCount(channelCount);
    return image;
}

// A directory of this process for the targets that read and write real files; on a RAM disk
// where there is one, since every run writes into it. Removed when the process ends.
inline const std::filesystem::path& scratchDirectory()
{
    static const std::filesystem::path dir = [] {
        std::filesystem::path base = "/dev/shm";
        std::error_code ec;
        if (!std::filesystem::is_directory(base, ec))
            base = std::filesystem::temp_directory_path();
        static std::filesystem::path made;
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && made.empty(); ++attempt) {
            const auto candidate = base / ("kq904-fuzz-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate, ec))
                made = candidate;
        }
        FUZZ_CHECK(!made.empty(), "a scratch directory can be made");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return made;
    }();
    return dir;
}

// Replaces the file's content with exactly these bytes (no temporary file: the loaders are under
// test here, not the writer).
inline void putFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    FUZZ_CHECK(out.is_open(), "the scratch file can be created");
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(!out.fail(), "the scratch file can be written");
}

} // namespace kq904::fuzz
