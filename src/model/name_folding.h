#pragma once
// Names from other programs hold letters the radio cannot show: lower case, accented letters,
// spaces and punctuation. The radio's names are capital letters A-Z and digits only.

#include <string>
#include <string_view>

namespace kq904 {

// The text in the radio's characters: lower case becomes upper case, a Latin letter with an
// accent becomes its plain letter ("Zürich" -> "ZURICH", "Straße" -> "STRASSE"), and every
// other character is dropped. The text is read as UTF-8; a byte that is not part of a valid
// UTF-8 sequence is taken as a Latin-1 character, as older Windows programs write them.
std::string foldToRadioCharacters(std::string_view text);

} // namespace kq904
