#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

// triv3_measuring_window_result: the three readings of a TRIV series, their
// averages with the WHO class, the PAD finding and the save, cancel and
// comment controls.
class TrivResultPanel : public QWidget {
    Q_OBJECT
public:
    TrivResultPanel(FormFactor form, QWidget *parent = nullptr);

    // [0] 1st, [1] 2nd, [2] 3rd: triv3_sys_1st, triv3_dia_1st, triv3_pulse_1st, ...
    std::array<QLabel *, 3> sys{};
    std::array<QLabel *, 3> dia{};
    std::array<QLabel *, 3> pulse{};
    QLabel *triv3_sysavg = nullptr;
    QLabel *triv3_diaavg = nullptr;
    QLabel *triv3_pulseavg = nullptr;
    QLabel *triv3_date_result = nullptr;
    QLabel *triv3_time_result = nullptr;
    QPushButton *PAD_bt_triv3 = nullptr;
    QPushButton *WHO_bt_triv3 = nullptr;
    QLineEdit *comments_text_3triv = nullptr;
    QPushButton *triv3_result_save = nullptr;
    QPushButton *triv3_result_cencel = nullptr;

signals:
    void commentTapped();
};

} // namespace tonara
