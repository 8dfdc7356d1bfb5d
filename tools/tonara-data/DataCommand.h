// The subcommands of tonara-data. Each lives in its own file and registers
// itself with a static DataCommandRegistration, so the backup and the
// import/export commands can grow apart.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tonara::datatool {

struct DataCommandContext {
    std::string dataDir;            // the folder holding TonaraDock.sqlite and the photos
    std::vector<std::string> args;  // what follows the subcommand's name
    std::ostream &out;
    std::ostream &err;
};

struct DataCommand {
    std::string name;   // "backup", "restore", "export", "import"
    std::string usage;  // one line for --help, e.g. "backup FILE"
    std::function<int(DataCommandContext &)> run;  // exit status: 0 done, non-zero with a message on err
};

const std::vector<DataCommand> &dataCommands();

struct DataCommandRegistration {
    explicit DataCommandRegistration(DataCommand command);
};

} // namespace tonara::datatool
