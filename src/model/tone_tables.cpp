#include "tone_tables.h"

namespace kq904 {

namespace {

template <std::size_t N>
std::string_view lookup(const std::array<std::string_view, N>& table, unsigned index)
{
    return index < N ? table[index] : std::string_view("?");
}

} // namespace

std::string_view ctcssText(unsigned index)
{
    return lookup(kCtcssTable, index);
}

std::string_view dcsText(unsigned index)
{
    return lookup(kDcsTable, index);
}

std::string_view timeOutText(unsigned code)
{
    return lookup(kTimeOutTable, code);
}

std::string toneText(const RadioImage& image, int channel, Half half)
{
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    const bool rx = half == Half::Receive;
    const unsigned index = record.get(rx ? ChannelRecord::rxTone : ChannelRecord::txTone);
    if (record.get(rx ? ChannelRecord::rxToneIsCtcss : ChannelRecord::txToneIsCtcss))
        return "T: " + std::string(ctcssText(index));
    if (record.get(rx ? ChannelRecord::rxToneIsDcs : ChannelRecord::txToneIsDcs))
        return "D: " + std::string(dcsText(index));
    return "- - -";
}

} // namespace kq904
