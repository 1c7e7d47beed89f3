// The Port setting form: which entry it opens on, what "OK" stores, and what the other ways out
// leave alone.

#include <gtest/gtest.h>
#include <map>
#include <optional>

#include "forms/port_setting_form.h"
#include "forms/port_setting_ids.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = port_setting_ids;

class FakePortHost : public PortSettingHost {
public:
    int storedPortIndex() const override { return comIndex; }
    bool storedFastLink() const override { return fastLink; }
    void storePort(int portIndex, int baudRate, bool fast) override
    {
        stored = std::pair{portIndex, baudRate};
        storedFast = fast;
    }
    PortListing listPorts() override
    {
        PortListing listing = extra;
        listing.words.resize(42);
        listing.builtIn.resize(42);
        for (const auto& [number, words] : devices)
            listing.words[static_cast<std::size_t>(number - 1)] = words;
        return listing;
    }

    int comIndex = 0;
    bool fastLink = false;
    std::map<int, std::string> devices;
    PortListing extra; // built-in ports and the adapter
    std::optional<std::pair<int, int>> stored;
    std::optional<bool> storedFast;
};

class PortSettingFormTest : public ::testing::Test {
protected:
    void open()
    {
        controls.setEvents(&form);
        form.open();
    }
    testing::MemoryControls controls;
    FakePortHost host;
    PortSettingForm form{controls, host};
};

TEST_F(PortSettingFormTest, FirstUseShowsCom1And19200AndOkStoresThem)
{
    open();
    const auto ports = controls.items(ids::portList);
    ASSERT_EQ(ports.size(), 42u);
    EXPECT_EQ(ports.front(), "COM1");
    EXPECT_EQ(ports[9], "COM10");
    EXPECT_EQ(ports.back(), "COM42");
    EXPECT_EQ(controls.selectedIndex(ids::portList), 0);

    EXPECT_EQ(controls.items(ids::baudList).size(), 19u);
    EXPECT_EQ(controls.items(ids::baudList)[controls.selectedIndex(ids::baudList)], "19200");
    EXPECT_FALSE(controls.enabled(ids::baudList));

    EXPECT_EQ(controls.close(CloseRoute::OkButton), FormEnd::Accepted);
    EXPECT_EQ(host.stored, (std::pair{0, 19200}));
}

TEST_F(PortSettingFormTest, ChoosingCom3StoresIndex2)
{
    open();
    controls.select(ids::portList, 2);
    EXPECT_EQ(controls.close(CloseRoute::EnterKey), FormEnd::Accepted); // Enter presses "OK"
    EXPECT_EQ(host.stored, (std::pair{2, 19200}));
}

TEST_F(PortSettingFormTest, AStoredIndexOutsideTheListSelectsNothingAndOkStoresMinusOne)
{
    for (int stored : {50, 42, -1, -7}) {
        SCOPED_TRACE(stored);
        host.comIndex = stored;
        host.stored.reset();
        open();
        EXPECT_EQ(controls.selectedIndex(ids::portList), -1);
        EXPECT_EQ(controls.close(CloseRoute::OkButton), FormEnd::Accepted);
        EXPECT_EQ(host.stored, (std::pair{-1, 19200}));
    }
    host.comIndex = 41;
    open();
    EXPECT_EQ(controls.selectedIndex(ids::portList), 41);
}

TEST_F(PortSettingFormTest, OnlyOkStores)
{
    for (CloseRoute route :
        {CloseRoute::EscapeKey, CloseRoute::CloseBox, CloseRoute::CancelButton}) {
        open();
        controls.select(ids::portList, 5);
        EXPECT_EQ(controls.close(route), FormEnd::Rejected);
        EXPECT_FALSE(host.stored.has_value());
    }
}

TEST_F(PortSettingFormTest, EntriesThatStandForADeviceShowIt)
{
    host.devices = {{1, "/dev/ttyUSB0"}, {3, "/dev/ttyS0"}};
    host.comIndex = 2;
    open();
    const auto ports = controls.items(ids::portList);
    EXPECT_EQ(ports[0], "COM1 (/dev/ttyUSB0)");
    EXPECT_EQ(ports[1], "COM2");
    EXPECT_EQ(ports[2], "COM3 (/dev/ttyS0)");
    // The device shown changes nothing of what is stored: the index of the entry.
    controls.close(CloseRoute::OkButton);
    EXPECT_EQ(host.stored, (std::pair{2, 19200}));
}

TEST_F(PortSettingFormTest, FastTransferIsShownAndStoredOnlyWithOk)
{
    host.fastLink = true;
    open();
    EXPECT_TRUE(controls.checked(ids::fastTransfer));
    controls.setChecked(ids::fastTransfer, false);
    EXPECT_EQ(controls.close(CloseRoute::EscapeKey), FormEnd::Rejected);
    EXPECT_FALSE(host.storedFast.has_value());
    open();
    controls.setChecked(ids::fastTransfer, false);
    controls.close(CloseRoute::OkButton);
    EXPECT_EQ(host.storedFast, false);
}

// The cable is plugged in while the form is open, on a machine whose COM1 is built in: the list
// follows, the choice stays, and the form offers the adapter until it is chosen.
TEST_F(PortSettingFormTest, ACablePluggedInShowsUpAndIsOfferedInPlaceOfABuiltInPort)
{
    host.devices = {{1, "/dev/ttyS0"}};
    host.extra.builtIn = {true};
    open();
    EXPECT_FALSE(controls.shown(ids::adapterNote));
    EXPECT_FALSE(controls.shown(ids::useAdapter));

    host.devices = {{1, "/dev/ttyUSB0, CH340 serial converter"}, {2, "/dev/ttyS0"}};
    host.extra.builtIn = {false, true};
    host.extra.adapterWords = "/dev/ttyUSB0, CH340 serial converter";
    host.extra.adapterPort = 1;
    host.comIndex = 7; // stored elsewhere meanwhile: the open form keeps its own choice
    controls.select(ids::portList, 1);
    form.rescan();
    EXPECT_EQ(controls.items(ids::portList)[0], "COM1 (/dev/ttyUSB0, CH340 serial converter)");
    EXPECT_EQ(controls.selectedIndex(ids::portList), 1);
    EXPECT_TRUE(controls.shown(ids::adapterNote));
    EXPECT_EQ(controls.text(ids::adapterNote),
        "COM2 is /dev/ttyS0, a serial port built into the computer. A USB serial adapter is "
        "plugged in: COM1 (/dev/ttyUSB0, CH340 serial converter).");
    EXPECT_EQ(controls.text(ids::useAdapter), "Use COM1");

    controls.click(ids::useAdapter);
    EXPECT_EQ(controls.selectedIndex(ids::portList), 0);
    EXPECT_FALSE(controls.shown(ids::adapterNote));
    controls.close(CloseRoute::OkButton);
    EXPECT_EQ(host.stored, (std::pair{0, 19200}));

    // Pulled out again: COM1 is the built-in port once more, and nothing is offered.
    host.devices = {{1, "/dev/ttyS0"}};
    host.extra = {};
    host.extra.builtIn = {true};
    form.rescan();
    EXPECT_EQ(controls.items(ids::portList)[0], "COM1 (/dev/ttyS0)");
    EXPECT_FALSE(controls.shown(ids::adapterNote));
}

} // namespace
} // namespace kq904
