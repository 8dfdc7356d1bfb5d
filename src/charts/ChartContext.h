#pragma once

#include "platform/FormFactor.h"

namespace tonara {

class AlertPresenter;
class Clock;
class DBHelper;
class Scheduler;

// What the landscape chart view is given by the shell. Not owned.
struct ChartContext {
    DBHelper *db = nullptr;
    AlertPresenter *alerts = nullptr;
    const Clock *clock = nullptr;
    Scheduler *scheduler = nullptr; // the page indicator's tick, the legend's flip
    FormFactor formFactor = FormFactor::Phone480;
    bool animations = true; // page slides and the flip; off under test
};

} // namespace tonara
