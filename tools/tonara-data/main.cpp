// tonara-data: backs up, restores, exports and imports a person's readings
// from the command line, for scripts and for tests.

#include "DataCommand.h"

#include <QCoreApplication>

#include <algorithm>
#include <iostream>

namespace tonara::datatool {

namespace {
std::vector<DataCommand> &registry()
{
    static std::vector<DataCommand> commands;
    return commands;
}
} // namespace

const std::vector<DataCommand> &dataCommands()
{
    return registry();
}

DataCommandRegistration::DataCommandRegistration(DataCommand command)
{
    registry().push_back(std::move(command));
}

} // namespace tonara::datatool

namespace {

using tonara::datatool::dataCommands;

void printUsage(std::ostream &to)
{
    to << "usage: tonara-data --data-dir DIR COMMAND ...\n\ncommands:\n";
    for (const auto &command : dataCommands())
        to << "  " << command.usage << "\n";
    to << "\nExit status 0 when the command did what was asked; otherwise non-zero, with the\n"
          "reason on stderr.\n";
}

int usageError(const std::string &message)
{
    std::cerr << "tonara-data: " << message << "\n(see tonara-data --help)" << std::endl;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Qt's file and time classes are used by the commands; no window is opened.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tonara-data");

    std::string dataDir;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(std::cout);
            return 0;
        }
        if (arg == "--data-dir") {
            if (i + 1 >= argc)
                return usageError("--data-dir needs a folder");
            dataDir = argv[++i];
            continue;
        }
        rest.push_back(arg);
    }
    if (dataDir.empty())
        return usageError("--data-dir DIR is required");
    if (rest.empty())
        return usageError("no command given");

    const auto &commands = dataCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const auto &command) { return command.name == rest.front(); });
    if (found == commands.end())
        return usageError("unknown command \"" + rest.front() + "\"");

    tonara::datatool::DataCommandContext context{dataDir, {rest.begin() + 1, rest.end()}, std::cout, std::cerr};
    return found->run(context);
}
