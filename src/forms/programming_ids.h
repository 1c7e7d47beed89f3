#pragma once
// Control ids of the Programming form ("Programming").

namespace kq904::programming_ids {

inline constexpr int versionText = 1072; // "Version", then the radio's version number
inline constexpr int serialNumber = 1086; // seven digits, in the group "Serial Number (7 digitals)"
inline constexpr int autoIncrement = 1092; // "Auto Increment S/N"
inline constexpr int version = 1073; // "V"
inline constexpr int programming = 1032; // "Programming"
inline constexpr int reading = 1033; // "Reading"
inline constexpr int progress = 1053;

} // namespace kq904::programming_ids
