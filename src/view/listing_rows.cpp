#include "listing_rows.h"

#include <algorithm>
#include <limits>

#include "view/channel_table.h"

namespace kq904 {

int listingWidthChars(const RadioImage& image)
{
    return image.dtmfVersion() ? kChannelColumns[15].x + 5 : kChannelColumns[12].x + 10;
}

int screenRowCount(const RadioImage& image)
{
    return image.channelCount() + kScreenFirstChannelLine;
}

int printedRowCount(const RadioImage& image)
{
    return image.channelCount() + kPrintFirstChannelLine;
}

int channelOfScreenRow(const RadioImage& image, int row)
{
    const int channel = row - kScreenFirstChannelLine;
    return channel >= 0 && channel < image.channelCount() ? channel : -1;
}

int lastViewableRow(int rowHeight)
{
    return std::numeric_limits<std::int32_t>::max() / std::max(rowHeight, 1) - 1;
}

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

RowRange rowsInBand(
    std::int64_t top, std::int64_t bottom, int rowHeight, int rowCount, bool includePartial)
{
    const std::int64_t height = std::max(rowHeight, 1);
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (includePartial) {
        first = floorDiv(top, height);
        last = floorDiv(bottom - 1, height);
    } else {
        first = floorDiv(top + height - 1, height);
        last = floorDiv(bottom, height) - 1;
    }
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, rowCount - 1);
    if (last < first)
        return {};
    return {static_cast<int>(first), static_cast<int>(last)};
}

PrintPaging PrintPaging::forPage(const RadioImage& image, int pageHeight, int rowHeight)
{
    PrintPaging paging;
    const int height = std::max(rowHeight, 1);
    paging.rowsPerPage = std::max(pageHeight / height, 1);
    paging.printableRows = std::min(printedRowCount(image), lastViewableRow(height) + 1);
    paging.pageCount = (paging.printableRows + paging.rowsPerPage - 1) / paging.rowsPerPage;
    return paging;
}

RowRange PrintPaging::rowsOfPage(int page) const
{
    const int first = (page - 1) * rowsPerPage;
    return {first, std::min(first + rowsPerPage, printableRows) - 1};
}

} // namespace kq904
