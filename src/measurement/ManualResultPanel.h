#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

// manual_result: the reading typed in, with its WHO class, the comment field
// and the save and cancel buttons.
class ManualResultPanel : public QWidget {
    Q_OBJECT
public:
    ManualResultPanel(FormFactor form, QWidget *parent = nullptr);

    QLabel *manual_sys = nullptr;
    QLabel *manual_dia = nullptr;
    QLabel *manual_pulse = nullptr;
    QLabel *manual_date = nullptr;
    QLabel *manual_time = nullptr;
    QPushButton *WHO_bt_manual = nullptr;
    QLineEdit *comments_text_manual = nullptr;
    QPushButton *manual_result_save = nullptr;
    QPushButton *manul_result_cencel = nullptr;

signals:
    void commentTapped();
};

} // namespace tonara
