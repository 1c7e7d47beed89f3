#include "link/port_names.h"

namespace kq904 {

bool systemUsesComNames()
{
    return true;
}

} // namespace kq904
