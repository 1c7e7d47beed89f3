#include "radio_port.h"

#include "link/port_error.h"
#include "link/port_names.h"

namespace kq904 {

RadioPort::RadioPort(ProfileSettings& profile)
    : profile_(profile)
{ }

ByteTransport& RadioPort::active()
{
    return simulated_ ? *simulated_ : static_cast<ByteTransport&>(serial_);
}

const ByteTransport& RadioPort::active() const
{
    return simulated_ ? *simulated_ : static_cast<const ByteTransport&>(serial_);
}

bool RadioPort::open()
{
    if (simulated_) {
        lastError_.clear();
        description_ = QStringLiteral("the simulated radio");
        builtInNote_.clear();
        return simulated_->open();
    }
    if (serial_.isOpen())
        return true;
    const QString name = profile_.portName();
    // The device list is taken afresh on every open, so an adapter plugged in while the
    // program runs is found.
    const ResolvedPort port = PortNameResolver::forSystem(profile_).resolve(name);
    if (!port.ok()) {
        lastError_ = QStringLiteral("%1: %2").arg(name, port.problem);
        description_ = name;
        builtInNote_.clear();
        return false;
    }
    description_ = portDescription(name, port.device);
    builtInNote_ = builtInPortNote(name, port.device);
    serial_.setDevice(port.device, profile_.baudRate());
    if (!serial_.open()) {
        lastError_ = QString::fromStdString(diagnosePortFailure(serial_).text);
        if (!builtInNote_.isEmpty())
            lastError_ += QStringLiteral("\n") + builtInNote_;
        return false;
    }
    lastError_.clear();
    return true;
}

bool RadioPort::isOpen() const
{
    return active().isOpen();
}

bool RadioPort::writeByte(std::uint8_t byte)
{
    return active().writeByte(byte);
}

std::size_t RadioPort::readAvailable(std::span<std::uint8_t> out)
{
    return active().readAvailable(out);
}

std::size_t RadioPort::readAvailableTimed(
    std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs)
{
    return active().readAvailableTimed(out, arrivedUs);
}

void RadioPort::attachSimulatedRadio(ByteTransport& simulated)
{
    simulated_ = &simulated;
    simulated_->setArrivalHandler(arrivalHandler_);
}

void RadioPort::setArrivalHandler(std::function<void()> handler)
{
    arrivalHandler_ = std::move(handler);
    serial_.setArrivalHandler(arrivalHandler_);
    if (simulated_)
        simulated_->setArrivalHandler(arrivalHandler_);
}

} // namespace kq904
