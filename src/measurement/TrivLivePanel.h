#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace tonara {

// triv3_measuring_window: the reading in progress of a TRIV series, its
// cuff pressure or the pause countdown, and the pulse trace.
class TrivLivePanel : public QWidget {
    Q_OBJECT
public:
    TrivLivePanel(FormFactor form, QWidget *parent = nullptr);

    QLabel *labelPressure_3triv = nullptr;
    QLabel *triv3_mmhg_measurement = nullptr;
    QLabel *label3triv_chak = nullptr;
    QLabel *image_1st = nullptr;
    QLabel *image_2nd = nullptr;
    QLabel *image_3rd = nullptr;
    QLabel *Pleassewait_lable = nullptr;
    QFrame *traceHost = nullptr;
    QPushButton *triv_measurement_back = nullptr;

    // Pressure and unit in the live colour (white) or the pause colour.
    void setPauseColours(bool paused);
};

} // namespace tonara
