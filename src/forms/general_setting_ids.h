#pragma once
// Control ids of the General Setting form (dialog resource 142, "GeneralSetting").

namespace kq904::general_setting_ids {

inline constexpr int dialog = 142;

// Group "Initial Setting of Power On".
inline constexpr int keyBeep = 1000;
inline constexpr int keyLocked = 1001;
inline constexpr int priorityMode = 1002;

inline constexpr int toneSettingByUser = 1010;
inline constexpr int powerSave = 1011;
inline constexpr int powerSaveRatio = 1067; // list "1:1", "1:2", "1:3"
inline constexpr int keypadLockNoUserAccess = 1003;
inline constexpr int keypadLockUserAccess = 1004;
inline constexpr int upDownKeys = 1078;
inline constexpr int modeKey = 1081;
inline constexpr int scanKey = 1082;
inline constexpr int entKey = 1083;
inline constexpr int batteryLowWarning = 1006;
inline constexpr int shuntingRadio = 1008;
inline constexpr int prioritySettingByUser = 1012;
inline constexpr int priorityDisable = 1005;

// Group "Priority Channel".
inline constexpr int priorityChannel = 1013; // number display, 1-based
inline constexpr int priorityDown = 1036; // "<"
inline constexpr int priorityUp = 1037; // ">"

inline constexpr int homeChannelDisable = 1007;
// Group "Home Channel".
inline constexpr int homeChannel = 1014;
inline constexpr int homeDown = 1039;
inline constexpr int homeUp = 1040;

// Group "Power On Password".
inline constexpr int passwordGroup = 1087;
inline constexpr int passwordEnable = 1088;
inline constexpr int passwordLabel = 1089; // "Password No."
inline constexpr int passwordHint = 1090; // "4-digit"
inline constexpr int password = 1091; // digit field

inline constexpr int codeFunction = 1085;
inline constexpr int ok = 1038; // "OK" as a plain push button: a click, not the standard OK

} // namespace kq904::general_setting_ids
