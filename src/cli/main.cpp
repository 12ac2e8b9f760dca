// quilmo-tool: test files for a whole classroom from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "cli/JournalCommands.h"
#include "cli/ToolCommands.h"

int main(int argc, char** argv)
{
    using namespace quilmo::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1], std::cout, std::cerr);
    if (args.size() >= 3 && args[0] == "convert")
        return Convert(args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()), std::cerr);
    if (!args.empty() && args[0] == "journal")
        return Journal(std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr);
    Usage(std::cerr);
    JournalUsage(std::cerr);
    return kUsage;
}
