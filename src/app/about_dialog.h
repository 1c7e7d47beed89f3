#pragma once
// Help > About: the application icon, the program's version and an OK button.

#include <QDialog>

namespace kq904 {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "About KQ904";
    static constexpr const char* kVersionLine = "KQ904 Version 5.12";

    explicit AboutDialog(QWidget* parent);
};

} // namespace kq904
