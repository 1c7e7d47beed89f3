#pragma once
// Compares what a session did with what it had to do.

#include <string>
#include <vector>

#include "soak/session_driver.h"
#include "soak/session_expectation.h"

namespace kq904::soak {

// Every way the result departs from the expectation, in words; empty when the session passed.
std::vector<std::string> checkSession(const Expectation& expected, const SessionResult& result);

} // namespace kq904::soak
