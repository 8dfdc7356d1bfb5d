#pragma once

// Detail_view: a TRIV reading with the three single readings behind it.

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;

namespace tonara {

class MonthHistory;

class TrivDetailView : public QWidget {
    Q_OBJECT
public:
    TrivDetailView(FormFactor form, QWidget *parent = nullptr);

    // Fills the labels from reading i of the month and its series (already loaded).
    void show(const MonthHistory &month, std::size_t i);

    QLabel *detail_date_label, *detail_time_label, *detail_sysavg_label, *detail_diaavg_label,
        *detail_pulse_label, *detail_comments;
    QPushButton *detail_who_button, *detail_triv_button, *detail_pad_button, *Detail_view_back;
    QLabel *detail_sys1st_label, *detail_dia1st_label, *detail_pulse1st_label;
    QLabel *detail_sys2nd_label, *detail_dia2nd_label, *detail_pulse2nd_label;
    QLabel *detail_sys3rd_label, *detail_dia3rd_label, *detail_pulse3rd_label;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeComment();

    double s_;
    QScrollArea *commentScroll_ = nullptr;
};

} // namespace tonara
