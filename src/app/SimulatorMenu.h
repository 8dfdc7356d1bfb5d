#pragma once

#include <QMenu>
#include <QPointer>

namespace tonara {

class CallCenter;
class TonaraSimulator;

// The desktop's "Simulator" menu, outside the phone: docks and undocks the
// built-in monitor, presses its two buttons, sets the patient's values, injects
// the next error, sets the battery and the speed, and rings the phone.
class SimulatorMenu : public QMenu {
    Q_OBJECT
public:
    SimulatorMenu(TonaraSimulator &simulator, CallCenter *calls, QWidget *parent = nullptr);
    ~SimulatorMenu() override;

private:
    void refresh();
    void editPatient();
    void setBatteryLevel(int level);
    void askBatteryLevel();

    TonaraSimulator &sim_;
    QPointer<CallCenter> calls_;
    int dockToken_ = 0;
    QAction *docked_ = nullptr;
    QAction *charging_ = nullptr;
    QAction *failed_ = nullptr;
    QMenu *errors_ = nullptr;
    QMenu *battery_ = nullptr;
};

} // namespace tonara
