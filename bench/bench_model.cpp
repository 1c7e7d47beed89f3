// Costs of the model's file and encoding work: a set file saved and opened again (with the
// flush to disk every save makes), the same without the disk, the table-file check that opening
// a set file runs, and a frequency typed into a channel.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/frequency.h"
#include "model/set_file.h"
#include "model/table_files.h"

using namespace kq904;

namespace {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kq904-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

RadioImage sampleImage()
{
    RadioImage image;
    image.setChannelCount(99);
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, 145000000u + static_cast<unsigned>(n) * 12500u);
        image.extras[n][2] = static_cast<std::uint8_t>('A' + n % 26);
    }
    return image;
}

void BM_SetFileSaveAndLoad(benchmark::State& state)
{
    ScratchDir dir;
    if (dir.path().empty()) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const auto path = dir.path() / "bench.set";
    RadioImage image = sampleImage();
    RadioImage loaded;
    for (auto _ : state) {
        if (!saveSetFile(image, path) || !loadSetFile(loaded, path)) {
            state.SkipWithError("set file round trip failed");
            break;
        }
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_SetFileSaveAndLoad)->Unit(benchmark::kMicrosecond);

void BM_SetFileEncodeAndDecode(benchmark::State& state)
{
    const RadioImage image = sampleImage();
    RadioImage loaded;
    for (auto _ : state) {
        const auto bytes = encodeSetFile(image);
        benchmark::DoNotOptimize(decodeSetFile(loaded, bytes));
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_SetFileEncodeAndDecode)->Unit(benchmark::kMicrosecond);

void BM_TableFilesUpToDateCheck(benchmark::State& state)
{
    ScratchDir dir;
    const RadioImage image = sampleImage();
    for (TableFile file : {TableFile::Factory, TableFile::Set, TableFile::Channel})
        (void)writeTableFile(image, dir.path(), file);
    for (auto _ : state) {
        bool written = false;
        for (TableFile file : {TableFile::Factory, TableFile::Set, TableFile::Channel})
            benchmark::DoNotOptimize(writeTableFileIfDifferent(image, dir.path(), file, &written));
        if (written) {
            state.SkipWithError("an equal table file was rewritten");
            break;
        }
    }
}
BENCHMARK(BM_TableFilesUpToDateCheck)->Unit(benchmark::kMicrosecond);

void BM_ParseAndEncodeFrequency(benchmark::State& state)
{
    RadioImage image;
    for (auto _ : state) {
        const std::uint32_t hertz = parseMegahertz("438.0125");
        setTransmitFrequency(image, 7, hertz);
        benchmark::DoNotOptimize(image.channels[7]);
    }
}
BENCHMARK(BM_ParseAndEncodeFrequency);

} // namespace
