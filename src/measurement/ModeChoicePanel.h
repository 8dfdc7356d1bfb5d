#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QPushButton;

namespace tonara {

// start_tonaradock: the three ways to take a reading.
class ModeChoicePanel : public QWidget {
    Q_OBJECT
public:
    ModeChoicePanel(FormFactor form, QWidget *parent = nullptr);

    QPushButton *one_tonara = nullptr;   // single measurement
    QPushButton *mem_tonara = nullptr;   // TRIV series
    QPushButton *maual_tonara = nullptr; // manual entry
};

} // namespace tonara
