// kq904-cli: the configuration tools of the KQ904 programmer without a window.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return kq904::cli::runCli(args, {std::cout, std::cerr});
}
