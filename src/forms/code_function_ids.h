#pragma once
// Control ids of the Code Function Setting form (dialog resource 158, "Code Function Setting").

#include "forms/controls.h"

namespace kq904::code_function_ids {

inline constexpr int dialog = 158;

// Group "PTT ANI Transmit".
inline constexpr int pttAniEnable = 1007;
inline constexpr int pttPressed = 1084;
inline constexpr int pttReleased = 1085;
inline constexpr int aniShow = 1069; // list "- - -", "5 sec", "15 sec", "30 sec"

// Group "DTMF Selcal setting(3-Digit)": five-character identity fields.
inline constexpr int unitId = 1061;
inline constexpr int subGroupId = 1063;
inline constexpr int allGroupId = 1062;

inline constexpr int talkingTime = 1068; // list "30 sec" ... "360 sec"
inline constexpr int emergencyCode = 1014;
inline constexpr int emergencyDigits = 1064; // labelled "(5-Digit)"
inline constexpr int siren = 1015;
inline constexpr int killFeature = 1074;
inline constexpr int ok = kIdOk;

} // namespace kq904::code_function_ids
