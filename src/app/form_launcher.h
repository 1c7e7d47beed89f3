#pragma once
// Opens the setting forms from the main window's commands and the listing's double click: each
// command builds its form on the session, runs it modally and destroys it. The forms work on
// the radio image themselves, write their table files and send the refresh notification; the
// 15 ms tick keeps the link running while they are open. What a form changed is a step of the
// undo history. While a transfer runs, none of them opens (the Port form aside): each would
// change the image being transferred.

class QWidget;

namespace kq904 {

class Session;

class FormLauncher {
public:
    FormLauncher(Session& session, QWidget* parent);

    void runGeneral(); // Setting > General
    // Setting > Channel and the listing's double click, on the given channel.
    void runChannel(int channel);
    void runProgramming(); // Programming
    void runPort(); // Port
    void runFactory(); // Factory, offered only with the keyword "factory"

private:
    Session& session_;
    QWidget* parent_;
};

} // namespace kq904
