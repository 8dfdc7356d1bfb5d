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
    QVBoxLayout *col =
        ResultWidgets::page(this, QStringLiteral("manual_result"), tr("Reading entered by hand"), form);
    const double s = MeasurementUi::scale(form);

    col->addWidget(MeasurementUi::label(this, QStringLiteral("manual_result_title"), tr("Your entry"),
                                        QStringLiteral("title")));
    QHBoxLayout *when = ResultWidgets::whenRow(this, form, QStringLiteral("manual_date"),
                                               QStringLiteral("manual_time"), manual_date, manual_time);
    QLabel *kind = MeasurementUi::label(this, QStringLiteral("manual_result_kind"), tr("Entered by hand"),
                                        QStringLiteral("notice"));
    when->addWidget(kind);
    col->addLayout(when);

    QFrame *card = ResultWidgets::card(this, QStringLiteral("manual_result_card"));
    auto *values = new QHBoxLayout(card);
    values->setContentsMargins(qRound(8 * s), qRound(12 * s), qRound(8 * s), qRound(12 * s));
    ResultWidgets::readingTiles(card, values, QStringLiteral("manual_sys"), QStringLiteral("manual_dia"),
                                QStringLiteral("manual_pulse"), manual_sys, manual_dia, manual_pulse);
    col->addWidget(card);

    ResultWidgets::whoAndComment(this, col, form, QStringLiteral("WHO_bt_manual"),
                                 QStringLiteral("comments_text_manual"), WHO_bt_manual, comments_text_manual,
                                 [this] { emit commentTapped(); });
    ResultWidgets::cancelSave(this, col, form, QStringLiteral("manul_result_cencel"),
                              QStringLiteral("manual_result_save"), manul_result_cencel, manual_result_save);
}

} // namespace tonara
