#pragma once
// Control ids of the Channel Setting form (dialog resource 132, "Channel Setting").

namespace kq904::channel_setting_ids {

inline constexpr int dialog = 132;

// Channel Number group and the channel commands.
inline constexpr int channelLabel = 1013;
inline constexpr int previousChannel = 1036; // "<"
inline constexpr int nextChannel = 1037; // ">"
inline constexpr int channelName = 1068;
inline constexpr int channelAdd = 1014;
inline constexpr int channelDelete = 1015;
inline constexpr int ok = 1038; // "OK" as a plain push button: a click, not the standard OK

// Rf Freq. (MHz)
inline constexpr int txFrequency = 1020;
inline constexpr int rxFrequency = 1010;
inline constexpr int copyTxFrequency = 1016; // "RX=TX" of the frequency group

inline constexpr int txDisable = 1060;

// Busy Lock Type: one radio group.
inline constexpr int busyLockBtlo = 1021;
inline constexpr int busyLockBclo = 1022;
inline constexpr int busyLockRbtlo = 1026;
inline constexpr int busyLockRbclo = 1032;
inline constexpr int busyLockNone = 1023;

inline constexpr int scan = 1018;
inline constexpr int timeOut = 1017;

// TONE TX and TONE RX: radio groups, each with its tone list.
inline constexpr int txToneCtcss = 1024;
inline constexpr int txToneDcs = 1027;
inline constexpr int txToneNone = 1028;
inline constexpr int txTone = 1019;
inline constexpr int rxToneCtcss = 1025;
inline constexpr int rxToneDcs = 1029;
inline constexpr int rxToneNone = 1030;
inline constexpr int rxTone = 1008;
inline constexpr int copyTxTone = 1033; // "RX=TX" of the tone group

// Rf Power Level
inline constexpr int highPower = 1039;
inline constexpr int lowPower = 1040;

// Miscellaneous
inline constexpr int modLevel = 1031; // indicator only, always disabled
inline constexpr int crystalShift = 1045;
inline constexpr int monitorByCarry = 1046;
inline constexpr int monitorDisable = 1047;

// Channel spacing
inline constexpr int txNarrow = 1048;
inline constexpr int txWide = 1049;
inline constexpr int rxNarrow = 1052;
inline constexpr int rxWide = 1053;

// PTT Code
inline constexpr int pttCodeGroup = 1065;
inline constexpr int pttCodeEnable = 1062;
inline constexpr int pttCodeLabel = 1066; // "Code Number"
inline constexpr int pttCode = 1063;
inline constexpr int pttCodeRange = 1080; // "000..999"
inline constexpr int selectiveCalling = 1064;

} // namespace kq904::channel_setting_ids
