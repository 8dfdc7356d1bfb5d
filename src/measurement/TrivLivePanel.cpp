#include "measurement/TrivLivePanel.h"

#include "measurement/MeasurementUi.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

TrivLivePanel::TrivLivePanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("triv3_measuring_window"), tr("TRIV measurement in progress"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    // Room for the trace (661 or 280 points) and its frame.
    const int margin = isTablet(form) ? 40 : 12;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(26 * s), margin, qRound(18 * s));
    col->setSpacing(qRound(9 * s));
    col->addWidget(MeasurementUi::label(this, QStringLiteral("triv3_title"), tr("TRIV measurement"),
                                        QStringLiteral("title")));

    // Which of the three readings is under way: one marker at a time, all
    // in the same place.
    auto *markerHost = new QWidget(this);
    const QSize markerSize(qRound(54 * s * 1.5), qRound(14 * s * 1.5));
    markerHost->setFixedSize(markerSize);
    const QString names[3] = {QStringLiteral("image_1st"), QStringLiteral("image_2nd"),
                              QStringLiteral("image_3rd")};
    const QString heard[3] = {tr("First of three readings"), tr("Second of three readings"),
                              tr("Third of three readings")};
    QLabel **markers[3] = {&image_1st, &image_2nd, &image_3rd};
    for (int i = 0; i < 3; ++i) {
        *markers[i] = MeasurementUi::picture(markerHost, names[i], names[i] + QStringLiteral(".png"),
                                             markerSize, heard[i]);
        (*markers[i])->move(0, 0);
    }
    image_2nd->hide();
    image_3rd->hide();
    col->addWidget(markerHost, 0, Qt::AlignHCenter);

    auto *card = new QFrame(this);
    card->setObjectName(QStringLiteral("triv3_pressure_card"));
    card->setProperty("card", QStringLiteral("dark"));
    auto *cardCol = new QVBoxLayout(card);
    cardCol->setContentsMargins(qRound(16 * s), qRound(8 * s), qRound(16 * s), qRound(10 * s));
    cardCol->setSpacing(0);
    auto *head = new QHBoxLayout;
    head->setSpacing(qRound(6 * s));
    head->addWidget(MeasurementUi::label(card, QStringLiteral("triv3_reading_caption"), tr("Reading"),
                                         QStringLiteral("caption")));
    label3triv_chak = MeasurementUi::valueLabel(card, QStringLiteral("label3triv_chak"),
                                                QStringLiteral("1st"), QStringLiteral("rowvalue"));
    label3triv_chak->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
    head->addWidget(label3triv_chak);
    head->addStretch(1);
    cardCol->addLayout(head);
    labelPressure_3triv = MeasurementUi::valueLabel(card, QStringLiteral("labelPressure_3triv"),
                                                    QStringLiteral("0"), QStringLiteral("bigvalue"));
    cardCol->addWidget(labelPressure_3triv);
    triv3_mmhg_measurement = MeasurementUi::valueLabel(card, QStringLiteral("triv3_mmhg_measurement"),
                                                       QStringLiteral("mmHg"), QStringLiteral("unit"));
    cardCol->addWidget(triv3_mmhg_measurement);
    col->addWidget(card);

    Pleassewait_lable = MeasurementUi::label(this, QStringLiteral("Pleassewait_lable"),
                                             tr("Please wait and relax. The next reading starts by itself."),
                                             QStringLiteral("notice"));
    Pleassewait_lable->setWordWrap(true);
    Pleassewait_lable->setAlignment(Qt::AlignCenter);
    QSizePolicy keep = Pleassewait_lable->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Pleassewait_lable->setSizePolicy(keep);
    col->addWidget(Pleassewait_lable);

    traceHost = new QFrame(this);
    traceHost->setObjectName(QStringLiteral("triv3_trace"));
    traceHost->setProperty("card", QStringLiteral("dark"));
    auto *traceCol = new QVBoxLayout(traceHost);
    traceCol->setContentsMargins(isTablet(form) ? 8 : 4, isTablet(form) ? 8 : 4, isTablet(form) ? 8 : 4,
                                 isTablet(form) ? 8 : 4);
    col->addWidget(traceHost, 0, Qt::AlignHCenter);
    col->addStretch(1);

    triv_measurement_back = MeasurementUi::button(this, QStringLiteral("triv_measurement_back"), tr("Stop"),
                                                  QStringLiteral("danger"));
    triv_measurement_back->setAccessibleName(tr("Stop the TRIV measurement"));
    col->addWidget(triv_measurement_back);
    setPauseColours(false);
}

void TrivLivePanel::setPauseColours(bool paused)
{
    const QString colour = paused ? QStringLiteral("#F5B942") : QStringLiteral("#FFFFFF");
    labelPressure_3triv->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
    triv3_mmhg_measurement->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
}

} // namespace tonara
