#pragma once

#include "platform/FormFactor.h"

#include <QString>

namespace tonara {

class AlertPresenter;
class Clock;
class DBHelper;
class DataSafetyNet;

// What the settings and profile screens are given by the shell. Not owned.
struct UsersContext {
    DBHelper *db = nullptr;
    AlertPresenter *alerts = nullptr;
    const Clock *clock = nullptr;
    QString documentsFolder; // where the photo files live
    FormFactor formFactor = FormFactor::Phone480;
    bool animations = true; // push transitions; off under test
    // Backs up before "Reset data" and deleting a profile, and undoes them; none: no undo.
    DataSafetyNet *safetyNet = nullptr;
};

} // namespace tonara
