#pragma once

#include "platform/FormFactor.h"

namespace tonara {

class AlertPresenter;
class Clock;
class DBHelper;
class Scheduler;

// What the history screen is given by the shell. Not owned.
struct HistoryContext {
    DBHelper *db = nullptr; // nullptr: DBHelper::newInstance()
    AlertPresenter *alerts = nullptr;
    const Clock *clock = nullptr;
    Scheduler *scheduler = nullptr; // the banner's tick
    FormFactor formFactor = FormFactor::Phone480;
    bool animations = true; // push transitions; off under test
};

} // namespace tonara
