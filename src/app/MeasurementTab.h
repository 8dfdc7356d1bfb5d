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
    // Wave frames arriving, or a TRIV series between its readings. Empty:
    // the shell takes HardwareButton 2 for it.
    std::function<bool()> measurementRunning;
    // The screen's own background stop (stop command, "Measurement Stop",
    // mode choice on top, HardwareButton 0, screen lock back on). Empty: the
    // shell takes those steps itself, finding the panels by their names.
    std::function<void()> enterBackground;
};

} // namespace tonara
