#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

// measuring_window_result: the reading of a single measurement with its WHO
// class, the PAD finding and the save, cancel and comment controls.
class SingleResultPanel : public QWidget {
    Q_OBJECT
public:
    SingleResultPanel(FormFactor form, QWidget *parent = nullptr);

    QLabel *labelSys = nullptr;
    QLabel *labelDia = nullptr;
    QLabel *labelHR = nullptr;
    QLabel *labelTime = nullptr;
    QLabel *measurement_time = nullptr;
    QPushButton *PAD_bt = nullptr;
    QPushButton *WHO_bt = nullptr;
    QLineEdit *comments_text = nullptr;
    QPushButton *measurement_save = nullptr;
    QPushButton *measurement_canael = nullptr;

signals:
    void commentTapped();
};

} // namespace tonara
