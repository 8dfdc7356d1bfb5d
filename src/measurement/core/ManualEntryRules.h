#pragma once

// What the manual entry wizard accepts, independent of any widget: which edits
// a number field takes, which values pass "next", how far the date and time
// picker may go, and how the picked moment is written on screen.
//
//   if (!ManualEntryRules::shouldChangeCharacters(text.size(), at, length, typed)) return; // refuse the key
//   if (auto refusal = ManualEntryRules::validate(ManualEntryRules::Field::Systolic, text))
//       alerts.showAlert(refusal->title, refusal->message, {"OK"});
//   LocalDateTime shown = ManualEntryRules::clampToLatest(picked, now);
//   label = ManualEntryRules::pickerLabel(shown);     // "2013/03/02            11:30PM"

#include "base/Clock.h"

#include <optional>
#include <string>

namespace tonara {

class ManualEntryRules {
public:
    enum class Field { Systolic, Diastolic, Pulse };

    static constexpr int kMaxCharacters = 3;

    static constexpr const char *kNumberMissingTitle = "Number missing";
    static constexpr const char *kNumberMissingMessage = "Please enter a number in the box";
    static constexpr const char *kOutOfRangeTitle = "Number out of range";
    static constexpr const char *kOutOfRange300 = "Please enter a number within the range of 0~300";
    static constexpr const char *kOutOfRange200 = "Please enter a number within the range of 0~200";
    static constexpr const char *kOk = "OK";

    struct Refusal {
        std::string title;
        std::string message;
        bool operator==(const Refusal &) const = default;
    };

    // Largest accepted value of the field (the smallest is 0 for all three).
    static int upperBound(Field field);

    // The integer a field's text stands for: leading blanks skipped, an optional
    // sign, then digits up to the first other character; 0 when there are none.
    // Saturates instead of overflowing.
    static int intValue(const std::string &text);

    // Nothing when the text may pass "next"; otherwise the alert to show.
    static std::optional<Refusal> validate(Field field, const std::string &text);

    // Whether a number field holding currentLength characters takes the edit
    // that replaces `length` characters at `location` by `replacement` (UTF-8).
    // Deleting is always allowed; anything inserted must be ASCII digits only,
    // and the field never ends up longer than three characters.
    static bool shouldChangeCharacters(int currentLength, int location, int length,
                                       const std::string &replacement);
    // Non-empty and made of the digits 0-9 only.
    static bool isDigits(const std::string &text);

    // a is a later moment than b.
    static bool isLater(const LocalDateTime &a, const LocalDateTime &b);
    // The picked moment, or the latest selectable one when it lies beyond it.
    static LocalDateTime clampToLatest(const LocalDateTime &picked, const LocalDateTime &latest);

    // The picker's caption: "yyyy/MM/dd            hh:mmaaa" (twelve spaces,
    // 12-hour clock, "AM"/"PM").
    static std::string pickerLabel(const LocalDateTime &at);
    // The result window's date, "yyyy/MM/dd", and time, "hh:mmaaa".
    static std::string resultDate(const LocalDateTime &at);
    static std::string resultTime(const LocalDateTime &at);
};

} // namespace tonara
