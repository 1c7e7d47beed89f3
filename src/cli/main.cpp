// kq904-cli: the configuration tools of the KQ904 programmer without a window.

#include <iostream>

#include "cli/cli_app.h"
#include "cli/console.h"

int main(int argc, char** argv)
{
    kq904::cli::useUtf8Console();
    const std::vector<std::string> args = kq904::cli::commandLineArguments(argc, argv);
    return kq904::cli::runCli(args, {std::cout, std::cerr});
}
