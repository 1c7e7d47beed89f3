#pragma once
// The Factory Setting form (`CFactorySettingDlg`, caption "Factory Setting"): alignment and
// model values. Only "OK" stores them into the image; it writes factoryTab.bin and setTab.bin
// into the data directory, closes the form and then emits refreshRequested().

#include <filesystem>
#include <memory>

#include "forms/factory_setting_form.h"
#include "settings_form_dialog.h"

namespace kq904 {

class CFactorySettingDlg : public SettingsFormDialog {
    Q_OBJECT
public:
    CFactorySettingDlg(RadioImage& image, std::filesystem::path dataDir, QWidget* parent = nullptr);

private:
    void buildWidgets();

    FactorySettingForm form_;
};

// The form on `image`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeFactorySettingScreenshot(RadioImage& image, QWidget* parent);

} // namespace kq904
