#pragma once
// The Channel Name form (`CChannelNameDlg`, caption "Channel Name"): edits the five-character
// name or the two-letter tag of one channel. Opened from the Channel Setting form.

#include <memory>

#include "form_dialog.h"
#include "forms/channel_name_form.h"

namespace kq904 {

class CChannelNameDlg : public FormDialog {
    Q_OBJECT
public:
    // Edits the name of `channel` (0-based) in `image`; the image is changed only by OK (and by
    // the repair of invalid stored characters on opening).
    CChannelNameDlg(RadioImage& image, int channel, QWidget* parent = nullptr);

private:
    ChannelNameForm form_;
};

// The form on `image`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeChannelNameScreenshot(RadioImage& image, int channel, QWidget* parent);

} // namespace kq904
