#pragma once
// The Kill Feature form (`CKillFeatureDlg`, caption "killFeature"): the kill flag, the Kill ID,
// revive over the air and the Revive ID. Only "OK" changes the image; it then brings
// killTab.bin in the data directory up to date.

#include <filesystem>
#include <memory>

#include "forms/kill_feature_form.h"
#include "settings_form_dialog.h"

namespace kq904 {

class CKillFeatureDlg : public SettingsFormDialog {
    Q_OBJECT
public:
    CKillFeatureDlg(RadioImage& image, std::filesystem::path dataDir, QWidget* parent = nullptr);

private:
    void buildWidgets();

    KillFeatureForm form_;
};

// The form on `image`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeKillFeatureScreenshot(RadioImage& image, QWidget* parent);

} // namespace kq904
