#include "port_setting_form.h"

#include <algorithm>
#include <charconv>

#include "port_setting_ids.h"

namespace kq904 {

namespace ids = port_setting_ids;

PortSettingForm::PortSettingForm(Controls& controls, PortSettingHost& host)
    : controls_(controls)
    , host_(host)
{ }

std::string PortSettingForm::portEntry(int portNumber, const std::string& words)
{
    std::string entry = "COM" + std::to_string(portNumber);
    if (!words.empty())
        entry += " (" + words + ")";
    return entry;
}

const std::vector<std::string>& PortSettingForm::baudRates()
{
    static const std::vector<std::string> rates = {"110", "300", "600", "1200", "2400", "4800",
        "9600", "14400", "19200", "28800", "38400", "56000", "57600", "115200", "128000", "230400",
        "256000", "460800", "614400"};
    return rates;
}

void PortSettingForm::fillPortList()
{
    std::vector<std::string> ports;
    for (int number = 1; number <= portCount; ++number) {
        const auto i = static_cast<std::size_t>(number - 1);
        ports.push_back(portEntry(number, i < listing_.words.size() ? listing_.words[i] : ""));
    }
    controls_.setItems(ids::portList, ports);
}

void PortSettingForm::open()
{
    listing_ = host_.listPorts();
    fillPortList();
    // A stored index outside the list selects nothing.
    controls_.setSelectedIndex(ids::portList, host_.storedPortIndex());
    controls_.setChecked(ids::fastTransfer, host_.storedFastLink());

    // The radio talks at 19200 baud whatever "BAUD" says; the list only shows it.
    const std::vector<std::string>& rates = baudRates();
    controls_.setItems(ids::baudList, rates);
    const auto fixed = std::find(rates.begin(), rates.end(), std::to_string(fixedBaudRate));
    controls_.setSelectedIndex(ids::baudList, static_cast<int>(fixed - rates.begin()));
    controls_.setEnabled(ids::baudList, false);
    showAdapterOffer();
}

void PortSettingForm::rescan()
{
    PortListing now = host_.listPorts();
    if (now == listing_)
        return;
    const bool entriesChanged = now.words != listing_.words;
    listing_ = std::move(now);
    if (entriesChanged) {
        // The entries are the same ports with new words: the choice stays where it was.
        const int chosen = controls_.selectedIndex(ids::portList);
        fillPortList();
        controls_.setSelectedIndex(ids::portList, chosen);
    }
    showAdapterOffer();
}

void PortSettingForm::onClicked(int id)
{
    if (id == ids::useAdapter && listing_.adapterPort >= 1 && listing_.adapterPort <= portCount) {
        controls_.setSelectedIndex(ids::portList, listing_.adapterPort - 1);
        showAdapterOffer();
    }
}

void PortSettingForm::onSelectionChanged(int id)
{
    if (id == ids::portList)
        showAdapterOffer();
}

void PortSettingForm::showAdapterOffer()
{
    const int chosen = controls_.selectedIndex(ids::portList);
    const auto i = static_cast<std::size_t>(chosen);
    const bool builtIn = chosen >= 0 && i < listing_.builtIn.size() && listing_.builtIn[i];
    const bool offer = builtIn && !listing_.adapterWords.empty();
    controls_.setShown(ids::adapterNote, offer);
    const bool choosable = offer && listing_.adapterPort >= 1 && listing_.adapterPort <= portCount;
    controls_.setShown(ids::useAdapter, choosable);
    if (!offer)
        return;
    const std::string chosenName = "COM" + std::to_string(chosen + 1);
    std::string note = chosenName + " is " + listing_.words[i]
        + ", a serial port built into the computer. A USB serial adapter is plugged in: ";
    if (choosable) {
        const std::string adapterName = "COM" + std::to_string(listing_.adapterPort);
        note += adapterName + " (" + listing_.adapterWords + ").";
        controls_.setText(ids::useAdapter, "Use " + adapterName);
    } else {
        note += listing_.adapterWords + ", which no COM port stands for.";
    }
    controls_.setText(ids::adapterNote, note);
}

FormEnd PortSettingForm::onClose(CloseRoute route)
{
    // Enter presses the default button "OK"; every other way out stores nothing.
    if (route == CloseRoute::OkButton || route == CloseRoute::EnterKey) {
        store();
        return FormEnd::Accepted;
    }
    return FormEnd::Rejected;
}

void PortSettingForm::store()
{
    // The number of the baud list's entry (the list is disabled: always 19200).
    const std::vector<std::string> rates = controls_.items(ids::baudList);
    const int chosen = controls_.selectedIndex(ids::baudList);
    const std::string baudText =
        chosen >= 0 && chosen < static_cast<int>(rates.size()) ? rates[chosen] : std::string();
    int baud = fixedBaudRate;
    int parsed = 0;
    const auto [end, error] =
        std::from_chars(baudText.data(), baudText.data() + baudText.size(), parsed);
    if (error == std::errc{} && end != baudText.data() && parsed > 0)
        baud = parsed;
    host_.storePort(
        controls_.selectedIndex(ids::portList), baud, controls_.checked(ids::fastTransfer));
}

} // namespace kq904
