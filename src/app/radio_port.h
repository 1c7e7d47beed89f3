#pragma once
// The program's one port to the radio, as the link sees it. Each time a transfer opens it, it
// takes the port ("COM" + 1) and baud rate from the profile as the Port setting form left them,
// finds the device that port name stands for, and opens the serial port there. With a simulated
// radio attached (kq904 --simulate) every port name leads to the simulated radio instead, for
// the whole run. Once open the port stays open until the program ends.

#include <QString>

#include "link/byte_transport.h"
#include "link/profile_settings.h"
#include "link/serial_port.h"

namespace kq904 {

class RadioPort final : public ByteTransport {
public:
    explicit RadioPort(ProfileSettings& profile);

    // From now on every open reaches `simulated` instead of a serial device.
    void attachSimulatedRadio(ByteTransport& simulated);
    bool simulatedRadioAttached() const { return simulated_ != nullptr; }

    bool open() override;
    bool isOpen() const override;
    bool writeByte(std::uint8_t byte) override;
    std::size_t readAvailable(std::span<std::uint8_t> out) override;
    std::size_t readAvailableTimed(
        std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs) override;
    // Reaches the serial port and the simulated radio alike.
    void setArrivalHandler(std::function<void()> handler) override;

    // Why the last open failed, with the device tried and what to do about it ("/dev/ttyUSB0:
    // permission denied; add yourself to the group dialout: ..."), empty after a good open.
    QString lastError() const { return lastError_; }
    // The port the last open tried: "COM1 (/dev/ttyUSB0)", or "the simulated radio".
    QString deviceDescription() const { return description_; }
    // builtInPortNote for the port the last open tried; empty when it is no built-in port.
    QString builtInNote() const { return builtInNote_; }

private:
    ByteTransport& active();
    const ByteTransport& active() const;

    ProfileSettings& profile_;
    SerialPort serial_;
    ByteTransport* simulated_ = nullptr;
    QString lastError_;
    QString description_;
    QString builtInNote_;
    std::function<void()> arrivalHandler_;
};

} // namespace kq904
