#pragma once
// The signals that end kq904-sim (SIGTERM, SIGINT, SIGHUP), delivered through a descriptor the
// serve loop polls instead of interrupting it: the loop ends between two frames and the EEPROM
// is saved in one piece.

#include <memory>
#include <string>

namespace kq904 {

class StopSignals {
public:
    // Blocks the signals and opens their descriptor; nullptr with the reason in `error`.
    static std::unique_ptr<StopSignals> catchThem(std::string* error);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable once one of the signals has arrived.
    int fd() const { return fd_; }

private:
    explicit StopSignals(int fd)
        : fd_(fd)
    { }

    int fd_ = -1;
};

} // namespace kq904
