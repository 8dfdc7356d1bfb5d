#pragma once

#include <QWidget>

#include <functional>

namespace tonara {

// What the shell needs of the measurement tab: the screen itself and the
// three things the background step uses. Kept apart from the screen's class
// so the shell can be tried with a stand-in.
struct MeasurementTab {
    QWidget *screen = nullptr;
    std::function<int()> hardwareButton;        // HardwareButton
    std::function<void(int)> setHardwareButton; // HardwareButton =
    std::function<void()> forceDisconnect;      // ForceDisconnect
    // Puts the mode choice start_tonaradock on top and hides the four
    // measurement windows; empty: found among the screen's children by name.
    std::function<void()> showModeChoice;
};

} // namespace tonara
