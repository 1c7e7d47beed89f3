#pragma once
// The Code Function Setting form (`CCodeFunctionDlg`, caption "Code Function Setting"): the
// DTMF code functions, written into the image as they are changed. It writes no file. Its
// "Kill Feature" button opens the Kill Feature form on top.

#include <filesystem>
#include <memory>

#include "forms/code_function_form.h"
#include "settings_form_dialog.h"

namespace kq904 {

class CCodeFunctionDlg : public SettingsFormDialog {
    Q_OBJECT
public:
    // `dataDir` is where the Kill Feature form keeps killTab.bin.
    CCodeFunctionDlg(RadioImage& image, std::filesystem::path dataDir, QWidget* parent = nullptr);

private:
    void buildWidgets();
    void runKillFeatureForm() override;

    CodeFunctionForm form_;
};

// The form on `image`, ready to show or grab, as the screenshots take it.
std::unique_ptr<QDialog> makeCodeFunctionScreenshot(RadioImage& image, QWidget* parent);

} // namespace kq904
