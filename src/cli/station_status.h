#pragma once
// The station's status on stderr, one line per port: what it does now and for which serial
// number. On a terminal the lines are redrawn in place, with the progress, a few times a
// second; elsewhere (a file, a pipe, a log collector) a plain line is written whenever a port
// moves on to something new, and never redrawn.

#include <iosfwd>
#include <string>
#include <vector>

namespace kq904::cli {

class StationStatus {
public:
    struct Line {
        std::string port; // as given
        std::string plain; // "programming serial 0000042"
        std::string detailed; // "programming serial 0000042: channel 12 of 99"
    };

    // Redraws at most this often on a terminal.
    static constexpr int redrawTicks = 13; // about 200 ms

    StationStatus(std::ostream& err, bool terminal);

    // Called on every tick with every port's line.
    void show(const std::vector<Line>& lines, bool stopping);
    // Leaves the last lines standing.
    void finish();

private:
    void redraw(const std::vector<Line>& lines, bool stopping);

    std::ostream& err_;
    bool terminal_;
    std::vector<Line> last_;
    std::vector<std::string> printed_; // the plain line last written for each port
    bool stopNoted_ = false;
    int drawn_ = 0; // lines on the terminal that the next redraw overwrites
    int ticks_ = 0;
};

} // namespace kq904::cli
