#pragma once
// Help > About: the application icon, the program's version and an OK button.

#include <QDialog>

namespace kq904 {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "About KQ904";
    // "KQ904 Version 5.12"
    static QString versionLine();

    explicit AboutDialog(QWidget* parent);
};

} // namespace kq904
