#pragma once
// The row arithmetic of the listing, shared by the window, printing and the command line.
// The listing is a column of equal rows. On the screen rows 0-2 are the header and row 3 + n
// shows channel n. On paper the settings summary fills rows 0-11 (0-15 with the DTMF version),
// rows 17-19 are the header and row 20 + n shows channel n.

#include <cstdint>

#include "model/radio_image.h"

namespace kq904 {

inline constexpr int kHeaderRows = 3;
inline constexpr int kScreenFirstChannelLine = 3;
inline constexpr int kPrintHeaderFirstRow = 17;
inline constexpr int kPrintFirstChannelLine = 20;

// Widest listing line in average character widths: the SEL column (115) and its "- - -" with
// the DTMF version on; the RX spacing column's header "Ch Spacing" at 95 ends at 105 without.
int listingWidthChars(const RadioImage& image);

int screenRowCount(const RadioImage& image); // channelCount + 3
int printedRowCount(const RadioImage& image); // channelCount + 20

// The channel a screen row shows, or -1 for a header row or a row past the last channel.
int channelOfScreenRow(const RadioImage& image, int row);
// The screen row of a channel.
constexpr int screenRowOfChannel(int channel)
{
    return channel + kScreenFirstChannelLine;
}

// Row positions are device coordinates of 32 bits: the last row whose top still fits.
int lastViewableRow(int rowHeight);

struct RowRange {
    int first = 0;
    int last = -1; // last < first: no rows
    bool empty() const { return last < first; }
};

// The rows that meet the band from top (included) to bottom (excluded) in device units, limited
// to the rows that exist. With `includePartial` false only the rows wholly inside it count.
RowRange rowsInBand(
    std::int64_t top, std::int64_t bottom, int rowHeight, int rowCount, bool includePartial);

// Pages of the printed listing: every page shows `rowsPerPage` rows of the printed layout.
struct PrintPaging {
    int rowsPerPage = 1;
    int pageCount = 1;
    int printableRows = 0;

    // Paging for a page `pageHeight` device units high with rows `rowHeight` high. A row taller
    // than the page still gets a page of its own.
    static PrintPaging forPage(const RadioImage& image, int pageHeight, int rowHeight);
    // The rows page p (1-based) shows.
    RowRange rowsOfPage(int page) const;
};

} // namespace kq904
