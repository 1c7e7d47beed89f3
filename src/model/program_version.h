#pragma once
// The program's version, defined here only: it stands in the window title, the about box and
// the PDF creator, goes into every set file saved (FactorySettings bytes 32-36, the text and
// its NUL), and CMake reads it from this line for the package and the man page.

#include <string>

namespace kq904 {

inline constexpr char kProgramVersion[] = "5.12";

// "KQ904 Programmer V5.12": the title's program part, also the PDF's creator.
inline std::string programTitle()
{
    return std::string("KQ904 Programmer V") + kProgramVersion;
}

} // namespace kq904
