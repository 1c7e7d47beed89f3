#pragma once
// The commands of kq904-cli, one function each; cli_app.cpp lists them in the command table.

#include <span>
#include <string>

#include "cli/cli_app.h"

namespace kq904::cli {

int runListingCommand(std::span<const std::string> args, CommandStreams streams);
int runProgramCommand(std::span<const std::string> args, CommandStreams streams);
int runReadCommand(std::span<const std::string> args, CommandStreams streams);
int runVersionCommand(std::span<const std::string> args, CommandStreams streams);
int runExportCsvCommand(std::span<const std::string> args, CommandStreams streams);
int runImportCsvCommand(std::span<const std::string> args, CommandStreams streams);
int runPortsCommand(std::span<const std::string> args, CommandStreams streams);
int runStationCommand(std::span<const std::string> args, CommandStreams streams);

} // namespace kq904::cli
