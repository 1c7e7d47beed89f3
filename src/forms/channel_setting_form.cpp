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

namespace ids = channel_setting_ids;

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
    controls_.setItems(ids::timeOut, timeOuts);
    controls_.setEnabled(ids::modLevel, false);
    load();
}

// ---------------------------------------------------------------------------------------------
// load

void ChannelSettingForm::load()
{
    const bool wasBusy = busy_;
    busy_ = true;

    controls_.setItems(ids::txTone, {});
    controls_.setItems(ids::rxTone, {});

    // Selective calling needs the monitor disabled: the radio would otherwise open the
    // speaker before the call is recognised.
    if (extra().get(ChannelExtra::selectiveCalling)) {
        extra().set(ChannelExtra::monitorDisable, true);
        controls_.setEnabled(ids::monitorDisable, false);
    } else {
        controls_.setEnabled(ids::monitorDisable, true);
    }

    const bool txDisabled = record().get(ChannelRecord::timeOut) == kTxDisabled;
    loadTransmitter(txDisabled);
    loadToneType(false);

    // A tone index past its list (damaged data, or the user-set entry while tone setting by
    // user is off) is reset to the first tone.
    if (record().get(ChannelRecord::txTone) >= controls_.items(ids::txTone).size())
        record().set(ChannelRecord::txTone, 0);
    if (record().get(ChannelRecord::rxTone) >= controls_.items(ids::rxTone).size())
        record().set(ChannelRecord::rxTone, 0);

    loadBusyLockByTone(txDisabled);
    loadMarks();
    loadFrequencies();
    controls_.setText(ids::channelLabel, channelLabel(image_, current_));
    loadPttCode();

    busy_ = wasBusy;
}

void ChannelSettingForm::loadTransmitter(bool txDisabled)
{
    auto& r = record();
    controls_.setChecked(ids::txDisable, txDisabled);
    const std::initializer_list<int> transmitter = {ids::txFrequency, ids::txToneCtcss,
        ids::txToneDcs, ids::txToneNone, ids::highPower, ids::lowPower, ids::txNarrow, ids::txWide,
        ids::busyLockBclo, ids::busyLockRbclo, ids::copyTxFrequency, ids::copyTxTone, ids::timeOut};
    enable(controls_, transmitter, !txDisabled);
    if (txDisabled) {
        controls_.setSelectedIndex(ids::timeOut, 0);
        // Busy lock-out only matters to a channel that can transmit.
        r.set(ChannelRecord::busyLockBtlo, false);
        r.set(ChannelRecord::busyLockBclo, false);
        r.set(ChannelRecord::busyLockRbclo, false);
        r.set(ChannelRecord::busyLockRbtlo, false);
        enable(controls_, {ids::busyLockBtlo, ids::busyLockRbtlo}, false);
    } else {
        const unsigned code = r.get(ChannelRecord::timeOut);
        // Code 6 is never produced and has no entry: nothing is selected.
        controls_.setSelectedIndex(ids::timeOut, code < kTimeOutTable.size() ? int(code) : -1);
    }
    // The transmit tone is shown even while the transmitter is disabled (its controls are then
    // disabled), so that the next store writes the channel's own tone back rather than what
    // the controls last showed for another channel, and re-enabling the transmitter finds the
    // tone it had.
    loadToneType(true);
    if (txDisabled)
        controls_.setEnabled(ids::txTone, false);
}

void ChannelSettingForm::loadToneType(bool transmit)
{
    const auto& r = record();
    const bool ctcss =
        r.get(transmit ? ChannelRecord::txToneIsCtcss : ChannelRecord::rxToneIsCtcss);
    const bool dcs = r.get(transmit ? ChannelRecord::txToneIsDcs : ChannelRecord::rxToneIsDcs);
    const int idCtcss = transmit ? ids::txToneCtcss : ids::rxToneCtcss;
    const int idDcs = transmit ? ids::txToneDcs : ids::rxToneDcs;
    const int idNone = transmit ? ids::txToneNone : ids::rxToneNone;
    const int list = transmit ? ids::txTone : ids::rxTone;
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
        controls_.setChecked(ids::busyLockBtlo, false);
        controls_.setChecked(ids::busyLockRbtlo, false);
        enable(controls_, {ids::busyLockBtlo, ids::busyLockRbtlo}, false);
        r.set(ChannelRecord::busyLockBtlo, false);
        r.set(ChannelRecord::busyLockRbtlo, false);
        controls_.setChecked(ids::monitorByCarry, false);
        controls_.setEnabled(ids::monitorByCarry, false);
        return;
    }
    enable(controls_, {ids::busyLockBtlo, ids::busyLockRbtlo}, !txDisabled);
    controls_.setEnabled(ids::monitorByCarry, !extra().get(ChannelExtra::monitorDisable));
    controls_.setChecked(ids::busyLockBtlo, r.get(ChannelRecord::busyLockBtlo));
    controls_.setChecked(ids::busyLockRbtlo, r.get(ChannelRecord::busyLockRbtlo));
    controls_.setChecked(ids::monitorByCarry, r.get(ChannelRecord::monitorByCarrier));
}

void ChannelSettingForm::loadMarks()
{
    const auto& r = record();
    controls_.setChecked(ids::monitorDisable, extra().get(ChannelExtra::monitorDisable));
    controls_.setChecked(ids::busyLockBclo, r.get(ChannelRecord::busyLockBclo));
    controls_.setChecked(ids::busyLockRbclo, r.get(ChannelRecord::busyLockRbclo));
    controls_.setSelectedIndex(ids::rxTone, int(r.get(ChannelRecord::rxTone)));
    controls_.setSelectedIndex(ids::txTone, int(r.get(ChannelRecord::txTone)));
    controls_.setChecked(ids::scan, r.get(ChannelRecord::scan));
    markRadio(controls_, {ids::highPower, ids::lowPower},
        r.get(ChannelRecord::highPower) ? ids::highPower : ids::lowPower);
    controls_.setChecked(ids::crystalShift, !r.get(ChannelRecord::crystalShiftOff));
    markRadio(controls_, {ids::txNarrow, ids::txWide},
        r.get(ChannelRecord::txNarrow) ? ids::txNarrow : ids::txWide);
    markRadio(controls_, {ids::rxNarrow, ids::rxWide},
        r.get(ChannelRecord::rxWide) ? ids::rxWide : ids::rxNarrow);
    const bool noBusyLock = !r.get(ChannelRecord::busyLockBtlo)
        && !r.get(ChannelRecord::busyLockBclo) && !r.get(ChannelRecord::busyLockRbclo)
        && !r.get(ChannelRecord::busyLockRbtlo);
    if (noBusyLock)
        markRadio(controls_,
            {ids::busyLockBtlo, ids::busyLockBclo, ids::busyLockRbtlo, ids::busyLockRbclo,
                ids::busyLockNone},
            ids::busyLockNone);
    else
        controls_.setChecked(ids::busyLockNone, false);
}

void ChannelSettingForm::loadFrequencies()
{
    const std::uint32_t tx = transmitFrequency(image_, current_);
    controls_.setText(ids::txFrequency, formatMegahertz(tx));
    controls_.setChecked(ids::modLevel, inBand(image_, tx));
    controls_.setText(ids::rxFrequency, formatMegahertz(receiveFrequency(image_, current_)));
}

void ChannelSettingForm::loadPttCode()
{
    auto& x = extra();
    if (image_.dtmfVersion()) {
        const bool pttEnabled = x.get(ChannelExtra::pttCodeEnable);
        enable(controls_, {ids::pttCodeLabel, ids::pttCodeEnable, ids::selectiveCalling}, true);
        enable(controls_, {ids::pttCode, ids::pttCodeRange}, pttEnabled);
    } else {
        // Without the code functions the radio has no PTT code and no selective calling.
        enable(controls_,
            {ids::pttCodeLabel, ids::pttCodeEnable, ids::pttCode, ids::pttCodeRange,
                ids::selectiveCalling},
            false);
        x.set(ChannelExtra::pttCodeEnable, false);
        if (x.get(ChannelExtra::selectiveCalling)) {
            x.set(ChannelExtra::selectiveCalling, false);
            // Selective calling no longer holds the monitor disabled.
            controls_.setEnabled(ids::monitorDisable, true);
        }
    }
    controls_.setChecked(ids::pttCodeEnable, x.get(ChannelExtra::pttCodeEnable));
    controls_.setChecked(ids::selectiveCalling, x.get(ChannelExtra::selectiveCalling));

    const ChannelExtra::Field digits[] = {
        ChannelExtra::pttDigit1, ChannelExtra::pttDigit2, ChannelExtra::pttDigit3};
    std::string code;
    for (const ChannelExtra::Field& digit : digits) {
        if (x.get(digit) > 9)
            x.set(digit, 0);
        code += static_cast<char>('0' + x.get(digit));
    }
    controls_.setText(ids::pttCode, code);
}

// ---------------------------------------------------------------------------------------------
// store

void ChannelSettingForm::store()
{
    const bool wasBusy = busy_;
    busy_ = true;
    auto& r = record();
    auto& x = extra();

    x.set(ChannelExtra::selectiveCalling, controls_.checked(ids::selectiveCalling));

    r.set(ChannelRecord::txToneIsCtcss, controls_.checked(ids::txToneCtcss));
    r.set(ChannelRecord::txToneIsDcs, controls_.checked(ids::txToneDcs));
    r.set(ChannelRecord::rxToneIsCtcss, controls_.checked(ids::rxToneCtcss));
    r.set(ChannelRecord::rxToneIsDcs, controls_.checked(ids::rxToneDcs));

    // A tone list without a selection (no tone, so an empty list) stores the first index
    // rather than a value past every table.
    r.set(ChannelRecord::rxTone, unsigned(std::max(controls_.selectedIndex(ids::rxTone), 0)));
    r.set(ChannelRecord::txTone, unsigned(std::max(controls_.selectedIndex(ids::txTone), 0)));
    // A time-out list without a selection (a damaged code 6) stores as transmit disabled.
    const int timeOut = controls_.selectedIndex(ids::timeOut);
    r.set(ChannelRecord::timeOut, timeOut < 0 ? kTxDisabled : unsigned(timeOut));

    r.set(ChannelRecord::scan, controls_.checked(ids::scan));
    r.set(ChannelRecord::busyLockBclo, controls_.checked(ids::busyLockBclo));
    r.set(ChannelRecord::busyLockBtlo, controls_.checked(ids::busyLockBtlo));
    r.set(ChannelRecord::busyLockRbclo, controls_.checked(ids::busyLockRbclo));
    r.set(ChannelRecord::busyLockRbtlo, controls_.checked(ids::busyLockRbtlo));

    if (controls_.checked(ids::txDisable))
        r.set(ChannelRecord::timeOut, kTxDisabled);

    r.set(ChannelRecord::crystalShiftOff, !controls_.checked(ids::crystalShift));
    r.set(ChannelRecord::monitorByCarrier, controls_.checked(ids::monitorByCarry));
    r.set(ChannelRecord::txNarrow, !controls_.checked(ids::txWide));
    r.set(ChannelRecord::rxWide, controls_.checked(ids::rxWide));
    x.set(ChannelExtra::monitorDisable, controls_.checked(ids::monitorDisable));
    r.set(ChannelRecord::highPower, controls_.checked(ids::highPower));

    storeFrequencies();

    const bool pttEnabled = controls_.checked(ids::pttCodeEnable);
    x.set(ChannelExtra::pttCodeEnable, pttEnabled);
    if (image_.dtmfVersion())
        enable(controls_, {ids::pttCode, ids::pttCodeRange}, pttEnabled);

    busy_ = wasBusy;
}

void ChannelSettingForm::storeFrequencies()
{
    setTransmitFrequency(image_, current_, parseMegahertz(controls_.text(ids::txFrequency)));
    setReceiveFrequency(image_, current_, parseMegahertz(controls_.text(ids::rxFrequency)));
}

// ---------------------------------------------------------------------------------------------
// handlers

void ChannelSettingForm::onClicked(int id)
{
    if (busy_)
        return;
    switch (id) {
    case ids::txToneCtcss:
    case ids::txToneDcs:
    case ids::txToneNone:
    case ids::rxToneCtcss:
    case ids::rxToneDcs:
    case ids::rxToneNone:
    case ids::busyLockBtlo:
    case ids::busyLockBclo:
    case ids::busyLockRbtlo:
    case ids::busyLockRbclo:
    case ids::busyLockNone:
    case ids::monitorDisable:
    case ids::selectiveCalling:
        store();
        load();
        break;
    case ids::scan:
    case ids::highPower:
    case ids::lowPower:
    case ids::pttCodeEnable:
        store();
        break;
    case ids::txDisable:
        // Store takes the tick over; clearing it takes the time-out list's entry, which shows
        // "- - -" while the transmitter is disabled.
        store();
        load();
        break;
    case ids::previousChannel:
        stepPrevious();
        break;
    case ids::nextChannel:
        stepNext();
        break;
    case ids::copyTxFrequency:
        controls_.setText(ids::rxFrequency, controls_.text(ids::txFrequency));
        break;
    case ids::copyTxTone:
        copyTxTone();
        break;
    case ids::channelName:
        editName();
        break;
    case ids::channelAdd:
        addChannel();
        break;
    case ids::channelDelete:
        deleteChannel();
        break;
    default:
        break;
    }
}

void ChannelSettingForm::onTextChanged(int id)
{
    if (id == ids::pttCode)
        pttCodeChanged();
}

void ChannelSettingForm::pttCodeChanged()
{
    const std::string code = controls_.text(ids::pttCode);
    const std::size_t kept = firstCharactersLength(code, 3);
    if (kept < code.size()) {
        // The code has three digits: a fourth typed digit is dropped, and a longer text pasted
        // in is cut back to its first three characters at once (one character at a time, a long
        // paste would nest one text change in the next until the stack ran out). Putting the
        // text back raises this event again with the shortened text.
        controls_.setText(ids::pttCode, code.substr(0, kept));
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
    const bool ctcss = controls_.checked(ids::txToneCtcss);
    const bool dcs = controls_.checked(ids::txToneDcs);
    markRadio(controls_, {ids::rxToneCtcss, ids::rxToneDcs, ids::rxToneNone},
        ctcss     ? ids::rxToneCtcss
            : dcs ? ids::rxToneDcs
                  : ids::rxToneNone);
    store();
    load();
    // The receive tone itself is taken over by the next store, like any list selection.
    controls_.setSelectedIndex(ids::rxTone, controls_.selectedIndex(ids::txTone));
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
    host_.channelListChanging();
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
    host_.channelListChanged(ChannelListChange::Add);
}

void ChannelSettingForm::deleteChannel()
{
    const int count = image_.channelCount();
    if (count <= 1)
        return;
    host_.channelListChanging();
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
    host_.channelListChanged(ChannelListChange::Delete);
}

FormEnd ChannelSettingForm::onClose(CloseRoute route)
{
    switch (route) {
    case CloseRoute::OkButton:
        store();
        host_.writeTableFile(TableFile::Channel);
        // The channel count lives in setTab.bin.
        host_.writeTableFile(TableFile::Set);
        host_.sendRefresh();
        return FormEnd::Accepted;
    case CloseRoute::CloseBox:
        store();
        host_.sendRefresh();
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
