#include "channel_setting_form.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "channel_setting_ids.h"
#include "model/channel_label.h"
#include "model/frequency.h"
#include "model/tone_tables.h"

namespace kq904 {

namespace Id = ChannelSettingId;

namespace {

// Bytes taken by the first `count` characters of a UTF-8 text (a continuation byte belongs to the
// character before it).
std::size_t firstCharactersLength(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0u) != 0x80u && characters++ == count)
            return i;
    }
    return text.size();
}

constexpr unsigned kTxDisabled = ChannelRecord::timeOutTransmitDisabled;

enum class ToneType { Ctcss, Dcs, None };

// The entries of a tone list: the tones of the table, and the user-set entry "- - -" only
// while tone setting by user is on.
std::vector<std::string> toneEntries(ToneType type, bool userSet)
{
    std::vector<std::string> entries;
    if (type == ToneType::Ctcss) {
        const int count = userSet ? kCtcssUserSet + 1 : kCtcssUserSet;
        for (int i = 0; i < count; ++i)
            entries.emplace_back(kCtcssTable[static_cast<std::size_t>(i)]);
    } else if (type == ToneType::Dcs) {
        const int count = userSet ? kDcsUserSet + 1 : kDcsUserSet;
        for (int i = 0; i < count; ++i)
            entries.emplace_back(kDcsTable[static_cast<std::size_t>(i)]);
    }
    return entries;
}

// Marks `on` in a radio group and clears the others. The marked one is set first: a group of
// exclusive radio buttons ignores clearing its marked button.
void markRadio(Controls& controls, std::initializer_list<int> group, int on)
{
    controls.setChecked(on, true);
    for (int id : group)
        if (id != on)
            controls.setChecked(id, false);
}

void enable(Controls& controls, std::initializer_list<int> ids, bool on)
{
    for (int id : ids)
        controls.setEnabled(id, on);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int channelOfRow(unsigned activeRow, unsigned firstChannelLine)
{
    return static_cast<int>((activeRow - firstChannelLine) & 0xFFu);
}

ChannelSettingForm::ChannelSettingForm(
    RadioImage& image, Controls& controls, ChannelSettingHost& host)
    : image_(image)
    , controls_(controls)
    , host_(host)
{ }

Block<ChannelRecord>& ChannelSettingForm::record()
{
    return image_.channels[static_cast<std::size_t>(current_)];
}

Block<ChannelExtra>& ChannelSettingForm::extra()
{
    return image_.extras[static_cast<std::size_t>(current_)];
}

void ChannelSettingForm::open(int channel)
{
    current_ = std::clamp(channel, 0, image_.channelCount() - 1);
    std::vector<std::string> timeOuts(kTimeOutTable.begin(), kTimeOutTable.end());
    controls_.setItems(Id::timeOut, timeOuts);
    controls_.setEnabled(Id::modLevel, false);
    load();
}

// ---------------------------------------------------------------------------------------------
// load

void ChannelSettingForm::load()
{
    const bool wasBusy = busy_;
    busy_ = true;

    controls_.setItems(Id::txTone, {});
    controls_.setItems(Id::rxTone, {});

    // Selective calling needs the monitor disabled: the radio would otherwise open the
    // speaker before the call is recognised.
    if (extra().get(ChannelExtra::selectiveCalling)) {
        extra().set(ChannelExtra::monitorDisable, true);
        controls_.setEnabled(Id::monitorDisable, false);
    } else {
        controls_.setEnabled(Id::monitorDisable, true);
    }

    const bool txDisabled = record().get(ChannelRecord::timeOut) == kTxDisabled;
    loadTransmitter(txDisabled);
    loadToneType(false);

    // A tone index past its list (damaged data, or the user-set entry while tone setting by
    // user is off) is reset to the first tone.
    if (record().get(ChannelRecord::txTone) >= controls_.items(Id::txTone).size())
        record().set(ChannelRecord::txTone, 0);
    if (record().get(ChannelRecord::rxTone) >= controls_.items(Id::rxTone).size())
        record().set(ChannelRecord::rxTone, 0);

    loadBusyLockByTone(txDisabled);
    loadMarks();
    loadFrequencies();
    controls_.setText(Id::channelLabel, channelLabel(image_, current_));
    loadPttCode();

    busy_ = wasBusy;
}

void ChannelSettingForm::loadTransmitter(bool txDisabled)
{
    auto& r = record();
    controls_.setChecked(Id::txDisable, txDisabled);
    const std::initializer_list<int> transmitter = {Id::txFrequency, Id::txToneCtcss, Id::txToneDcs,
        Id::txToneNone, Id::highPower, Id::lowPower, Id::txNarrow, Id::txWide, Id::busyLockBclo,
        Id::busyLockRbclo, Id::copyTxFrequency, Id::copyTxTone, Id::timeOut};
    enable(controls_, transmitter, !txDisabled);
    if (txDisabled) {
        controls_.setSelectedIndex(Id::timeOut, 0);
        // Busy lock-out only matters to a channel that can transmit.
        r.set(ChannelRecord::busyLockBtlo, false);
        r.set(ChannelRecord::busyLockBclo, false);
        r.set(ChannelRecord::busyLockRbclo, false);
        r.set(ChannelRecord::busyLockRbtlo, false);
        enable(controls_, {Id::busyLockBtlo, Id::busyLockRbtlo}, false);
    } else {
        const unsigned code = r.get(ChannelRecord::timeOut);
        // Code 6 is never produced and has no entry: nothing is selected.
        controls_.setSelectedIndex(Id::timeOut, code < kTimeOutTable.size() ? int(code) : -1);
    }
    // The transmit tone is shown even while the transmitter is disabled (its controls are then
    // disabled), so that the next store writes the channel's own tone back rather than what
    // the controls last showed for another channel, and re-enabling the transmitter finds the
    // tone it had.
    loadToneType(true);
    if (txDisabled)
        controls_.setEnabled(Id::txTone, false);
}

void ChannelSettingForm::loadToneType(bool transmit)
{
    const auto& r = record();
    const bool ctcss =
        r.get(transmit ? ChannelRecord::txToneIsCtcss : ChannelRecord::rxToneIsCtcss);
    const bool dcs = r.get(transmit ? ChannelRecord::txToneIsDcs : ChannelRecord::rxToneIsDcs);
    const int idCtcss = transmit ? Id::txToneCtcss : Id::rxToneCtcss;
    const int idDcs = transmit ? Id::txToneDcs : Id::rxToneDcs;
    const int idNone = transmit ? Id::txToneNone : Id::rxToneNone;
    const int list = transmit ? Id::txTone : Id::rxTone;
    // CTCSS wins when both kinds are marked in the record.
    const ToneType type = ctcss ? ToneType::Ctcss : dcs ? ToneType::Dcs : ToneType::None;
    markRadio(controls_, {idCtcss, idDcs, idNone},
        type == ToneType::Ctcss     ? idCtcss
            : type == ToneType::Dcs ? idDcs
                                    : idNone);
    controls_.setItems(
        list, toneEntries(type, image_.general.get(GeneralSettings::toneSettingByUser)));
    controls_.setEnabled(list, type != ToneType::None);
}

void ChannelSettingForm::loadBusyLockByTone(bool txDisabled)
{
    auto& r = record();
    const bool rxHasTone = r.get(ChannelRecord::rxToneIsCtcss) || r.get(ChannelRecord::rxToneIsDcs);
    if (!rxHasTone) {
        // Busy lock by tone and monitoring by carrier need a receive sub-tone to compare.
        controls_.setChecked(Id::busyLockBtlo, false);
        controls_.setChecked(Id::busyLockRbtlo, false);
        enable(controls_, {Id::busyLockBtlo, Id::busyLockRbtlo}, false);
        r.set(ChannelRecord::busyLockBtlo, false);
        r.set(ChannelRecord::busyLockRbtlo, false);
        controls_.setChecked(Id::monitorByCarry, false);
        controls_.setEnabled(Id::monitorByCarry, false);
        return;
    }
    enable(controls_, {Id::busyLockBtlo, Id::busyLockRbtlo}, !txDisabled);
    controls_.setEnabled(Id::monitorByCarry, !extra().get(ChannelExtra::monitorDisable));
    controls_.setChecked(Id::busyLockBtlo, r.get(ChannelRecord::busyLockBtlo));
    controls_.setChecked(Id::busyLockRbtlo, r.get(ChannelRecord::busyLockRbtlo));
    controls_.setChecked(Id::monitorByCarry, r.get(ChannelRecord::monitorByCarrier));
}

void ChannelSettingForm::loadMarks()
{
    const auto& r = record();
    controls_.setChecked(Id::monitorDisable, extra().get(ChannelExtra::monitorDisable));
    controls_.setChecked(Id::busyLockBclo, r.get(ChannelRecord::busyLockBclo));
    controls_.setChecked(Id::busyLockRbclo, r.get(ChannelRecord::busyLockRbclo));
    controls_.setSelectedIndex(Id::rxTone, int(r.get(ChannelRecord::rxTone)));
    controls_.setSelectedIndex(Id::txTone, int(r.get(ChannelRecord::txTone)));
    controls_.setChecked(Id::scan, r.get(ChannelRecord::scan));
    markRadio(controls_, {Id::highPower, Id::lowPower},
        r.get(ChannelRecord::highPower) ? Id::highPower : Id::lowPower);
    controls_.setChecked(Id::crystalShift, !r.get(ChannelRecord::crystalShiftOff));
    markRadio(controls_, {Id::txNarrow, Id::txWide},
        r.get(ChannelRecord::txNarrow) ? Id::txNarrow : Id::txWide);
    markRadio(controls_, {Id::rxNarrow, Id::rxWide},
        r.get(ChannelRecord::rxWide) ? Id::rxWide : Id::rxNarrow);
    const bool noBusyLock = !r.get(ChannelRecord::busyLockBtlo)
        && !r.get(ChannelRecord::busyLockBclo) && !r.get(ChannelRecord::busyLockRbclo)
        && !r.get(ChannelRecord::busyLockRbtlo);
    if (noBusyLock)
        markRadio(controls_,
            {Id::busyLockBtlo, Id::busyLockBclo, Id::busyLockRbtlo, Id::busyLockRbclo,
                Id::busyLockNone},
            Id::busyLockNone);
    else
        controls_.setChecked(Id::busyLockNone, false);
}

void ChannelSettingForm::loadFrequencies()
{
    const std::uint32_t tx = transmitFrequency(image_, current_);
    controls_.setText(Id::txFrequency, formatMegahertz(tx));
    controls_.setChecked(Id::modLevel, inBand(image_, tx));
    controls_.setText(Id::rxFrequency, formatMegahertz(receiveFrequency(image_, current_)));
}

void ChannelSettingForm::loadPttCode()
{
    auto& x = extra();
    if (image_.dtmfVersion()) {
        const bool pttEnabled = x.get(ChannelExtra::pttCodeEnable);
        enable(controls_, {Id::pttCodeLabel, Id::pttCodeEnable, Id::selectiveCalling}, true);
        enable(controls_, {Id::pttCode, Id::pttCodeRange}, pttEnabled);
    } else {
        // Without the code functions the radio has no PTT code and no selective calling.
        enable(controls_,
            {Id::pttCodeLabel, Id::pttCodeEnable, Id::pttCode, Id::pttCodeRange,
                Id::selectiveCalling},
            false);
        x.set(ChannelExtra::pttCodeEnable, false);
        if (x.get(ChannelExtra::selectiveCalling)) {
            x.set(ChannelExtra::selectiveCalling, false);
            // Selective calling no longer holds the monitor disabled.
            controls_.setEnabled(Id::monitorDisable, true);
        }
    }
    controls_.setChecked(Id::pttCodeEnable, x.get(ChannelExtra::pttCodeEnable));
    controls_.setChecked(Id::selectiveCalling, x.get(ChannelExtra::selectiveCalling));

    const ChannelExtra::Field digits[] = {
        ChannelExtra::pttDigit1, ChannelExtra::pttDigit2, ChannelExtra::pttDigit3};
    std::string code;
    for (const ChannelExtra::Field& digit : digits) {
        if (x.get(digit) > 9)
            x.set(digit, 0);
        code += static_cast<char>('0' + x.get(digit));
    }
    controls_.setText(Id::pttCode, code);
}

// ---------------------------------------------------------------------------------------------
// store

void ChannelSettingForm::store()
{
    const bool wasBusy = busy_;
    busy_ = true;
    auto& r = record();
    auto& x = extra();

    x.set(ChannelExtra::selectiveCalling, controls_.checked(Id::selectiveCalling));

    r.set(ChannelRecord::txToneIsCtcss, controls_.checked(Id::txToneCtcss));
    r.set(ChannelRecord::txToneIsDcs, controls_.checked(Id::txToneDcs));
    r.set(ChannelRecord::rxToneIsCtcss, controls_.checked(Id::rxToneCtcss));
    r.set(ChannelRecord::rxToneIsDcs, controls_.checked(Id::rxToneDcs));

    // A tone list without a selection (no tone, so an empty list) stores the first index
    // rather than a value past every table.
    r.set(ChannelRecord::rxTone, unsigned(std::max(controls_.selectedIndex(Id::rxTone), 0)));
    r.set(ChannelRecord::txTone, unsigned(std::max(controls_.selectedIndex(Id::txTone), 0)));
    // A time-out list without a selection (a damaged code 6) stores as transmit disabled.
    const int timeOut = controls_.selectedIndex(Id::timeOut);
    r.set(ChannelRecord::timeOut, timeOut < 0 ? kTxDisabled : unsigned(timeOut));

    r.set(ChannelRecord::scan, controls_.checked(Id::scan));
    r.set(ChannelRecord::busyLockBclo, controls_.checked(Id::busyLockBclo));
    r.set(ChannelRecord::busyLockBtlo, controls_.checked(Id::busyLockBtlo));
    r.set(ChannelRecord::busyLockRbclo, controls_.checked(Id::busyLockRbclo));
    r.set(ChannelRecord::busyLockRbtlo, controls_.checked(Id::busyLockRbtlo));

    if (controls_.checked(Id::txDisable))
        r.set(ChannelRecord::timeOut, kTxDisabled);

    r.set(ChannelRecord::crystalShiftOff, !controls_.checked(Id::crystalShift));
    r.set(ChannelRecord::monitorByCarrier, controls_.checked(Id::monitorByCarry));
    r.set(ChannelRecord::txNarrow, !controls_.checked(Id::txWide));
    r.set(ChannelRecord::rxWide, controls_.checked(Id::rxWide));
    x.set(ChannelExtra::monitorDisable, controls_.checked(Id::monitorDisable));
    r.set(ChannelRecord::highPower, controls_.checked(Id::highPower));

    storeFrequencies();

    const bool pttEnabled = controls_.checked(Id::pttCodeEnable);
    x.set(ChannelExtra::pttCodeEnable, pttEnabled);
    if (image_.dtmfVersion())
        enable(controls_, {Id::pttCode, Id::pttCodeRange}, pttEnabled);

    busy_ = wasBusy;
}

void ChannelSettingForm::storeFrequencies()
{
    setTransmitFrequency(image_, current_, parseMegahertz(controls_.text(Id::txFrequency)));
    setReceiveFrequency(image_, current_, parseMegahertz(controls_.text(Id::rxFrequency)));
}

// ---------------------------------------------------------------------------------------------
// handlers

void ChannelSettingForm::onClicked(int id)
{
    if (busy_)
        return;
    switch (id) {
    case Id::txToneCtcss:
    case Id::txToneDcs:
    case Id::txToneNone:
    case Id::rxToneCtcss:
    case Id::rxToneDcs:
    case Id::rxToneNone:
    case Id::busyLockBtlo:
    case Id::busyLockBclo:
    case Id::busyLockRbtlo:
    case Id::busyLockRbclo:
    case Id::busyLockNone:
    case Id::monitorDisable:
    case Id::selectiveCalling:
        store();
        load();
        break;
    case Id::scan:
    case Id::highPower:
    case Id::lowPower:
    case Id::pttCodeEnable:
        store();
        break;
    case Id::txDisable:
        // Store takes the tick over; clearing it takes the time-out list's entry, which shows
        // "- - -" while the transmitter is disabled.
        store();
        load();
        break;
    case Id::previousChannel:
        stepPrevious();
        break;
    case Id::nextChannel:
        stepNext();
        break;
    case Id::copyTxFrequency:
        controls_.setText(Id::rxFrequency, controls_.text(Id::txFrequency));
        break;
    case Id::copyTxTone:
        copyTxTone();
        break;
    case Id::channelName:
        editName();
        break;
    case Id::channelAdd:
        addChannel();
        break;
    case Id::channelDelete:
        deleteChannel();
        break;
    default:
        break;
    }
}

void ChannelSettingForm::onTextChanged(int id)
{
    if (id == Id::pttCode)
        pttCodeChanged();
}

void ChannelSettingForm::pttCodeChanged()
{
    const std::string code = controls_.text(Id::pttCode);
    const std::size_t kept = firstCharactersLength(code, 3);
    if (kept < code.size()) {
        // The code has three digits: a fourth typed digit is dropped, and a longer text pasted
        // in is cut back to its first three characters at once (one character at a time, a long
        // paste would nest one text change in the next until the stack ran out). Putting the
        // text back raises this event again with the shortened text.
        controls_.setText(Id::pttCode, code.substr(0, kept));
        return;
    }
    if (code.size() != 3 || !std::all_of(code.begin(), code.end(), isDigit))
        return;
    auto& x = extra();
    x.set(ChannelExtra::pttDigit1, unsigned(code[0] - '0'));
    x.set(ChannelExtra::pttDigit2, unsigned(code[1] - '0'));
    x.set(ChannelExtra::pttDigit3, unsigned(code[2] - '0'));
}

void ChannelSettingForm::stepPrevious()
{
    store();
    current_ = current_ == 0 ? image_.channelCount() - 1 : current_ - 1;
    load();
}

void ChannelSettingForm::stepNext()
{
    store();
    current_ = current_ + 1 >= image_.channelCount() ? 0 : current_ + 1;
    load();
}

void ChannelSettingForm::copyTxTone()
{
    const bool ctcss = controls_.checked(Id::txToneCtcss);
    const bool dcs = controls_.checked(Id::txToneDcs);
    markRadio(controls_, {Id::rxToneCtcss, Id::rxToneDcs, Id::rxToneNone},
        ctcss     ? Id::rxToneCtcss
            : dcs ? Id::rxToneDcs
                  : Id::rxToneNone);
    store();
    load();
    // The receive tone itself is taken over by the next store, like any list selection.
    controls_.setSelectedIndex(Id::rxTone, controls_.selectedIndex(Id::txTone));
}

void ChannelSettingForm::editName()
{
    host_.runChannelName(current_);
    store();
    load();
}

void ChannelSettingForm::addChannel()
{
    store();
    const int count = image_.channelCount();
    if (count >= kChannelSlots)
        return;
    // The copy must land in a used slot: the current channel is always below the count.
    current_ = std::min(current_, count - 1);
    image_.setChannelCount(count + 1);
    // Every channel from the current one up moves one slot up, the highest first, so the slot
    // after the current channel holds a copy of it.
    for (int n = count - 1; n >= current_; --n) {
        image_.channels[std::size_t(n + 1)] = image_.channels[std::size_t(n)];
        image_.extras[std::size_t(n + 1)] = image_.extras[std::size_t(n)];
    }
    ++current_;
    // The copy is named after its new channel number; the channels that moved keep theirs.
    const auto name = defaultChannelName(current_); // "CH%02d" of the channel number
    auto nameBytes = extra().range(ChannelExtra::name);
    std::copy(name.begin(), name.end(), nameBytes.begin());
    load();
}

void ChannelSettingForm::deleteChannel()
{
    const int count = image_.channelCount();
    if (count <= 1)
        return;
    image_.setChannelCount(count - 1);
    // Edits of the deleted channel are dropped: it is not stored first. The last slot keeps
    // its old contents.
    for (int n = current_ + 1; n < kChannelSlots; ++n) {
        image_.channels[std::size_t(n - 1)] = image_.channels[std::size_t(n)];
        image_.extras[std::size_t(n - 1)] = image_.extras[std::size_t(n)];
    }
    if (current_ >= count - 1)
        --current_;
    load();
}

FormEnd ChannelSettingForm::onClose(CloseRoute route)
{
    switch (route) {
    case CloseRoute::OkButton:
        store();
        host_.writeTableFile(TableFile::Channel);
        // The channel count lives in setTab.bin.
        host_.writeTableFile(TableFile::Set);
        host_.sendRefreshNotification();
        return FormEnd::Accepted;
    case CloseRoute::CloseBox:
        store();
        host_.sendRefreshNotification();
        return FormEnd::Rejected;
    case CloseRoute::EnterKey:
        return FormEnd::Stay;
    case CloseRoute::EscapeKey:
    case CloseRoute::CancelButton:
        break;
    }
    return FormEnd::Rejected;
}

} // namespace kq904
