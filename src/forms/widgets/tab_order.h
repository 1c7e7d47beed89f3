#pragma once
// The Tab key's order through a form: the order the form is laid out in, as a person reads it.
// Grid layouts are read row by row, left to right; boxes in their order; a group box's controls
// where the group box stands. Widgets made out of that order (a button built before the group
// it sits in) would otherwise be reached out of turn.

class QWidget;

namespace kq904 {

// Sets the tab order of every control in `form`'s layouts to their reading order; controls
// outside any layout keep their place after them. A form that has not put the focus anywhere
// yet gets it on its first enabled control.
void orderTabsByLayout(QWidget* form);

} // namespace kq904
