#pragma once

#include "platform/FormFactor.h"

namespace tonara {

class AccessoryManager;
class AlertPresenter;
class CallCenter;
class Clock;
class DBHelper;
class NotificationCenter;
class Scheduler;
class ScreenLockInhibitor;

// What the measurement screen is given by the shell. Not owned.
struct MeasurementContext {
    AccessoryManager *accessories = nullptr; // the engine opens its session through it
    Scheduler *scheduler = nullptr;
    const Clock *clock = nullptr;
    NotificationCenter *center = nullptr;
    AlertPresenter *alerts = nullptr;
    DBHelper *db = nullptr; // where readings are stored; nullptr: DBHelper::newInstance()
    CallCenter *calls = nullptr;
    ScreenLockInhibitor *screenLock = nullptr;
    FormFactor formFactor = FormFactor::Phone480;
    bool animations = true; // push transitions; off under test
};

} // namespace tonara
