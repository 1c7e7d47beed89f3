#pragma once
// The narrow interface through which a form's logic speaks to its controls, addressed by the
// form's resource ids. The Qt dialogs implement it over real widgets; tests implement it in
// memory. Plain C++: no Qt.

#include <string>
#include <vector>

namespace kq904 {

class Controls {
public:
    virtual ~Controls() = default;

    // Check boxes and radio buttons.
    virtual bool checked(int id) const = 0;
    virtual void setChecked(int id, bool on) = 0;

    virtual bool enabled(int id) const = 0;
    virtual void setEnabled(int id, bool on) = 0;

    // Hidden controls (removed from the form) are not shown.
    virtual bool shown(int id) const = 0;
    virtual void setShown(int id, bool on) = 0;

    // Text fields and labels. Setting a text field's text raises its text-change event again
    // (the form's onTextChanged), as the forms rely on.
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& text) = 0;

    // Drop-down lists. Selecting from the logic does not raise the selection event.
    virtual std::vector<std::string> items(int id) const = 0;
    virtual void setItems(int id, const std::vector<std::string>& items) = 0;
    virtual int selectedIndex(int id) const = 0; // -1 when nothing is selected
    virtual void setSelectedIndex(int id, int index) = 0;

    // Progress bars.
    virtual void setProgress(int id, int position, int maximum) = 0;
};

// The push buttons that end a form carry these ids. Their clicks arrive as close requests
// (FormEvents::onClose), not as onClicked.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The ways a user asks a form to end.
enum class CloseRoute {
    OkButton, // the push button kIdOk
    CancelButton, // the push button kIdCancel
    EnterKey, // Enter with the focus anywhere but on a push button (which Enter presses)
    EscapeKey,
    CloseBox, // the close button of the title bar
};

// How a form ends after a close request.
enum class FormEnd {
    Stay, // the form stays open
    Accepted, // ends as OK
    Rejected, // ends as Cancel
};

// What a form's logic answers to. The dialog forwards its widgets' events here.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void onClicked(int /*id*/) { }
    virtual void onTextChanged(int /*id*/) { }
    virtual void onSelectionChanged(int /*id*/) { }
    // A close request. The default is what a dialog does when its logic takes no part: OK and
    // Enter end it as OK, the rest as Cancel. Stores and notifications belong in the override.
    virtual FormEnd onClose(CloseRoute route)
    {
        return route == CloseRoute::OkButton || route == CloseRoute::EnterKey ? FormEnd::Accepted
                                                                              : FormEnd::Rejected;
    }
};

} // namespace kq904
