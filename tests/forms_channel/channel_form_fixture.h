#pragma once
// A Channel Setting form on a fresh image of ten channels, driven through in-memory controls,
// with a host that records what the form asks of the outside world.

#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "forms/channel_setting_form.h"
#include "forms/channel_setting_ids.h"
#include "model/frequency.h"
#include "support/memory_controls.h"

namespace kq904::testing {

namespace ids = channel_setting_ids;

class RecordingHost : public ChannelSettingHost {
public:
    bool runChannelName(int channel) override
    {
        nameRuns.push_back(channel);
        return nameForm ? nameForm(channel) : false;
    }
    void writeTableFile(TableFile file) override { written.push_back(file); }
    void sendRefresh() override { ++refreshes; }

    std::vector<int> nameRuns;
    std::vector<TableFile> written;
    int refreshes = 0;
    // What the Channel Name form does when it runs; nothing by default.
    std::function<bool(int)> nameForm;
};

class ChannelFormTest : public ::testing::Test {
protected:
    ChannelFormTest()
    {
        image.setChannelCount(10);
        // Every channel a plausible one: its own frequency, CTCSS both ways, high power.
        for (int n = 0; n < kChannelSlots; ++n) {
            setTransmitFrequency(image, n, 145000000 + 12500 * static_cast<unsigned>(n));
            setReceiveFrequency(image, n, 145000000 + 12500 * static_cast<unsigned>(n));
            auto& r = image.channels[static_cast<std::size_t>(n)];
            r.set(ChannelRecord::txToneIsCtcss, true);
            r.set(ChannelRecord::rxToneIsCtcss, true);
            r.set(ChannelRecord::txTone, static_cast<unsigned>(n % 50));
            r.set(ChannelRecord::rxTone, static_cast<unsigned>(n % 50));
            r.set(ChannelRecord::highPower, true);
            auto& x = image.extras[static_cast<std::size_t>(n)];
            x[2] = 'N';
            x[3] = static_cast<std::uint8_t>('A' + n % 26);
        }
        controls.setEvents(&form);
    }

    void open(int channel) { form.open(channel); }
    Block<ChannelRecord>& record(int channel)
    {
        return image.channels[static_cast<std::size_t>(channel)];
    }
    Block<ChannelExtra>& extra(int channel)
    {
        return image.extras[static_cast<std::size_t>(channel)];
    }

    RadioImage image;
    MemoryControls controls;
    RecordingHost host;
    ChannelSettingForm form{image, controls, host};
};

} // namespace kq904::testing
