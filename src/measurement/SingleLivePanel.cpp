#include "measurement/SingleLivePanel.h"

#include "measurement/MeasurementUi.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

SingleLivePanel::SingleLivePanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("measuring_window"), tr("Single measurement in progress"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    // Room for the trace (661 or 280 points) and its frame.
    const int margin = isTablet(form) ? 40 : 12;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(26 * s), margin, qRound(18 * s));
    col->setSpacing(qRound(10 * s));
    col->addWidget(MeasurementUi::label(this, QStringLiteral("measuring_title"), tr("Single measurement"),
                                        QStringLiteral("title")));
    QLabel *sub =
        MeasurementUi::label(this, QStringLiteral("measuring_hint"),
                             tr("Keep your arm still while the cuff deflates."), QStringLiteral("subtitle"));
    sub->setWordWrap(true);
    col->addWidget(sub);

    auto *card = new QFrame(this);
    card->setObjectName(QStringLiteral("pressure_card"));
    card->setProperty("card", QStringLiteral("dark"));
    auto *row = new QHBoxLayout(card);
    row->setContentsMargins(qRound(18 * s), qRound(10 * s), qRound(18 * s), qRound(10 * s));
    // The heart lights up on each beat over a pale one that stays.
    const QSize heart(qRound(32 * s), qRound(28 * s));
    auto *heartSlot = new QWidget(card);
    heartSlot->setFixedSize(heart);
    MeasurementUi::picture(heartSlot, QStringLiteral("Heart_idle"), QStringLiteral("icon_heart_off.png"),
                           heart, tr("Waiting for a heartbeat"));
    Heart = MeasurementUi::picture(heartSlot, QStringLiteral("Heart"), QStringLiteral("icon_heart.png"),
                                   heart, tr("Heartbeat"));
    Heart->setVisible(false);
    auto *value = new QVBoxLayout;
    value->setSpacing(0);
    labelPressure = MeasurementUi::valueLabel(card, QStringLiteral("labelPressure"), QStringLiteral("0"),
                                              QStringLiteral("bigvalue"));
    labelPressure->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
    value->addWidget(labelPressure);
    QLabel *unit = MeasurementUi::label(card, QStringLiteral("measuring_mmhg"), tr("mmHg cuff pressure"),
                                        QStringLiteral("unit"));
    unit->setAlignment(Qt::AlignCenter);
    value->addWidget(unit);
    row->addStretch(1);
    row->addLayout(value);
    row->addStretch(1);
    // Keeps the number centred whether or not the heart is showing.
    auto *spacer = new QWidget(card);
    spacer->setFixedSize(heart);
    row->insertWidget(0, spacer);
    row->addWidget(heartSlot);
    col->addWidget(card);

    traceHost = new QFrame(this);
    traceHost->setObjectName(QStringLiteral("measuring_trace"));
    traceHost->setProperty("card", QStringLiteral("dark"));
    auto *traceCol = new QVBoxLayout(traceHost);
    traceCol->setContentsMargins(isTablet(form) ? 8 : 4, 8, isTablet(form) ? 8 : 4, isTablet(form) ? 8 : 4);
    auto *traceHead = new QHBoxLayout;
    traceHead->addWidget(MeasurementUi::label(traceHost, QStringLiteral("measuring_trace_title"),
                                              tr("Pulse wave"), QStringLiteral("caption")));
    traceHead->addStretch(1);
    Heart_mu = MeasurementUi::picture(traceHost, QStringLiteral("Heart_mu"), QStringLiteral("icon_heart.png"),
                                      QSize(qRound(16 * s), qRound(14 * s)), tr("Heartbeat"));
    Heart_mu->setVisible(false);
    traceHead->addWidget(Heart_mu);
    traceCol->addLayout(traceHead);
    col->addWidget(traceHost, 0, Qt::AlignHCenter);
    col->addStretch(1);

    measurement_stop =
        MeasurementUi::button(this, QStringLiteral("measurement_stop"), tr("Stop"), QStringLiteral("danger"));
    measurement_stop->setAccessibleName(tr("Stop the measurement"));
    col->addWidget(measurement_stop);
}

} // namespace tonara
