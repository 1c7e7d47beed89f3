#pragma once
// One session in virtual time: the link, the line tap and the in-process simulated radio.

#include "soak/session_driver.h"
#include "soak/session_expectation.h"

namespace kq904::soak {

SessionResult runVirtualSession(const SessionPlan& plan, const Expectation& expected);

} // namespace kq904::soak
