#pragma once
// How the program tells the user something that needs an answer: the link's outcomes ("READ
// OK", "Programming Fail"...), "Com Port Fail", a set file that could not be opened or saved.
// The program shows a modal message box with an OK button; tests put a recorder in its place so
// nothing waits for a click.

#include <QString>

class QWidget;

namespace kq904 {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // An outcome or a notice: an information box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A failure the user must know about: a warning box with an OK button.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // An outcome in the program's own words with the reason under it ("Com Port Fail", then
    // which device and why). Without a box of its own, the reason follows the text.
    virtual void showMessageWithReason(QWidget* parent, const QString& text, const QString& reason)
    {
        showMessage(parent, reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
    }
    // A question that needs a yes before something cannot be undone; No is the default answer.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& question) = 0;
};

// The real thing: QMessageBox, modal, titled "KQ904". The 15 ms tick keeps running while it is
// open, so a transfer goes on underneath.
class MessageBoxPresenter final : public MessagePresenter {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    // The reason goes into the box's informative text, below the message.
    void showMessageWithReason(
        QWidget* parent, const QString& text, const QString& reason) override;
    bool confirm(QWidget* parent, const QString& text, const QString& question) override;
};

} // namespace kq904
