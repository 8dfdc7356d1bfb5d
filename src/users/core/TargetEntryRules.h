#pragma once

// What the target panel's two fields accept, independent of any widget.
//
//   if (!TargetEntryRules::shouldChangeCharacters(text.size(), at, length, typed)) return;
//   if (!TargetEntryRules::Textrange(sysText)) alerts.showAlert(kOutOfRangeTitle, ...);

#include <string>

namespace tonara {

class TargetEntryRules {
public:
    static constexpr int kLowest = 1;
    static constexpr int kHighest = 300;

    static constexpr const char *kOutOfRangeTitle = "Number out of range";
    static constexpr const char *kOutOfRangeMessage = "Please enter a number within the range of 1~300";
    static constexpr const char *kOk = "OK";

    // Whether a field holding currentLength characters takes the edit that
    // replaces `length` characters at `location` by `replacement` (UTF-8):
    // deleting always, otherwise digits only and never more than three
    // characters, so typing over a selection works and a fourth digit does not.
    static bool shouldChangeCharacters(int currentLength, int location, int length,
                                       const std::string &replacement);
    // The field's integer value lies in 1..300.
    static bool Textrange(const std::string &text);
    static bool inRange(int value) { return value >= kLowest && value <= kHighest; }
    static int intValue(const std::string &text);
};

} // namespace tonara
