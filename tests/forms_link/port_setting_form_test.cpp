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
    void storePort(int portIndex, int baudRate) override
    {
        stored = std::pair{portIndex, baudRate};
    }
    std::string portDevice(int portNumber) const override
    {
        const auto it = devices.find(portNumber);
        return it == devices.end() ? std::string() : it->second;
    }

    int comIndex = 0;
    std::map<int, std::string> devices;
    std::optional<std::pair<int, int>> stored;
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
    EXPECT_EQ(ports[0], "COM1  (/dev/ttyUSB0)");
    EXPECT_EQ(ports[1], "COM2");
    EXPECT_EQ(ports[2], "COM3  (/dev/ttyS0)");
    // The device shown changes nothing of what is stored: the index of the entry.
    controls.close(CloseRoute::OkButton);
    EXPECT_EQ(host.stored, (std::pair{2, 19200}));
}

} // namespace
} // namespace kq904
