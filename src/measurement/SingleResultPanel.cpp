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
    QVBoxLayout *col =
        ResultWidgets::page(this, QStringLiteral("measuring_window_result"), tr("Measurement result"), form);
    const double s = MeasurementUi::scale(form);

    auto *head = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->setSpacing(qRound(2 * s));
    titles->addWidget(MeasurementUi::label(this, QStringLiteral("result_title"), tr("Your result"),
                                           QStringLiteral("title")));
    titles->addLayout(ResultWidgets::whenRow(this, form, QStringLiteral("labelTime"),
                                             QStringLiteral("measurement_time"), labelTime,
                                             measurement_time));
    head->addLayout(titles, 1);
    PAD_bt = ResultWidgets::padButton(this, QStringLiteral("PAD_bt"), form);
    head->addWidget(PAD_bt, 0, Qt::AlignTop);
    col->addLayout(head);

    QFrame *card = ResultWidgets::card(this, QStringLiteral("result_card"));
    auto *values = new QHBoxLayout(card);
    values->setContentsMargins(qRound(8 * s), qRound(12 * s), qRound(8 * s), qRound(12 * s));
    ResultWidgets::readingTiles(card, values, QStringLiteral("labelSys"), QStringLiteral("labelDia"),
                                QStringLiteral("labelHR"), labelSys, labelDia, labelHR);
    col->addWidget(card);

    ResultWidgets::whoAndComment(this, col, form, QStringLiteral("WHO_bt"), QStringLiteral("comments_text"),
                                 WHO_bt, comments_text, [this] { emit commentTapped(); });
    ResultWidgets::cancelSave(this, col, form, QStringLiteral("measurement_canael"),
                              QStringLiteral("measurement_save"), measurement_canael, measurement_save);
}

} // namespace tonara
