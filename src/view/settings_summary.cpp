#include "settings_summary.h"

#include <cstdio>
#include <span>
#include <string_view>

#include "model/byte_utils.h"
#include "view/digit_text.h"

namespace kq904 {

namespace {

std::string onOff(bool on)
{
    return on ? "On" : "Off";
}

// Places text into a field of spaces at a fixed character position.
void place(std::string& field, std::size_t position, std::string_view text)
{
    field.replace(position, text.size(), text);
}

std::string digitText(std::span<const std::uint8_t> digits)
{
    std::string text;
    for (const std::uint8_t d : digits)
        text += digitChar(d);
    return text;
}

std::string powerSaveText(const RadioImage& image)
{
    if (!image.general.get(GeneralSettings::powerSave))
        return "Off";
    static constexpr const char* kRatios[] = {"1:1", "1:2", "1:3", "1:4"};
    return kRatios[image.general.get(GeneralSettings::powerSaveRatio)];
}

std::string priorityChannelText(const RadioImage& image)
{
    char text[40];
    std::snprintf(text, sizeof text, "%2i, Function %s",
        static_cast<int>(image.general.get(GeneralSettings::priorityChannel)) + 1,
        image.general.get(GeneralSettings::priorityFunctionDisabled) ? "Disable" : "Enable");
    return text;
}

std::string homeChannelText(const RadioImage& image)
{
    if (image.general.get(GeneralSettings::homeChannelDisabled))
        return "Disable";
    char text[12];
    std::snprintf(
        text, sizeof text, "%2i", static_cast<int>(image.code.get(CodeSettings::homeChannel)) + 1);
    return text;
}

std::string aniShowTimeText(const RadioImage& image)
{
    switch (image.code.get(CodeSettings::aniShowTime)) {
    case 0:
        return "- - -";
    case 1:
        return " 5 Sec";
    case 2:
        return "15 Sec";
    default:
        return "30 Sec";
    }
}

std::string_view talkingTimeText(unsigned code)
{
    static constexpr std::string_view kTimes[] = {" 30 Sec", " 60 Sec", "120 Sec", "240 Sec"};
    return code < 4 ? kTimes[code] : "360 Sec";
}

} // namespace

std::string keyListText(const RadioImage& image)
{
    std::string text(45, ' ');
    place(text, 0, "On ,");
    if (image.general.get(GeneralSettings::userKeyUpDown))
        place(text, 10, "Channels,");
    if (image.general.get(GeneralSettings::userKeyMode))
        place(text, 20, "Mode,");
    if (image.general.get(GeneralSettings::userKeyScan))
        place(text, 30, "Scan,");
    if (image.general.get(GeneralSettings::userKeyEnt)) {
        place(text, 40, "ENT");
        text.resize(43);
    }
    return text;
}

std::string selCallText(const RadioImage& image)
{
    const auto& general = image.general;
    const auto& code = image.code;
    std::string text(80, ' ');
    place(text, 0, "Talking Time=");
    place(text, 14, talkingTimeText(code.get(CodeSettings::talkingTime)));
    place(text, 22, ",Unit ID=");
    const unsigned unitId[5] = {general.get(Identities::unitIdGeneral[0]),
        general.get(Identities::unitIdGeneral[1]), general.get(Identities::unitIdGeneral[2]),
        code.get(Identities::unitIdCode[0]), code.get(Identities::unitIdCode[1])};
    for (std::size_t i = 0; i < 5; ++i)
        text[32 + i] = digitChar(unitId[i]);
    place(text, 38, ",Priority ID=");
    for (std::size_t i = 0; i < 5; ++i)
        text[52 + i] = digitChar(code.get(Identities::allGroup[i]));
    place(text, 58, ",Group ID=");
    for (std::size_t i = 0; i < 5; ++i)
        text[69 + i] = digitChar(code.get(Identities::subGroup[i]));
    return text;
}

std::string killText(const RadioImage& image)
{
    return "Kill ID= " + unpackHexDigits(image.kill.range(KillSettings::killId))
        + "  Revive ID= " + unpackHexDigits(image.kill.range(KillSettings::reviveId));
}

std::vector<SummaryLine> settingsSummaryLines(const RadioImage& image)
{
    const auto& g = image.general;
    const auto& code = image.code;
    std::vector<SummaryLine> lines = {
        {"key Beep :", onOff(g.get(GeneralSettings::keyBeep))},
        {"Keylocked :", onOff(g.get(GeneralSettings::keysLocked))},
        {"Priority Mode :", onOff(g.get(GeneralSettings::priorityMode))},
        {"Tone setting by user enable :", onOff(g.get(GeneralSettings::toneSettingByUser))},
        {"Power Save Enable :", powerSaveText(image)},
        {"Priority Channel :", priorityChannelText(image)},
        {"Keypad lock with no user access :",
            onOff(g.get(GeneralSettings::keypadLockNoUserAccess))},
        {"Battery Low Warnning :", onOff(g.get(GeneralSettings::batteryLowWarning))},
        {"Keypad lock with user access :",
            g.get(GeneralSettings::keypadLockUserAccess) ? keyListText(image) : "Off"},
        {"Home Channel :", homeChannelText(image)},
        {"shuting Radio :", g.get(GeneralSettings::shuntingRadio) ? "Enable" : "Disable"},
        {"Power On Password :",
            g.get(GeneralSettings::powerOnPassword)
                ? digitText(image.id.range(IdSettings::password))
                : "Off"},
    };
    if (image.dtmfVersion()) {
        lines.push_back({"Ani Show Time :", aniShowTimeText(image)});
        lines.push_back({"Sel Call :", selCallText(image)});
        lines.push_back({"Emergency Code :",
            code.get(CodeSettings::emergencyCode)
                ? digitText(code.range(CodeSettings::emergencyDigits))
                : "Off"});
        lines.push_back(
            {"kill Feature:", g.get(GeneralSettings::killFeature) ? killText(image) : "Off"});
    }
    return lines;
}

void drawSettingsSummary(Canvas& canvas, const RadioImage& image)
{
    const int valueX = kSummaryValueColumn * canvas.averageCharWidth();
    int y = 0;
    for (const SummaryLine& line : settingsSummaryLines(image)) {
        canvas.drawText(0, y, line.label);
        canvas.drawText(valueX, y, line.value);
        y += canvas.charHeight();
    }
}

} // namespace kq904
