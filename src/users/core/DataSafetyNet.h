#pragma once

// A backup of everything, taken before an operation that deletes data, and
// the way back to it. The settings and profile screens ask for it; the shell
// gives them one that keeps the automatic backups.
//
//   std::string why;
//   const std::string backup = net.backUpBefore(DataSafetyNet::Operation::ResetData, &why);
//   if (backup.empty()) askWhetherToGoOnWithout(why);
//   deleteOldReadings();
//   ... later, on "Undo":
//   if (!net.undo(backup, &why)) tell(why);     // nothing changed then

#include <string>

namespace tonara {

class DataSafetyNet {
public:
    enum class Operation { ResetData, DeleteProfile };

    virtual ~DataSafetyNet() = default;
    // Names the backup taken; empty when none could be made, with *why in
    // words for the person.
    virtual std::string backUpBefore(Operation operation, std::string *why) = 0;
    // Puts the data back as it was when that backup was taken.
    virtual bool undo(const std::string &backup, std::string *why) = 0;
};

} // namespace tonara
