#pragma once
// Control ids of the Channel Name form (dialog resource 145, "Channel Name").

#include "forms/controls.h"

namespace kq904::channel_name_ids {

inline constexpr int dialog = 145;

inline constexpr int name = 1069; // plain text field: the name or tag being edited
inline constexpr int nameLabel = 1066; // "Name"
inline constexpr int hint = 1079; // "(Max. 5 Digits)" or "(2-Digit)"
inline constexpr int ok = kIdOk;
inline constexpr int cancel = kIdCancel;

} // namespace kq904::channel_name_ids
