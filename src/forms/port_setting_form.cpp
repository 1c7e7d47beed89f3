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

std::string PortSettingForm::portEntry(int portNumber, const std::string& device)
{
    std::string entry = "COM" + std::to_string(portNumber);
    if (!device.empty())
        entry += "  (" + device + ")";
    return entry;
}

const std::vector<std::string>& PortSettingForm::baudRates()
{
    static const std::vector<std::string> rates = {"110", "300", "600", "1200", "2400", "4800",
        "9600", "14400", "19200", "28800", "38400", "56000", "57600", "115200", "128000", "230400",
        "256000", "460800", "614400"};
    return rates;
}

void PortSettingForm::open()
{
    std::vector<std::string> ports;
    for (int number = 1; number <= portCount; ++number)
        ports.push_back(portEntry(number, host_.portDevice(number)));
    controls_.setItems(ids::portList, ports);
    // A stored index outside the list selects nothing.
    controls_.setSelectedIndex(ids::portList, host_.storedPortIndex());

    // The radio talks at 19200 baud whatever "BAUD" says; the list only shows it.
    const std::vector<std::string>& rates = baudRates();
    controls_.setItems(ids::baudList, rates);
    const auto fixed = std::find(rates.begin(), rates.end(), std::to_string(fixedBaudRate));
    controls_.setSelectedIndex(ids::baudList, static_cast<int>(fixed - rates.begin()));
    controls_.setEnabled(ids::baudList, false);
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
    host_.storePort(controls_.selectedIndex(ids::portList), baud);
}

} // namespace kq904
