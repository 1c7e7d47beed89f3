#pragma once
// The Port setting form: chooses the COM port the radio is reached through and keeps it, with
// the baud rate and the "Fast transfer" choice, in the profile ("COM", "BAUD", "FAST_LINK"). It
// opens nothing itself; the next transfer opens the port it names. Each port that stands for a
// device shows it and what the hardware says of itself ("COM1 (/dev/ttyUSB0, CH340 serial
// converter)"), so the user knows which COMn is the cable; the list follows cables plugged in
// and out while the form is open (rescan). When the chosen port is one built into the computer
// and exactly one USB serial adapter is present, the form says so and offers the adapter.

#include <string>
#include <vector>

#include "forms/controls.h"

namespace kq904 {

// The ports as the host finds them at one moment.
struct PortListing {
    // What each port number leads to, [0] for COM1: "/dev/ttyUSB0, CH340 serial converter",
    // "" for nothing.
    std::vector<std::string> words;
    // Per port number: it leads to a port built into the computer.
    std::vector<bool> builtIn;
    // The one USB serial adapter present, in words; empty when there is none or several.
    std::string adapterWords;
    // The port number leading to that adapter; 0 when none does.
    int adapterPort = 0;

    bool operator==(const PortListing&) const = default;
};

// What the Port setting form asks of the program around it.
class PortSettingHost {
public:
    virtual ~PortSettingHost() = default;
    // "COM": the index of the chosen port list entry as stored (possibly -1 or past the list).
    virtual int storedPortIndex() const = 0;
    // "FAST_LINK".
    virtual bool storedFastLink() const = 0;
    // "COM", "BAUD" and "FAST_LINK".
    virtual void storePort(int portIndex, int baudRate, bool fastLink) = 0;
    // The ports as they are now (looked at afresh on each call).
    virtual PortListing listPorts() = 0;
};

class PortSettingForm : public FormEvents {
public:
    static constexpr int portCount = 42;
    static constexpr int fixedBaudRate = 19200;

    PortSettingForm(Controls& controls, PortSettingHost& host);

    void open();
    // Looks at the ports again (the dialog's timer, while the form is open): entries change
    // with the cables plugged in, the chosen entry stays chosen.
    void rescan();

    void onClicked(int id) override;
    void onSelectionChanged(int id) override;
    FormEnd onClose(CloseRoute route) override;

    // The port list entry of port number n: "COMn", and what it leads to, if anything.
    static std::string portEntry(int portNumber, const std::string& words);
    // The baud rates the (disabled) baud list offers, in its order.
    static const std::vector<std::string>& baudRates();

private:
    void fillPortList();
    // The note and the button under the list: shown only while the chosen port is built into
    // the computer and a single USB adapter could be chosen instead.
    void showAdapterOffer();
    void store();

    Controls& controls_;
    PortSettingHost& host_;
    PortListing listing_;
};

} // namespace kq904
