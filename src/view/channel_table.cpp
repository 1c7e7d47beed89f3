#include "channel_table.h"

#include <cstdio>
#include <string>

#include "model/channel_label.h"
#include "model/frequency.h"
#include "model/tone_tables.h"
#include "view/digit_text.h"
#include "view/listing_rows.h"

namespace kq904 {

namespace {

void drawCell(Canvas& canvas, int column, int y, std::string_view text)
{
    canvas.drawText(
        kChannelColumns[static_cast<std::size_t>(column)].x * canvas.averageCharWidth(), y, text);
}

void drawHeaderLine(Canvas& canvas, const RadioImage& image, int headerLine, int y)
{
    // The third header line is empty in every column.
    if (headerLine == 2)
        return;
    const bool dtmf = image.dtmfVersion();
    for (std::size_t column = 0; column < kChannelColumns.size(); ++column) {
        const ChannelColumn& c = kChannelColumns[column];
        if (c.dtmfOnly && !dtmf)
            continue;
        drawCell(canvas, static_cast<int>(column), y, headerLine == 0 ? c.header1 : c.header2);
    }
}

// "%8.5f  ": the two trailing spaces clear whatever stood there before.
std::string frequencyCell(std::uint32_t hertz)
{
    return formatMegahertz(hertz) + "  ";
}

std::string_view busyLockOutText(const Block<ChannelRecord>& record)
{
    if (record.get(ChannelRecord::busyLockBclo))
        return "BC";
    if (record.get(ChannelRecord::busyLockBtlo))
        return "BT";
    if (record.get(ChannelRecord::busyLockRbclo))
        return "RBC";
    if (record.get(ChannelRecord::busyLockRbtlo))
        return "RBT";
    return "- - -";
}

std::string pttCodeText(const Block<ChannelExtra>& extra)
{
    if (!extra.get(ChannelExtra::pttCodeEnable))
        return "- - -";
    return {digitChar(extra.get(ChannelExtra::pttDigit1)),
        digitChar(extra.get(ChannelExtra::pttDigit2)),
        digitChar(extra.get(ChannelExtra::pttDigit3))};
}

void drawChannelLine(Canvas& canvas, RadioImage& image, int channel, int y)
{
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    const auto& extra = image.extras[static_cast<std::size_t>(channel)];
    const bool transmitEnabled =
        record.get(ChannelRecord::timeOut) < ChannelRecord::timeOutTransmitDisabled;

    char number[12];
    std::snprintf(number, sizeof number, "%2d", channel + 1);
    drawCell(canvas, 0, y, number);
    drawCell(canvas, 1, y, channelLabel(image, channel));
    if (transmitEnabled)
        drawCell(canvas, 2, y, frequencyCell(transmitFrequency(image, channel)));
    drawCell(canvas, 3, y, frequencyCell(receiveFrequency(image, channel)));
    if (transmitEnabled)
        drawCell(canvas, 4, y, record.get(ChannelRecord::highPower) ? " H" : " L ");
    drawCell(canvas, 5, y, record.get(ChannelRecord::crystalShiftOff) ? "- - -" : " On");
    std::string_view monitor = "Normal";
    if (extra.get(ChannelExtra::monitorDisable))
        monitor = "Disable";
    else if (record.get(ChannelRecord::monitorByCarrier))
        monitor = "Carry";
    drawCell(canvas, 6, y, monitor);
    drawCell(canvas, 7, y, busyLockOutText(record));
    drawCell(canvas, 8, y, record.get(ChannelRecord::scan) ? " On" : "- - -");
    if (transmitEnabled) {
        drawCell(canvas, 9, y, timeOutText(record.get(ChannelRecord::timeOut)));
        drawCell(canvas, 10, y, toneText(image, channel, Half::Transmit));
    }
    drawCell(canvas, 11, y, toneText(image, channel, Half::Receive));
    if (transmitEnabled)
        drawCell(canvas, 12, y, record.get(ChannelRecord::txNarrow) ? " N" : " W");
    drawCell(canvas, 13, y, record.get(ChannelRecord::rxWide) ? " W" : " N");
    if (image.dtmfVersion()) {
        drawCell(canvas, 14, y, pttCodeText(extra));
        drawCell(canvas, 15, y, extra.get(ChannelExtra::selectiveCalling) ? "On" : "- - -");
    }
}

} // namespace

void drawLine(
    Canvas& canvas, RadioImage& image, int lineNumber, int y, bool selected, int firstChannelLine)
{
    const bool screen = !canvas.isPrinting();
    if (screen) {
        canvas.fillRowBackground(y, canvas.charHeight(), selected);
        canvas.setSelectedText(selected);
    }

    // On paper the settings summary takes the lines above the header.
    const int headerStart = firstChannelLine > kScreenFirstChannelLine ? kPrintHeaderFirstRow : 0;
    if (lineNumber >= headerStart && lineNumber < headerStart + kHeaderRows) {
        drawHeaderLine(canvas, image, lineNumber - headerStart, y);
    } else if (lineNumber >= firstChannelLine) {
        const int channel = lineNumber - firstChannelLine;
        if (channel < image.channelCount())
            drawChannelLine(canvas, image, channel, y);
    }

    if (screen && selected)
        canvas.setSelectedText(false);
}

} // namespace kq904
