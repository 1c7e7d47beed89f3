#pragma once
// Reads kq904-sim's command line (link/command_line.h) into SimOptions. Only kq904-sim links
// it: the simulated radio itself stays Qt-free.

#include <span>
#include <string>

#include "sim/sim_options.h"

namespace kq904 {

// `args` without the program name. "--help" given before the first problem wins; otherwise the
// first problem on the line is the error.
SimOptions parseSimOptions(std::span<const std::string> args);

} // namespace kq904
