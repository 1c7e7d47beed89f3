#pragma once
// Icons drawn by the program itself, so it needs no image files: the application icon (a
// hand-held radio) and the toolbar's printer.

#include <QIcon>

namespace kq904 {

QIcon applicationIcon();
QIcon printerIcon();

} // namespace kq904
