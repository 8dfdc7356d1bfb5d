#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace tonara {

// One step of the manual entry wizard (manual_step1_4 .. manual_step4_4): the
// step's place among the four, its question, the control that answers it and
// the back and next buttons.
class ManualStepView : public QWidget {
    Q_OBJECT
public:
    // step 1..4; name is the view's name, e.g. "manual_step2_4".
    ManualStepView(int step, const QString &name, const QString &question, const QString &hint,
                   FormFactor form, QWidget *parent = nullptr);

    int step() const { return step_; }
    // Where the step's own controls go, between the question and the buttons.
    QVBoxLayout *body() const { return body_; }

    QLabel *title = nullptr;
    QLabel *question = nullptr;
    QLabel *hint = nullptr;
    QPushButton *back = nullptr; // manual_stepN_4_back
    QPushButton *next = nullptr; // manual_stepN_4_next

private:
    int step_;
    QVBoxLayout *body_ = nullptr;
};

} // namespace tonara
