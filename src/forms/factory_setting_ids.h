#pragma once
// Control ids of the Factory Setting form (dialog resource 131, "Factory Setting").

namespace kq904::factory_setting_ids {

inline constexpr int dialog = 131;

inline constexpr int ifFrequency = 1009; // group "IF Frequency", decimal field, MHz
// Group "RX Superheterodyne".
inline constexpr int rxUp = 1085;
inline constexpr int rxDown = 1092;
// Group "DCS TX".
inline constexpr int dcsTxNormal = 1086;
inline constexpr int dcsTxInvert = 1093;
// Group "DCS RX".
inline constexpr int dcsRxNormal = 1087;
inline constexpr int dcsRxInvert = 1094;
// Group "Mod Level Limit(MHz)": two bands, lower "To" upper, plain fields.
inline constexpr int band1Low = 1010;
inline constexpr int band1High = 1052;
inline constexpr int band2Low = 1013;
inline constexpr int band2High = 1053;
// Hex fields.
inline constexpr int refCounter6250 = 1011; // group "6.25K Ref Counter(Hex)"
inline constexpr int refCounter5000 = 1012; // group "5KHz Ref Counter(Hex)"

inline constexpr int dtmfVersion = 1056;
inline constexpr int dtmfRxAnyTime = 1055;
inline constexpr int channelNameTag = 1057;
inline constexpr int txPowerDelay = 1007; // group "TX Power Delay", unit "mS"
inline constexpr int pttIdDelay = 1008;
inline constexpr int pttIdDelayGroup = 1070; // "PTT ID Tx Delay Time"
inline constexpr int pttIdDelayUnit = 1071; // "mS"
inline constexpr int dtmfOnOffTime = 1015;
inline constexpr int dtmfOnOffGroup = 1072; // "DTMF On/Off Time"
inline constexpr int dtmfOnOffUnit = 1073; // "mS"
inline constexpr int welcomeGreeting = 1014; // group "Welcome Greetings", plain field
inline constexpr int ok = 1038; // "OK" as a plain push button: a click, not the standard OK

} // namespace kq904::factory_setting_ids
