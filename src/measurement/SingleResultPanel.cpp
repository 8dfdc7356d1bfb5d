#include "measurement/SingleResultPanel.h"

#include "measurement/MeasurementUi.h"
#include "measurement/ResultWidgets.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

SingleResultPanel::SingleResultPanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("measuring_window_result"), tr("Measurement result"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 54 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(24 * s), margin, qRound(16 * s));
    col->setSpacing(qRound(10 * s));

    auto *head = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->setSpacing(qRound(2 * s));
    titles->addWidget(MeasurementUi::label(this, QStringLiteral("result_title"), tr("Your result"),
                                           QStringLiteral("title")));
    auto *when = new QHBoxLayout;
    when->setSpacing(qRound(8 * s));
    labelTime = MeasurementUi::valueLabel(this, QStringLiteral("labelTime"), {}, QStringLiteral("subtitle"));
    measurement_time =
        MeasurementUi::valueLabel(this, QStringLiteral("measurement_time"), {}, QStringLiteral("subtitle"));
    when->addWidget(labelTime);
    when->addWidget(measurement_time);
    when->addStretch(1);
    titles->addLayout(when);
    head->addLayout(titles, 1);
    PAD_bt = ResultWidgets::padButton(this, QStringLiteral("PAD_bt"), form);
    head->addWidget(PAD_bt, 0, Qt::AlignTop);
    col->addLayout(head);

    auto *card = new QFrame(this);
    card->setObjectName(QStringLiteral("result_card"));
    card->setProperty("card", true);
    auto *values = new QHBoxLayout(card);
    values->setContentsMargins(qRound(8 * s), qRound(12 * s), qRound(8 * s), qRound(12 * s));
    labelSys = ResultWidgets::valueTile(card, values, QStringLiteral("labelSys"), tr("SYS"), tr("mmHg"),
                                        QStringLiteral("value"));
    labelDia = ResultWidgets::valueTile(card, values, QStringLiteral("labelDia"), tr("DIA"), tr("mmHg"),
                                        QStringLiteral("value"));
    labelHR = ResultWidgets::valueTile(card, values, QStringLiteral("labelHR"), tr("PULSE"), tr("beats/min"),
                                       QStringLiteral("value"));
    col->addWidget(card);

    WHO_bt = ResultWidgets::whoButton(this, QStringLiteral("WHO_bt"), form);
    col->addWidget(WHO_bt);

    comments_text = ResultWidgets::commentField(this, QStringLiteral("comments_text"));
    comments_text->installEventFilter(this);
    col->addWidget(comments_text);
    col->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(qRound(10 * s));
    measurement_canael = MeasurementUi::button(this, QStringLiteral("measurement_canael"), tr("Cancel"),
                                               QStringLiteral("secondary"));
    measurement_save = MeasurementUi::button(this, QStringLiteral("measurement_save"), tr("Save"));
    buttons->addWidget(measurement_canael, 1);
    buttons->addWidget(measurement_save, 1);
    col->addLayout(buttons);
}

bool SingleResultPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == comments_text && event->type() == QEvent::MouseButtonRelease)
        emit commentTapped();
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
