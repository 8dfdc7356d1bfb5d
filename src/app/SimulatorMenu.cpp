#include "app/SimulatorMenu.h"

#include "platform/CallCenter.h"
// The simulator names a member emit(), which Qt defines as a keyword.
#pragma push_macro("emit")
#undef emit
#include "simulator/TonaraSimulator.h"
#pragma pop_macro("emit")

#include <QActionGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QSpinBox>

namespace tonara {

namespace {

struct ErrorChoice {
    int code;
    const char *label;
};

const ErrorChoice kErrors[] = {
    {1, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "1 Signal too weak")},
    {2, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "2 Arm movement")},
    {3, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "3 No pressure in cuff")},
    {4, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "4 (silent)")},
    {5, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "5 Abnormal result")},
    {6, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "6 Error in TRIV mode")},
    {7, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "7 Pulse or cuff pressure too high")},
    {11, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "11 Measurement stopped")},
    {12, QT_TRANSLATE_NOOP("tonara::SimulatorMenu", "12 Low battery")},
};

} // namespace

SimulatorMenu::SimulatorMenu(TonaraSimulator &simulator, CallCenter *calls, QWidget *parent)
    : QMenu(tr("&Simulator"), parent), sim_(simulator), calls_(calls)
{
    setObjectName(QStringLiteral("simulatorMenu"));
    docked_ = addAction(tr("Docked"));
    docked_->setCheckable(true);
    connect(docked_, &QAction::triggered, this, [this](bool on) { on ? sim_.dock() : sim_.undock(); });
    dockToken_ = sim_.addDockObserver([this](bool) { refresh(); });
    addSeparator();
    connect(addAction(tr("Press Single Button")), &QAction::triggered, this,
            [this] { sim_.pressSingleButton(); });
    connect(addAction(tr("Press TRIV Button")), &QAction::triggered, this,
            [this] { sim_.pressTrivButton(); });
    addSeparator();
    connect(addAction(tr("Patient Values…")), &QAction::triggered, this, &SimulatorMenu::editPatient);

    errors_ = addMenu(tr("Next Error"));
    auto *errorGroup = new QActionGroup(this);
    QAction *none = errors_->addAction(tr("None"));
    none->setCheckable(true);
    none->setData(0);
    errorGroup->addAction(none);
    errors_->addSeparator();
    for (const ErrorChoice &e : kErrors) {
        QAction *a = errors_->addAction(tr(e.label));
        a->setCheckable(true);
        a->setData(e.code);
        errorGroup->addAction(a);
    }
    connect(errorGroup, &QActionGroup::triggered, this,
            [this](QAction *a) { sim_.injectError(a->data().toInt()); });

    battery_ = addMenu(tr("Battery"));
    for (int level : {100, 76, 75, 51, 50, 26, 25, 11, 10, 0})
        connect(battery_->addAction(tr("%1 %").arg(level)), &QAction::triggered, this,
                [this, level] { setBatteryLevel(level); });
    connect(battery_->addAction(tr("Other Level…")), &QAction::triggered, this,
            &SimulatorMenu::askBatteryLevel);
    battery_->addSeparator();
    charging_ = battery_->addAction(tr("Charging"));
    charging_->setCheckable(true);
    connect(charging_, &QAction::triggered, this, [this](bool on) {
        TonaraSimulator::Battery b = sim_.battery();
        b.charging = on;
        sim_.setBattery(b);
    });
    failed_ = battery_->addAction(tr("Battery Failure"));
    failed_->setCheckable(true);
    connect(failed_, &QAction::triggered, this, [this](bool on) {
        TonaraSimulator::Battery b = sim_.battery();
        b.failed = on;
        sim_.setBattery(b);
    });

    QMenu *speed = addMenu(tr("Speed"));
    auto *speedGroup = new QActionGroup(this);
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        QAction *a = speed->addAction(tr("%1×").arg(factor));
        a->setCheckable(true);
        a->setChecked(factor == sim_.speed());
        speedGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, factor] { sim_.setSpeed(factor); });
    }

    addSeparator();
    QAction *call = addAction(tr("Incoming Phone Call"));
    connect(call, &QAction::triggered, this, [this] {
        if (calls_)
            calls_->simulateIncomingCall();
    });
    connect(this, &QMenu::aboutToShow, this, &SimulatorMenu::refresh);
    refresh();
}

SimulatorMenu::~SimulatorMenu()
{
    sim_.removeDockObserver(dockToken_);
}

void SimulatorMenu::refresh()
{
    docked_->setChecked(sim_.isDocked());
    charging_->setChecked(sim_.battery().charging);
    failed_->setChecked(sim_.battery().failed);
    battery_->setTitle(tr("Battery (%1 %)").arg(sim_.battery().level));
    const int pending = sim_.pendingError().value_or(0);
    for (QAction *a : errors_->actions())
        if (a->isCheckable())
            a->setChecked(a->data().toInt() == pending);
}

void SimulatorMenu::setBatteryLevel(int level)
{
    TonaraSimulator::Battery b = sim_.battery();
    b.level = level;
    sim_.setBattery(b);
    refresh();
}

void SimulatorMenu::askBatteryLevel()
{
    bool ok = false;
    // Levels outside 0..100 are allowed on purpose: the app must report them.
    const int level = QInputDialog::getInt(parentWidget(), tr("Battery"), tr("Battery level (percent):"),
                                           sim_.battery().level, -10, 255, 1, &ok);
    if (ok)
        setBatteryLevel(level);
}

void SimulatorMenu::editPatient()
{
    QDialog dialog(parentWidget());
    dialog.setWindowTitle(tr("Patient Values"));
    auto *form = new QFormLayout(&dialog);
    const TonaraSimulator::Patient now = sim_.patient();
    auto spin = [&dialog](int lo, int hi, int value, const QString &name) {
        auto *s = new QSpinBox(&dialog);
        s->setRange(lo, hi);
        s->setValue(value);
        s->setAccessibleName(name);
        return s;
    };
    QSpinBox *sys = spin(40, 300, now.sys, tr("Systolic pressure"));
    QSpinBox *dia = spin(20, 250, now.dia, tr("Diastolic pressure"));
    QSpinBox *pulse = spin(20, 250, now.heartRate, tr("Pulse"));
    auto *pad = new QCheckBox(tr("Irregular heartbeat (PAD)"), &dialog);
    pad->setChecked(now.pad);
    form->addRow(tr("Systolic (mmHg)"), sys);
    form->addRow(tr("Diastolic (mmHg)"), dia);
    form->addRow(tr("Pulse (per minute)"), pulse);
    form->addRow(pad);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    sim_.setPatient({sys->value(), dia->value(), pulse->value(), pad->isChecked()});
}

} // namespace tonara
