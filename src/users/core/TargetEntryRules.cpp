#include "users/core/TargetEntryRules.h"

#include "measurement/core/ManualEntryRules.h"

namespace tonara {

// The target fields type like the manual entry's number fields: three digits at most.
bool TargetEntryRules::shouldChangeCharacters(int currentLength, int location, int length,
                                              const std::string &replacement)
{
    return ManualEntryRules::shouldChangeCharacters(currentLength, location, length, replacement);
}

int TargetEntryRules::intValue(const std::string &text)
{
    return ManualEntryRules::intValue(text);
}

bool TargetEntryRules::Textrange(const std::string &text)
{
    return inRange(intValue(text));
}

} // namespace tonara
