#pragma once
// A link wired to a simulated radio through the in-process transport, run in virtual time, with
// an observer that notes every notification together with the tick and state it came at.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link.h"
#include "model/frequency.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"

namespace kq904::testing {

struct LinkEvent {
    std::string what; // "refresh" or the outcome text
    long tick;
    std::optional<LinkState> linkState; // none without a link
    int channelCount; // the image's stored count at that moment
};

class RecordingObserver : public LinkObserver {
public:
    std::vector<LinkEvent> events;
    const InProcessTransport* clock = nullptr;
    const Link* link = nullptr;
    const RadioImage* image = nullptr;
    // Runs inside the outcome callback, where the program shows its modal message box.
    std::function<void()> whileOutcomeShown;

    std::vector<bool> busyChanges; // every busyChanged, in order

    void refreshRequested() override { note("refresh"); }
    void busyChanged(bool busy) override { busyChanges.push_back(busy); }
    void transferEnded(LinkOutcome outcome) override
    {
        note(std::string(outcomeText(outcome)));
        if (whileOutcomeShown)
            whileOutcomeShown();
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& e : events)
            out.push_back(e.what);
        return out;
    }

private:
    void note(std::string what)
    {
        events.push_back({std::move(what), clock ? static_cast<long>(clock->tick()) : -1,
            link ? std::optional(link->linkState()) : std::nullopt,
            image ? static_cast<int>(image->storedChannelCount()) : -1});
    }
};

struct LinkBench {
    RadioImage image;
    SimulatedRadio radio;
    InProcessTransport transport;
    RecordingObserver observer;
    Link link{image, transport, &observer};

    explicit LinkBench(int deliveryDelayTicks = 1)
        : transport(radio, deliveryDelayTicks)
    {
        observer.clock = &transport;
        observer.link = &link;
        observer.image = &image;
        radio.setRecording(true);
    }

    void tick()
    {
        transport.advanceTick();
        link.tick();
    }
    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            tick();
    }
    // Ticks until the link is no longer busy; returns how many it took (or limit + 1). With
    // `arriving`, bytes are also handed over between ticks the moment they become readable, as
    // the serial port's readyRead does.
    int runToEnd(int limit = 20000, bool arriving = false)
    {
        int ticks = 0;
        while (link.busy() && ticks <= limit) {
            const std::int64_t nextTick = (transport.tick() + 1) * InProcessTransport::tickMs;
            std::int64_t at = 0;
            for (int i = 0;
                 arriving && i < 64 && link.busy() && transport.nextReadableMs(at) && at < nextTick;
                 ++i) {
                transport.advanceWithinTick(at);
                link.bytesArrived();
            }
            tick();
            ++ticks;
        }
        return ticks;
    }
};

// A configuration worth transferring: distinct bytes everywhere, real frequencies inside and
// outside the bands, an IF and band edges.
inline void fillImage(RadioImage& image, int channelCount)
{
    for (std::size_t i = 0; i < image.general.bytes.size(); ++i)
        image.general.bytes[i] = static_cast<std::uint8_t>(0x10 + i);
    image.general.set(GeneralSettings::prescalerFlag, false);
    image.setChannelCount(channelCount);
    for (std::size_t i = 0; i < image.code.bytes.size(); ++i)
        image.code.bytes[i] = static_cast<std::uint8_t>(0x40 + i);
    for (std::size_t i = 0; i < image.id.bytes.size(); ++i)
        image.id.bytes[i] = static_cast<std::uint8_t>(0x60 + i);
    for (std::size_t i = 0; i < image.kill.bytes.size(); ++i)
        image.kill.bytes[i] = static_cast<std::uint8_t>(0x70 + i);
    image.factory.set(FactorySettings::intermediateFrequency, 21400000);
    image.factory.set(FactorySettings::band1Low, 136000000);
    image.factory.set(FactorySettings::band1High, 150000000);
    image.factory.set(FactorySettings::band2Low, 150000001);
    image.factory.set(FactorySettings::band2High, 174000000);
    for (int n = 0; n < kChannelSlots; ++n) {
        auto& record = image.channels[static_cast<std::size_t>(n)];
        auto& extra = image.extras[static_cast<std::size_t>(n)];
        for (std::size_t i = 0; i < record.bytes.size(); ++i)
            record.bytes[i] = static_cast<std::uint8_t>(n * 9 + i);
        for (std::size_t i = 0; i < extra.bytes.size(); ++i)
            extra.bytes[i] = static_cast<std::uint8_t>(0x80 + n * 7 + i);
        // Even channels in band, odd channels far outside it.
        const std::uint32_t hz = n % 2 == 0 ? 145000000u + 12500u * n : 440000000u;
        setTransmitFrequency(image, n, hz);
        setReceiveFrequency(image, n, hz);
    }
}

} // namespace kq904::testing
