#include "users/core/BloodPressureTarget.h"

#include "storage/DataBaseforCD.h"
#include "users/core/TargetEntryRules.h"

namespace tonara {

BloodPressureTarget::BloodPressureTarget(DataBaseforCD &store) : store_(store) {}

void BloodPressureTarget::load()
{
    store_.ReadDataBase_setting_table();
    high_ = kDefaultHigh;
    low_ = kDefaultLow;
    if (store_.aArray_high_setting.empty() || store_.aArray_low_setting.empty())
        return;
    const int high = int(store_.aArray_high_setting.back());
    const int low = int(store_.aArray_low_setting.back());
    // Both or neither: half a target would draw one stored line and one default.
    if (!TargetEntryRules::inRange(high) || !TargetEntryRules::inRange(low))
        return;
    high_ = high;
    low_ = low;
}

bool BloodPressureTarget::save(int high, int low)
{
    store_.ReadDataBase_setting_table();
    // Without a settings row the insert also names the active user: the first one.
    const int user = store_.aArray_user_id_setting.empty() ? 0 : -1;
    if (!store_.insertDataBase_setting_table(user, float(high), float(low)))
        return false;
    high_ = high;
    low_ = low;
    return true;
}

} // namespace tonara
