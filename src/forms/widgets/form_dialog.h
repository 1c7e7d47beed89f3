#pragma once
// The base of every form window: a modal dialog that owns the registry of its controls and
// routes its close requests (OK and Cancel buttons, Enter, Escape, close box) to the form's
// logic, which decides how the form ends.
//
// A form dialog is built in three steps in its constructor:
//   1. make the widgets with the make* helpers (each registered under its resource id) and lay
//      them out with Qt layouts;
//   2. create the logic over controls();
//   3. bindLogic(logic), then run the logic's opening steps, so that texts the logic sets while
//      opening already raise their change events, as the forms rely on.

// The widget headers come along: every form dialog uses the widgets the make* helpers return.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "filtered_edits.h"
#include "widget_controls.h"

namespace kq904 {

class FormDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormDialog(const QString& caption, QWidget* parent = nullptr);

    WidgetControls& controls() { return controls_; }

    // Asks the form to end as the user would by `route`; true when it ended. Also what the
    // buttons, the keys and the close box do.
    bool requestClose(CloseRoute route);

protected:
    // From now on the widgets' events and the close requests go to `logic`.
    void bindLogic(FormEvents& logic);

    // Widgets parented to this dialog and registered under `id`. A push button kIdOk is the
    // dialog's default button.
    QPushButton* makeButton(int id, const QString& text);
    QCheckBox* makeCheckBox(int id, const QString& text);
    QRadioButton* makeRadioButton(int id, const QString& text);
    QLineEdit* makeLineEdit(int id);
    template <typename Edit> Edit* makeEdit(int id) { return controls_.add(id, new Edit(this)); }
    QComboBox* makeComboBox(int id);
    QProgressBar* makeProgressBar(int id);
    // A static text the logic addresses by id.
    QLabel* makeLabel(int id, const QString& text);
    // A static text no one addresses.
    QLabel* label(const QString& text);

    // Layout helpers: a group box around `content`; a row of a caption and its field (the
    // caption is the field's buddy, so "&Port" gives Alt+P).
    QGroupBox* groupBox(const QString& title, QLayout* content);
    QLayout* labelledRow(const QString& caption, QWidget* field);

    // Pixels for a size in the dialog units the radio tools' forms are drawn in (a quarter of
    // the average character width, an eighth of the character height of this dialog's font).
    QSize dialogUnits(int width, int height) const;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The Tab key follows the layout the first time the form is shown (tab_order.h).
    void showEvent(QShowEvent* event) override;

private:
    WidgetControls controls_;
    FormEvents* logic_ = nullptr;
    bool tabsOrdered_ = false;
};

} // namespace kq904
