#pragma once
// The Channel Setting form's logic: edits one channel's ChannelRecord and ChannelExtra in the
// radio image, steps through the channels, inserts and deletes channels. Most control actions
// store the whole form into the current channel at once; there is no separate copy (the window's
// undo history takes the form's changes as steps).

#include "forms/controls.h"
#include "model/radio_image.h"
#include "model/table_files.h"

namespace kq904 {

enum class ChannelListChange { Add, Delete };

// What the Channel Setting form needs from outside the radio image.
class ChannelSettingHost {
public:
    virtual ~ChannelSettingHost() = default;
    // Runs the Channel Name form modally on `channel`; true when it closed with OK.
    virtual bool runChannelName(int channel) = 0;
    // Writes one default table file from the image.
    virtual void writeTableFile(TableFile file) = 0;
    // The main window's refresh notification: the listing is redrawn from the image.
    virtual void sendRefresh() = 0;
    // Channel Add. and Channel Del. are steps of their own in the window's undo history: told
    // just before one moves channels (Channel Add. has stored the form by then) and just after.
    virtual void channelListChanging() { }
    virtual void channelListChanged(ChannelListChange) { }
};

// The channel the listing's selected row shows, as the form receives it: the row minus the
// leading rows, taken in 8 bits.
int channelOfRow(unsigned activeRow, unsigned firstChannelLine);

class ChannelSettingForm : public FormEvents {
public:
    ChannelSettingForm(RadioImage& image, Controls& controls, ChannelSettingHost& host);

    // Opens the form on `channel` (normally channelOfRow of the selection). A selection left
    // past the last channel (the channel count shrank since) opens on the last channel, so the
    // form never edits a slot outside the used channels.
    void open(int channel);

    int currentChannel() const { return current_; }

    void onClicked(int id) override;
    void onTextChanged(int id) override;
    // The "OK" button (channel_setting_ids::ok) stores, writes channelTab.bin and setTab.bin and
    // notifies; the close box stores and notifies; Escape ends with neither, dropping what no
    // store has taken over yet; Enter away from a push button does nothing.
    FormEnd onClose(CloseRoute route) override;

    // Fills every control from the current channel and sets which controls are enabled;
    // repairs out-of-range fields of the channel on the way.
    void load();
    // Writes every control back into the current channel.
    void store();

private:
    void loadTransmitter(bool txDisabled);
    void loadToneType(bool transmit);
    void loadBusyLockByTone(bool txDisabled);
    void loadMarks();
    void loadFrequencies();
    void loadPttCode();
    void storeFrequencies();

    void stepPrevious();
    void stepNext();
    void addChannel();
    void deleteChannel();
    void copyTxTone();
    void editName();
    void pttCodeChanged();

    Block<ChannelRecord>& record();
    Block<ChannelExtra>& extra();

    RadioImage& image_;
    Controls& controls_;
    ChannelSettingHost& host_;
    int current_ = 0;
    // Set while load or store runs, so that a control raising an event because the logic
    // changed it does not start another store.
    bool busy_ = false;
};

} // namespace kq904
