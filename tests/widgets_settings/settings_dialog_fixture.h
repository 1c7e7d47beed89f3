#pragma once
// Shared by the settings dialog tests: a radio image, a temporary data directory for the table
// files, shown dialogs and typed access to their widgets by control id.

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "forms/widgets/form_dialog.h"
#include "link/file_path.h"
#include "model/radio_image.h"

namespace kq904::testing {

class SettingsDialogTest : public ::testing::Test {
protected:
    std::filesystem::path dataDir() const { return toPath(dir.path()); }
    bool fileExists(const char* name) const { return std::filesystem::exists(dataDir() / name); }
    std::vector<std::uint8_t> fileBytes(const char* name) const
    {
        std::ifstream in(dataDir() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // A shown dialog, so that keys and clicks reach the widgets as a user's would.
    template <typename Dialog> std::unique_ptr<Dialog> openDialog()
    {
        auto dialog = std::make_unique<Dialog>(image, dataDir());
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    template <typename W> static W* widget(FormDialog& dialog, int id)
    {
        auto* w = qobject_cast<W*>(dialog.controls().widget(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    // A user's click on a check box or radio button: on its indicator, which a tick stretched
    // across its column does not have at its centre.
    static void tick(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // Runs `inside` once the next modal dialog is up (a form opened on top of another).
    template <typename Dialog, typename F> static void whenModal(F inside)
    {
        QTimer::singleShot(0, [inside] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
    }

    RadioImage image;
    QTemporaryDir dir;
};

} // namespace kq904::testing
