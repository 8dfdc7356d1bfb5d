#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QPushButton;

namespace tonara {

class ManualNumberField;

// The digits and a delete key under a number field of the manual entry, for
// a touch screen without a keyboard of its own. Keys go through the field's
// own rules, so they can do nothing a typed key could not.
class ManualKeypad : public QWidget {
    Q_OBJECT
public:
    ManualKeypad(ManualNumberField *field, FormFactor form, QWidget *parent = nullptr);

    // digit 0..9, or -1 for the delete key.
    QPushButton *key(int digit) const;

private:
    ManualNumberField *field_;
    QPushButton *keys_[11] = {};
};

} // namespace tonara
