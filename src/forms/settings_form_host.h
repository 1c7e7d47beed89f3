#pragma once
// What the General Setting, Code Function Setting, Kill Feature and Factory Setting forms ask of
// the program around them: the default table files, the forms they open on top of themselves,
// the main window's refresh notification, and ending themselves from an "OK" push button that
// is not the standard one. The dialogs answer with the real things; tests record the calls.

#include "forms/controls.h"
#include "model/table_files.h"

namespace kq904 {

class SettingsFormHost {
public:
    virtual ~SettingsFormHost() = default;

    // Rewrites a table file from the image.
    virtual void writeTableFile(TableFile file) = 0;
    // Rewrites a table file only when its bytes differ from the image; an equal file is left
    // untouched.
    virtual void updateTableFile(TableFile file) = 0;

    // Run a form modally on top of the asking one; they return once it has closed.
    virtual void runCodeFunctionForm() = 0;
    virtual void runKillFeatureForm() = 0;

    // The main window's refresh notification: the listing is redrawn from the image.
    virtual void sendRefresh() = 0;

    // Ends the asking form the given way (Accepted or Rejected).
    virtual void endForm(FormEnd end) = 0;
};

} // namespace kq904
