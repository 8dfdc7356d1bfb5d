#pragma once

#include <string>

namespace tonara {

// What the battery icon shows for a level reported by the monitor.
class BatteryGauge {
public:
    // 10 percent or less keeps the user from starting a measurement.
    static constexpr int kLowLevel = 10;

    static bool isLow(int level) { return level <= kLowLevel; }
    // "Battery_04.png" (emptiest) .. "Battery_01.png" (full); empty for a level
    // outside 0..100, which the screen reports as a battery error.
    static std::string pictureFor(int level);
    static bool isValid(int level) { return level >= 0 && level <= 100; }
};

} // namespace tonara
