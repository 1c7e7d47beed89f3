#pragma once
// The commands of kq904-cli, one function each; cli_app.cpp lists them in the command table
// with the options each takes, and runs one only with arguments read without a problem.

#include "cli/arguments.h"
#include "cli/cli_app.h"

namespace kq904::cli {

int runListingCommand(const ParsedArguments& parsed, CommandStreams streams);
int runProgramCommand(const ParsedArguments& parsed, CommandStreams streams);
int runReadCommand(const ParsedArguments& parsed, CommandStreams streams);
int runVersionCommand(const ParsedArguments& parsed, CommandStreams streams);
int runExportCsvCommand(const ParsedArguments& parsed, CommandStreams streams);
int runImportCsvCommand(const ParsedArguments& parsed, CommandStreams streams);
int runPortsCommand(const ParsedArguments& parsed, CommandStreams streams);
int runStationCommand(const ParsedArguments& parsed, CommandStreams streams);

} // namespace kq904::cli
