#pragma once
// The requests to stop that reach a console program from outside (SIGINT and SIGTERM on POSIX
// systems, Ctrl+C, Ctrl+Break and a closing console window on Windows), turned into a call from
// the Qt event loop: the program finishes what it has under way instead of dying in the middle
// of it. stop_requests_posix.cpp and stop_requests_windows.cpp hold the system calls.

#include <functional>
#include <memory>
#include <string>

namespace kq904::cli {

class StopRequests {
public:
    // From now until the object is destroyed, each request runs `onStop` from the event loop.
    // nullptr, with the reason in `error`, when the requests cannot be caught.
    static std::unique_ptr<StopRequests> catchThem(
        std::function<void()> onStop, std::string* error);
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    struct Platform;

private:
    explicit StopRequests(std::unique_ptr<Platform> platform);
    std::unique_ptr<Platform> platform_;
};

} // namespace kq904::cli
