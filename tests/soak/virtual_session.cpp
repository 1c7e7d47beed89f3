#include "soak/virtual_session.h"

#include <algorithm>

#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"

namespace kq904::soak {

SessionResult runVirtualSession(const SessionPlan& plan, const Expectation& expected)
{
    SimulatedRadio radio;
    (void)radio.loadEeprom(plan.eeprom); // the plan's image is always 2048 bytes
    radio.setReplyLatencyMs(plan.latencyMs);
    radio.setFaultPlan(plan.faultPlan());
    InProcessTransport line(radio);
    LineTap tap(line);
    RadioImage image = plan.image;
    Link link(image, tap);

    SessionDriver driver(plan, expected.tickBound, link, tap);
    link.setObserver(driver.observer());
    driver.setClock([&] { line.advanceTick(); });
    driver.setLineQuiet([&] {
        std::int64_t due = 0;
        return !radio.nextDue(due);
    });
    driver.setSettleTicks(3, 1000);
    driver.begin();
    while (driver.tick()) { }

    SessionResult result = driver.result();
    result.image = image;
    std::copy(radio.eeprom().begin(), radio.eeprom().end(), result.eeprom.begin());
    return result;
}

} // namespace kq904::soak
