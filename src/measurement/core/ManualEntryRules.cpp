#include "measurement/core/ManualEntryRules.h"

#include <climits>
#include <cstdio>
#include <tuple>

namespace tonara {

int ManualEntryRules::upperBound(Field field)
{
    return field == Field::Pulse ? 200 : 300;
}

int ManualEntryRules::intValue(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::optional<ManualEntryRules::Refusal> ManualEntryRules::validate(Field field, const std::string &text)
{
    if (text.empty())
        return Refusal{kNumberMissingTitle, kNumberMissingMessage};
    const int value = intValue(text);
    if (value < 0 || value > upperBound(field))
        return Refusal{kOutOfRangeTitle, field == Field::Pulse ? kOutOfRange200 : kOutOfRange300};
    return std::nullopt;
}

bool ManualEntryRules::isDigits(const std::string &text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool ManualEntryRules::shouldChangeCharacters(int currentLength, int location, int length,
                                              const std::string &replacement)
{
    if (location < 0 || length < 0 || location + length > currentLength)
        return false;
    if (replacement.empty())
        return true;
    if (!isDigits(replacement))
        return false;
    // Digits are one byte each, so the byte count is the character count.
    const int after = currentLength - length + static_cast<int>(replacement.size());
    return after <= kMaxCharacters;
}

bool ManualEntryRules::isLater(const LocalDateTime &a, const LocalDateTime &b)
{
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) >
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

LocalDateTime ManualEntryRules::clampToLatest(const LocalDateTime &picked, const LocalDateTime &latest)
{
    return isLater(picked, latest) ? latest : picked;
}

std::string ManualEntryRules::resultDate(const LocalDateTime &at)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", at.year, at.month, at.day);
    return buf;
}

std::string ManualEntryRules::resultTime(const LocalDateTime &at)
{
    const int twelve = at.hour % 12 == 0 ? 12 : at.hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d%s", twelve, at.minute, at.hour < 12 ? "AM" : "PM");
    return buf;
}

std::string ManualEntryRules::pickerLabel(const LocalDateTime &at)
{
    return resultDate(at) + "            " + resultTime(at);
}

} // namespace tonara
