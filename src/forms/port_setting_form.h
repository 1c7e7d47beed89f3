#pragma once
// The Port setting form: chooses the COM port the radio is reached through and keeps it, with
// the baud rate, in the profile ("COM", "BAUD"). It opens nothing itself; the next transfer
// opens the port it names. On systems that name serial devices by path, each port that stands
// for a device shows it ("COM1  (/dev/ttyUSB0)"), so the user knows which COMn is the cable.

#include <string>
#include <vector>

#include "forms/controls.h"

namespace kq904 {

// What the Port setting form asks of the program around it.
class PortSettingHost {
public:
    virtual ~PortSettingHost() = default;
    // "COM": the index of the chosen port list entry as stored (possibly -1 or past the list).
    virtual int storedPortIndex() const = 0;
    // "COM" and "BAUD".
    virtual void storePort(int portIndex, int baudRate) = 0;
    // The device "COMn" stands for on this system, or "" when none (or when COMn is a device
    // name of its own, as on Windows).
    virtual std::string portDevice(int portNumber) const = 0;
};

class PortSettingForm : public FormEvents {
public:
    static constexpr int portCount = 42;
    static constexpr int fixedBaudRate = 19200;

    PortSettingForm(Controls& controls, PortSettingHost& host);

    void open();

    FormEnd onClose(CloseRoute route) override;

    // The port list entry of port number n: "COMn", and the device it stands for, if any.
    static std::string portEntry(int portNumber, const std::string& device);
    // The baud rates the (disabled) baud list offers, in its order.
    static const std::vector<std::string>& baudRates();

private:
    void store();

    Controls& controls_;
    PortSettingHost& host_;
};

} // namespace kq904
