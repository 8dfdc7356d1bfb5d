#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QPushButton;

namespace tonara {

// device_not_connected: asks the person to dock the phone on the Tonara+.
class NotConnectedPanel : public QWidget {
    Q_OBJECT
public:
    NotConnectedPanel(FormFactor form, QWidget *parent = nullptr);

    QPushButton *device_not_connected_cancel = nullptr;
};

} // namespace tonara
