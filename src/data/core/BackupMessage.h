#pragma once

// A sentence for the person, kept apart from its values so the screens can
// translate the text and then fill in the values (%1, %2, ...), and the
// command-line tool can print it as it is.
//
//   BackupMessage m{BackupTexts::kNotABackup, {"notes.txt"}};
//   std::cerr << m.english();                       // "The file "notes.txt" is not ..."
//   tr(m.text.c_str()) then fill m.args in one pass  // on a screen

#include <string>
#include <vector>

namespace tonara {

struct BackupMessage {
    std::string text; // with %1 ... %9 where the values go
    std::vector<std::string> args;

    bool empty() const { return text.empty(); }
    std::string english() const { return fill(text, args); }

    // Puts the values in place of %1 ... %9 in one pass, so a value that holds
    // "%2" itself stays as it is.
    static std::string fill(const std::string &pattern, const std::vector<std::string> &values);
};

} // namespace tonara
