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

    // A card under the three modes (the home-monitoring week); on the small
    // phone it takes the place of the hint below them.
    void addWeekCard(QWidget *card);

    QPushButton *one_tonara = nullptr;   // single measurement
    QPushButton *mem_tonara = nullptr;   // TRIV series
    QPushButton *maual_tonara = nullptr; // manual entry

private:
    FormFactor form_;
};

} // namespace tonara
