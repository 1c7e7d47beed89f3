#include "simulated_port.h"

namespace kq904 {

SimulatedPort::SimulatedPort()
{
    clock_.start();
}

bool SimulatedPort::open()
{
    open_ = true;
    return true;
}

bool SimulatedPort::writeByte(std::uint8_t byte)
{
    if (!open_)
        return false;
    radio_.receive(byte, nowMs());
    return true;
}

std::size_t SimulatedPort::readAvailable(std::span<std::uint8_t> out)
{
    if (!open_)
        return 0;
    return radio_.takeDue(nowMs(), out);
}

} // namespace kq904
