#pragma once
// The General Setting form (`CGeneralSettingDlg`, caption "GeneralSetting"): the radio-wide
// settings, written into the image as they are changed. "OK" also writes setTab.bin into the
// data directory. Its "Code Function" button opens the Code Function Setting form on top.

#include <filesystem>
#include <memory>

#include "forms/general_setting_form.h"
#include "settings_form_dialog.h"

namespace kq904 {

class CGeneralSettingDlg : public SettingsFormDialog {
    Q_OBJECT
public:
    CGeneralSettingDlg(RadioImage& image, std::filesystem::path dataDir, QWidget* parent = nullptr);

private:
    void buildWidgets();
    void runCodeFunctionForm() override;

    GeneralSettingForm form_;
};

// The form on `image`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeGeneralSettingScreenshot(RadioImage& image, QWidget* parent);

} // namespace kq904
