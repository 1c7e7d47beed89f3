#pragma once
// Control ids of the Kill Feature form (dialog resource 156, "killFeature").

#include "forms/controls.h"

namespace kq904::kill_feature_ids {

inline constexpr int dialog = 156;

inline constexpr int withKillFeature = 1076;
inline constexpr int reviveByAir = 1077;
inline constexpr int killId = 1075; // group "Kill Id (10 digitals)", digit field
inline constexpr int reviveId = 1012; // group "Revive Id (10 digitals)", digit field
inline constexpr int ok = kIdOk;
inline constexpr int cancel = kIdCancel;

} // namespace kq904::kill_feature_ids
