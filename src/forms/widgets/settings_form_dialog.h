#pragma once
// The common base of the General Setting, Code Function Setting, Kill Feature and Factory
// Setting dialogs: answers what their logic asks of the program (table files in the data
// directory, ending the form, the refresh notification). Each dialog opens the forms it leads
// to itself.

#include <filesystem>

#include "form_dialog.h"
#include "forms/settings_form_host.h"
#include "model/radio_image.h"

namespace kq904 {

class SettingsFormDialog : public FormDialog, protected SettingsFormHost {
    Q_OBJECT
signals:
    // The refresh notification: the image changed and the listing should redraw completely.
    // Of these forms only the Factory Setting form sends it, after "OK".
    void refreshRequested();

protected:
    SettingsFormDialog(
        const QString& caption, RadioImage& image, std::filesystem::path dataDir, QWidget* parent);

    RadioImage& image() { return image_; }
    const std::filesystem::path& dataDir() const { return dataDir_; }

    // SettingsFormHost
    void writeTableFile(TableFile file) override;
    void updateTableFile(TableFile file) override;
    // Only the form with the button asks for these; the others never do.
    void runCodeFunctionForm() override { }
    void runKillFeatureForm() override { }
    void sendRefresh() override;
    void endForm(FormEnd end) override;

    // A number shown in a sunken box (the channel displays of the General Setting form).
    QLabel* makeNumberDisplay(int id);

private:
    RadioImage& image_;
    std::filesystem::path dataDir_;
};

} // namespace kq904
