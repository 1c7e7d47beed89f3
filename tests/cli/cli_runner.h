#pragma once
// Runs build/bin/kq904-cli in a given working directory and captures what it prints.

#include <filesystem>
#include <string>
#include <vector>

namespace kq904::test {

struct CliRun {
    int exitStatus = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& workDir);

// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kq904::test
