#pragma once
// Stored digits as listing characters. A digit nibble or byte holds 0-9; anything larger comes
// only from damaged data and is shown as '?' so the listing stays plain text.

namespace kq904 {

constexpr char digitChar(unsigned digit)
{
    return digit <= 9 ? static_cast<char>('0' + digit) : '?';
}

} // namespace kq904
