#pragma once
// The Qt side of a form's controls: a registry of the dialog's widgets by resource id that
// implements Controls on them and forwards what the user does to the form's logic.
//
// Supported widgets and what each Controls call means for them:
//   QAbstractButton (check box, radio button, push button): checked/setChecked, text = caption;
//     a user click raises onClicked; a push button with id kIdOk or kIdCancel raises a close
//     request (OkButton, CancelButton) through the close handler instead.
//   QLineEdit (and the filtered fields): text/setText; every change of the text, typed or set,
//     raises onTextChanged, also when the logic sets the text the field already holds.
//   QComboBox: items/setItems, selectedIndex/setSelectedIndex, text = current text (editable
//     combos: the edit text); a choice by the user raises onSelectionChanged, a selection made
//     by the logic raises nothing.
//   QLabel, QGroupBox: text/setText (no event).
//   QProgressBar: setProgress.
// Every widget: enabled/setEnabled, shown/setShown.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "forms/controls.h"

namespace kq904 {

class WidgetControls : public Controls {
public:
    WidgetControls() = default;
    WidgetControls(const WidgetControls&) = delete;
    WidgetControls& operator=(const WidgetControls&) = delete;

    // The form whose events the widgets raise. Until it is set, user actions raise nothing,
    // so a dialog can fill its widgets before its logic exists.
    void setEvents(FormEvents* events) { events_ = events; }
    FormEvents* events() const { return events_; }

    // Receives the clicks of the push buttons kIdOk and kIdCancel as close requests (FormDialog
    // sets it and ends the dialog as the logic answers).
    void setCloseHandler(std::function<void(CloseRoute)> handler) { close_ = std::move(handler); }

    // Registers `widget` under `id` and connects its user signals. The widget stays owned by
    // its Qt parent; one id names one widget.
    template <typename W> W* add(int id, W* widget)
    {
        registerWidget(id, widget);
        return widget;
    }

    // The widget registered under `id`, or nullptr.
    QWidget* widget(int id) const;

    bool checked(int id) const override;
    void setChecked(int id, bool on) override;
    bool enabled(int id) const override;
    void setEnabled(int id, bool on) override;
    bool shown(int id) const override;
    void setShown(int id, bool on) override;
    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    std::vector<std::string> items(int id) const override;
    void setItems(int id, const std::vector<std::string>& items) override;
    int selectedIndex(int id) const override;
    void setSelectedIndex(int id, int index) override;
    void setProgress(int id, int position, int maximum) override;

private:
    void registerWidget(int id, QWidget* widget);
    // The widget under `id`; a warning names an id the dialog never registered, the usual
    // cause of a control that seems to ignore its form.
    QWidget* find(int id) const;
    void raiseTextChanged(int id);

    std::map<int, QPointer<QWidget>> widgets_;
    FormEvents* events_ = nullptr;
    std::function<void(CloseRoute)> close_;
};

} // namespace kq904
