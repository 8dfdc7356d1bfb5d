#include "measurement/BatteryGauge.h"

namespace tonara {

std::string BatteryGauge::pictureFor(int level)
{
    if (!isValid(level))
        return {};
    if (level <= 25)
        return "Battery_04.png";
    if (level <= 50)
        return "Battery_03.png";
    if (level <= 75)
        return "Battery_02.png";
    return "Battery_01.png";
}

} // namespace tonara
