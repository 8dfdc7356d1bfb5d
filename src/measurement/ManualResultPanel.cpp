#include "measurement/ManualResultPanel.h"

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

ManualResultPanel::ManualResultPanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("manual_result"), tr("Reading entered by hand"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 54 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(24 * s), margin, qRound(16 * s));
    col->setSpacing(qRound(10 * s));

    col->addWidget(MeasurementUi::label(this, QStringLiteral("manual_result_title"), tr("Your entry"),
                                        QStringLiteral("title")));
    auto *when = new QHBoxLayout;
    when->setSpacing(qRound(8 * s));
    manual_date =
        MeasurementUi::valueLabel(this, QStringLiteral("manual_date"), {}, QStringLiteral("subtitle"));
    manual_time =
        MeasurementUi::valueLabel(this, QStringLiteral("manual_time"), {}, QStringLiteral("subtitle"));
    when->addWidget(manual_date);
    when->addWidget(manual_time);
    when->addStretch(1);
    QLabel *kind = MeasurementUi::label(this, QStringLiteral("manual_result_kind"), tr("Entered by hand"),
                                        QStringLiteral("notice"));
    when->addWidget(kind);
    col->addLayout(when);

    auto *card = new QFrame(this);
    card->setObjectName(QStringLiteral("manual_result_card"));
    card->setProperty("card", true);
    auto *values = new QHBoxLayout(card);
    values->setContentsMargins(qRound(8 * s), qRound(12 * s), qRound(8 * s), qRound(12 * s));
    manual_sys = ResultWidgets::valueTile(card, values, QStringLiteral("manual_sys"), tr("SYS"), tr("mmHg"),
                                          QStringLiteral("value"));
    manual_dia = ResultWidgets::valueTile(card, values, QStringLiteral("manual_dia"), tr("DIA"), tr("mmHg"),
                                          QStringLiteral("value"));
    manual_pulse = ResultWidgets::valueTile(card, values, QStringLiteral("manual_pulse"), tr("PULSE"),
                                            tr("beats/min"), QStringLiteral("value"));
    col->addWidget(card);

    WHO_bt_manual = ResultWidgets::whoButton(this, QStringLiteral("WHO_bt_manual"), form);
    col->addWidget(WHO_bt_manual);

    comments_text_manual = ResultWidgets::commentField(this, QStringLiteral("comments_text_manual"));
    comments_text_manual->installEventFilter(this);
    col->addWidget(comments_text_manual);
    col->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(qRound(10 * s));
    manul_result_cencel = MeasurementUi::button(this, QStringLiteral("manul_result_cencel"), tr("Cancel"),
                                                QStringLiteral("secondary"));
    manual_result_save = MeasurementUi::button(this, QStringLiteral("manual_result_save"), tr("Save"));
    buttons->addWidget(manul_result_cencel, 1);
    buttons->addWidget(manual_result_save, 1);
    col->addLayout(buttons);
}

bool ManualResultPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == comments_text_manual && event->type() == QEvent::MouseButtonRelease &&
        comments_text_manual->isReadOnly())
        emit commentTapped();
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
