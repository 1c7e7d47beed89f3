#pragma once
// Control ids of the Port setting form ("Port setting").

#include "forms/controls.h"

namespace kq904::port_setting_ids {

inline constexpr int portList = 1031; // "COM1" ... "COM42"
inline constexpr int baudList = 1032; // disabled, always "19200"
inline constexpr int fastTransfer = 1033; // check box "Fast transfer"
inline constexpr int adapterNote = 1034; // the chosen port is built in; a USB adapter is present
inline constexpr int useAdapter = 1035; // "Use COMn": chooses that adapter's port
inline constexpr int ok = kIdOk;

} // namespace kq904::port_setting_ids
