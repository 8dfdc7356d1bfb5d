#include "measurement/TrivResultPanel.h"

#include "measurement/MeasurementUi.h"
#include "measurement/ResultWidgets.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

TrivResultPanel::TrivResultPanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    QVBoxLayout *col = ResultWidgets::page(this, QStringLiteral("triv3_measuring_window_result"),
                                           tr("TRIV measurement result"), form);
    const double s = MeasurementUi::scale(form);
    col->setSpacing(qRound(isTablet(form) ? 12 * s : 8));

    auto *head = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->setSpacing(qRound(2 * s));
    titles->addWidget(MeasurementUi::label(this, QStringLiteral("triv3_result_title"), tr("TRIV result"),
                                           QStringLiteral("title")));
    titles->addLayout(ResultWidgets::whenRow(this, form, QStringLiteral("triv3_date_result"),
                                             QStringLiteral("triv3_time_result"), triv3_date_result,
                                             triv3_time_result));
    head->addLayout(titles, 1);
    PAD_bt_triv3 = ResultWidgets::padButton(this, QStringLiteral("PAD_bt_triv3"), form);
    head->addWidget(PAD_bt_triv3, 0, Qt::AlignTop);
    col->addLayout(head);

    // The averages lead; they are what is stored and classified.
    QFrame *avg = ResultWidgets::card(this, QStringLiteral("triv3_average_card"));
    auto *avgCol = new QVBoxLayout(avg);
    avgCol->setContentsMargins(qRound(8 * s), qRound(8 * s), qRound(8 * s), qRound(8 * s));
    avgCol->setSpacing(qRound(2 * s));
    QLabel *avgTitle = MeasurementUi::label(avg, QStringLiteral("triv3_average_caption"),
                                            tr("Average of 3 readings"), QStringLiteral("caption"));
    avgTitle->setAlignment(Qt::AlignCenter);
    avgCol->addWidget(avgTitle);
    auto *avgRow = new QHBoxLayout;
    ResultWidgets::readingTiles(avg, avgRow, QStringLiteral("triv3_sysavg"), QStringLiteral("triv3_diaavg"),
                                QStringLiteral("triv3_pulseavg"), triv3_sysavg, triv3_diaavg, triv3_pulseavg);
    avgCol->addLayout(avgRow);
    col->addWidget(avg);

    QFrame *table = ResultWidgets::card(this, QStringLiteral("triv3_readings_card"));
    auto *grid = new QGridLayout(table);
    grid->setContentsMargins(qRound(12 * s), qRound(6 * s), qRound(12 * s), qRound(6 * s));
    grid->setVerticalSpacing(qRound(isTablet(form) ? 6 * s : 2));
    const QString heads[4] = {tr("Reading"), tr("SYS"), tr("DIA"), tr("PULSE")};
    for (int c = 0; c < 4; ++c) {
        QLabel *h = MeasurementUi::label(table, QStringLiteral("triv3_head_%1").arg(c), heads[c],
                                         QStringLiteral("rowhead"));
        h->setAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        grid->addWidget(h, 0, c);
    }
    const QString ord[3] = {QStringLiteral("1st"), QStringLiteral("2nd"), QStringLiteral("3rd")};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(MeasurementUi::label(table, QStringLiteral("triv3_row_") + ord[r], ord[r],
                                             QStringLiteral("body")),
                        r + 1, 0);
        sys[std::size_t(r)] = MeasurementUi::valueLabel(table, QStringLiteral("triv3_sys_") + ord[r],
                                                        QStringLiteral("0"), QStringLiteral("rowvalue"));
        dia[std::size_t(r)] = MeasurementUi::valueLabel(table, QStringLiteral("triv3_dia_") + ord[r],
                                                        QStringLiteral("0"), QStringLiteral("rowvalue"));
        pulse[std::size_t(r)] = MeasurementUi::valueLabel(table, QStringLiteral("triv3_pulse_") + ord[r],
                                                          QStringLiteral("0"), QStringLiteral("rowvalue"));
        grid->addWidget(sys[std::size_t(r)], r + 1, 1);
        grid->addWidget(dia[std::size_t(r)], r + 1, 2);
        grid->addWidget(pulse[std::size_t(r)], r + 1, 3);
    }
    col->addWidget(table);

    ResultWidgets::whoAndComment(this, col, form, QStringLiteral("WHO_bt_triv3"),
                                 QStringLiteral("comments_text_3triv"), WHO_bt_triv3, comments_text_3triv,
                                 [this] { emit commentTapped(); });
    ResultWidgets::cancelSave(this, col, form, QStringLiteral("triv3_result_cencel"),
                              QStringLiteral("triv3_result_save"), triv3_result_cencel, triv3_result_save);
}

} // namespace tonara
