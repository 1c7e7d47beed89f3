#pragma once
// The Channel Setting form (`CChannelSettingDlg`, caption "Channel Setting"): edits one channel
// at a time in the radio image, steps through the channels, adds and deletes channels. Its
// "OK" writes channelTab.bin and setTab.bin into the data directory.

#include <filesystem>
#include <memory>

#include "form_dialog.h"
#include "forms/channel_setting_form.h"

namespace kq904 {

class CChannelSettingDlg : public FormDialog, private ChannelSettingHost {
    Q_OBJECT
public:
    // Opens on `channel` (0-based; channelOfRow of the listing's selection). A channel past the
    // last used one opens the last. The table files go to `dataDir`.
    CChannelSettingDlg(
        RadioImage& image, std::filesystem::path dataDir, int channel, QWidget* parent = nullptr);

    int currentChannel() const { return form_.currentChannel(); }

signals:
    // The refresh notification: the image changed and the listing should redraw completely.
    // Sent by "OK" and by the close box.
    void refreshRequested();
    // Just before Channel Add. or Channel Del. moves channels, and just after: the window's undo
    // history makes each a step of its own.
    void channelsMoving();
    void channelsMoved(ChannelListChange change);

private:
    void buildWidgets();

    // ChannelSettingHost
    bool runChannelName(int channel) override;
    void writeTableFile(TableFile file) override;
    void sendRefresh() override;
    void channelListChanging() override { emit channelsMoving(); }
    void channelListChanged(ChannelListChange change) override { emit channelsMoved(change); }

    RadioImage& image_;
    std::filesystem::path dataDir_;
    ChannelSettingForm form_;
};

// The form on `image`, showing `channel`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeChannelSettingScreenshot(
    RadioImage& image, int channel, QWidget* parent);

} // namespace kq904
