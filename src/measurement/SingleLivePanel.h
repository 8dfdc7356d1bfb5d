#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QFrame;
class QPushButton;

namespace tonara {

// measuring_window: the cuff pressure, the heartbeat and the pulse trace of a
// single measurement while the cuff deflates.
class SingleLivePanel : public QWidget {
    Q_OBJECT
public:
    SingleLivePanel(FormFactor form, QWidget *parent = nullptr);

    QLabel *labelPressure = nullptr;
    QLabel *Heart = nullptr;
    QLabel *Heart_mu = nullptr;
    QFrame *traceHost = nullptr; // the screen puts the Oscilloscope here
    QPushButton *measurement_stop = nullptr;
};

} // namespace tonara
