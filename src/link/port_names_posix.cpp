#include "link/port_names.h"

namespace kq904 {

bool systemUsesComNames()
{
    return false; // serial ports are device files: /dev/ttyUSB0
}

} // namespace kq904
