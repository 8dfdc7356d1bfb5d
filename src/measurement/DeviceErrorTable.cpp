#include "measurement/DeviceErrorTable.h"

#include <array>

namespace tonara {

namespace {

constexpr std::array<DeviceErrorTable::Entry, 7> kEntries{{
    {1, "Signal too weak",
     "The pulse signals on the cuff are too weak.Re-position the cuff and repeat the measurement."},
    {2, "Arm movement",
     "During the measurement,error signals were detected by the cuff,caused for instance by movement or "
     "muscle "
     "tension. Repeat the measurement keeping your arm still."},
    {3, "No pressure in cuff",
     "An adequate pressure cannot be generated in the cuff. A leak may have occurred. Check that the cuff is "
     "correctly connected and is not too loose.Replace the batteries if necessary. Repeat the measurement."},
    {5, "Abnormal result",
     "The measuring signals are inaccurate and no result can therefore be displayed. Read through the "
     "checklist for "
     "performing reliable measurements and then repeat the measurement."},
    {6, "Error in TRIV mode",
     "There were too many errors during the measurement in TRIV mode,making it impossible to obtain a final "
     "result. "
     "Read through the checklist for pergorming reliable measurements and then repeat the measurement."},
    {7, "Pulse or cuff pressure too high",
     "The pressure in the cuff is too high (over 300 mmHg) or the pulse is too high (over 200 beats "
     "perminute). Relax "
     "for 5 minutes and repeat the measurement."},
    {11, DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kStoppedMessage},
}};

} // namespace

const DeviceErrorTable::Entry *DeviceErrorTable::find(int code)
{
    for (const auto &e : kEntries)
        if (e.code == code)
            return &e;
    return nullptr;
}

} // namespace tonara
