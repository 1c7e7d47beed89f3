#include "cli/station_status.h"

#include <ostream>

#include "cli/cli_app.h"

namespace kq904::cli {

namespace {

constexpr const char* kStopping =
    "stopping: no new radio starts; the radios under way finish and get their line";

} // namespace

StationStatus::StationStatus(std::ostream& err, bool terminal)
    : err_(err)
    , terminal_(terminal)
{ }

void StationStatus::show(const std::vector<Line>& lines, bool stopping)
{
    last_ = lines;
    if (terminal_) {
        if (ticks_++ % redrawTicks == 0 || (stopping && !stopNoted_))
            redraw(lines, stopping);
        stopNoted_ = stopNoted_ || stopping;
        return;
    }
    if (stopping && !stopNoted_) {
        err_ << kProgramName << ": " << kStopping << '\n';
        stopNoted_ = true;
    }
    printed_.resize(lines.size());
    bool wrote = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].plain == printed_[i])
            continue;
        printed_[i] = lines[i].plain;
        err_ << kProgramName << ": " << lines[i].port << ": " << lines[i].plain << '\n';
        wrote = true;
    }
    if (wrote)
        err_.flush();
}

void StationStatus::redraw(const std::vector<Line>& lines, bool stopping)
{
    // Back to the first line of the last drawing, then each line cleared and written anew.
    if (drawn_ > 0)
        err_ << "\x1b[" << drawn_ << 'A';
    drawn_ = 0;
    for (const Line& line : lines) {
        err_ << "\r\x1b[2K" << line.port << ": " << line.detailed << '\n';
        ++drawn_;
    }
    if (stopping) {
        err_ << "\r\x1b[2K" << kStopping << '\n';
        ++drawn_;
    }
    err_.flush();
}

void StationStatus::finish()
{
    if (terminal_)
        redraw(last_, false);
    err_.flush();
}

} // namespace kq904::cli
