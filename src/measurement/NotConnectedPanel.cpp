#include "measurement/NotConnectedPanel.h"

#include "measurement/MeasurementUi.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

NotConnectedPanel::NotConnectedPanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("device_not_connected"), tr("Tonara+ not connected"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 120 : 24;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(30 * s), margin, qRound(22 * s));
    col->setSpacing(qRound(12 * s));
    col->addStretch(1);
    col->addWidget(MeasurementUi::picture(this, QStringLiteral("device_not_connected_image"),
                                          QStringLiteral("step3_image.png"),
                                          QSize(qRound(224 * s), qRound(200 * s)),
                                          tr("The phone going down into the Tonara+ dock")),
                   0, Qt::AlignHCenter);
    QLabel *title = MeasurementUi::label(this, QStringLiteral("device_not_connected_title"),
                                         tr("Tonara+ not connected"), QStringLiteral("title"));
    title->setAlignment(Qt::AlignCenter);
    col->addWidget(title);
    QLabel *body = MeasurementUi::label(this, QStringLiteral("device_not_connected_message"),
                                        tr("Place your phone on the Tonara+ dock. The measurement continues "
                                           "as soon as the Tonara+ is docked."),
                                        QStringLiteral("body"));
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignCenter);
    col->addWidget(body);
    col->addStretch(2);
    device_not_connected_cancel = MeasurementUi::button(this, QStringLiteral("device_not_connected_cancel"),
                                                        tr("Cancel"), QStringLiteral("secondary"));
    col->addWidget(device_not_connected_cancel);
}

} // namespace tonara
