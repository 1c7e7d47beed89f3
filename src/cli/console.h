#pragma once
// The console kq904-cli runs in, the same on every system: its arguments as UTF-8 text, UTF-8
// text out, and whether stderr is a terminal (where the progress line is drawn). console_posix.cpp
// and console_windows.cpp hold the system calls.

#include <string>
#include <vector>

namespace kq904::cli {

// The arguments after the program name, as UTF-8 (on Windows taken from the wide command line,
// so a file name in any script arrives whole).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes the console show the program's UTF-8 output as such (Windows consoles start in a legacy
// code page); nothing to do elsewhere.
void useUtf8Console();

// True when stderr is a terminal or console window a person watches, not a file or a pipe.
bool stderrIsTerminal();

} // namespace kq904::cli
