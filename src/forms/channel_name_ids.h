#pragma once
// Resource ids of the Channel Name form's controls (dialog resource 145).

namespace kq904::ChannelNameId {

inline constexpr int dialog = 145;

inline constexpr int name = 1069; // plain text field: the name or tag being edited
inline constexpr int nameLabel = 1066; // "Name"
inline constexpr int hint = 1079; // "(Max. 5 Digits)" or "(2-Digit)"
inline constexpr int ok = 1;
inline constexpr int cancel = 2;

} // namespace kq904::ChannelNameId
