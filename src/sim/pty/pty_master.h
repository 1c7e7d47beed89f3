#pragma once
// The master side of a pseudo-terminal: the simulated radio's end of a "serial cable" whose
// other end (the slave device, /dev/pts/N) the programmer opens like any serial port.
//
// The slave is held open here as well, so a client that closes the port and opens it again
// finds the line as it left it: without that, the last close of the slave hangs the terminal
// up and the master reports end-of-file on every poll. The line is raw: every byte value
// passes unchanged, with no echo and no line editing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "model/result.h"

namespace kq904 {

class PtyMaster {
public:
    // Opens a new pseudo-terminal; nullptr with the reason in `error` when the system refuses.
    static std::unique_ptr<PtyMaster> open(std::string* error);
    ~PtyMaster();
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    // The device the programmer opens ("/dev/pts/5").
    const std::string& slavePath() const { return slavePath_; }
    // For poll() and socket notifiers; -1 once closed.
    int fd() const { return master_; }
    bool isOpen() const { return master_ >= 0; }

    // Takes whatever the client has sent, at most out.size() bytes; never waits.
    std::size_t readAvailable(std::span<std::uint8_t> out);
    // Sends all bytes to the client, waiting at most `timeoutMs` in all while the client's
    // input queue is full. Fails when the terminal is closed or the time runs out.
    Result write(std::span<const std::uint8_t> bytes, int timeoutMs = 1000);

    // Closes both sides held here: to the client the cable is pulled out.
    void close();

private:
    PtyMaster(int master, int heldSlave, std::string slavePath);

    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};

} // namespace kq904
