#include "history/TrivDetailView.h"

#include "history/core/MonthHistory.h"
#include "measurement/MeasurementUi.h"
#include "measurement/core/WHOClassification.h"
#include "platform/Artwork.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

namespace tonara {

TrivDetailView::TrivDetailView(FormFactor form, QWidget *parent)
    : QWidget(parent), s_(isTablet(form) ? 2.0 : 1.0)
{
    MeasurementUi::name(this, QStringLiteral("Detail_view"), tr("TRIV reading in detail"));
    setAttribute(Qt::WA_StyledBackground, true);
    auto px = [this](int v) { return qRound(v * s_); };
    auto value = [&](const char *name, const QString &role, int x, int y, int w, int size) {
        QLabel *l = MeasurementUi::valueLabel(this, QLatin1String(name), QString(), role);
        l->setGeometry(px(x), px(y), px(w), px(size + 8));
        QFont f = l->font();
        f.setPixelSize(px(size));
        f.setBold(true);
        l->setFont(f);
        l->setStyleSheet(QStringLiteral("color: rgb(81,177,235); background: transparent;"));
        return l;
    };
    auto caption = [&](const QString &text, int x, int y, int w) {
        QLabel *l = new QLabel(text, this);
        l->setGeometry(px(x), px(y), px(w), px(16));
        QFont f = l->font();
        f.setPixelSize(px(11));
        l->setFont(f);
        l->setStyleSheet(QStringLiteral("color: #555; background: transparent;"));
        return l;
    };

    Detail_view_back = MeasurementUi::button(this, QStringLiteral("Detail_view_back"), tr("Back"),
                                             QStringLiteral("secondary"));
    Detail_view_back->setGeometry(px(8), px(8), px(70), px(30));

    detail_date_label = value("detail_date_label", tr("Date"), 15, 48, 150, 14);
    detail_time_label = value("detail_time_label", tr("Time"), 170, 48, 120, 14);
    caption(tr("Average of three readings"), 15, 78, 280);
    caption(tr("Sys"), 15, 98, 80);
    caption(tr("Dia"), 115, 98, 80);
    caption(tr("PULSE"), 206, 98, 80);
    detail_sysavg_label = value("detail_sysavg_label", tr("Systolic average"), 15, 116, 90, 32);
    detail_diaavg_label = value("detail_diaavg_label", tr("Diastolic average"), 115, 116, 90, 32);
    detail_pulse_label = value("detail_pulse_label", tr("Pulse average"), 206, 120, 80, 22);

    detail_who_button = MeasurementUi::pictureButton(this, QStringLiteral("detail_who_button"),
                                                     QStringLiteral("icon_who_color01.png"),
                                                     QSize(px(38), px(32)), tr("WHO class: show the legend"));
    detail_who_button->setGeometry(px(249), px(202), px(38), px(32));
    detail_pad_button = MeasurementUi::pictureButton(this, QStringLiteral("detail_pad_button"),
                                                     QStringLiteral("icon_pad.png"), QSize(px(38), px(32)),
                                                     tr("PAD: pulse irregularity detected"));
    detail_pad_button->setGeometry(px(204), px(202), px(38), px(32));
    detail_triv_button = MeasurementUi::pictureButton(this, QStringLiteral("detail_triv_button"),
                                                      QStringLiteral("icon_triv.png"), QSize(px(38), px(32)),
                                                      tr("TRIV: average of three readings"));
    detail_triv_button->setGeometry(px(161), px(202), px(38), px(32));

    const char *ordinals[3] = {"1st", "2nd", "3rd"};
    QLabel **rows[3][3] = {{&detail_sys1st_label, &detail_dia1st_label, &detail_pulse1st_label},
                           {&detail_sys2nd_label, &detail_dia2nd_label, &detail_pulse2nd_label},
                           {&detail_sys3rd_label, &detail_dia3rd_label, &detail_pulse3rd_label}};
    const QString headings[3] = {tr("1st reading"), tr("2nd reading"), tr("3rd reading")};
    for (int k = 0; k < 3; ++k) {
        const int y = 244 + 44 * k;
        caption(headings[k], 15, y, 100);
        const QString ord = QLatin1String(ordinals[k]);
        *rows[k][0] = value(qPrintable(QStringLiteral("detail_sys%1_label").arg(ord)),
                            tr("Systolic, %1").arg(headings[k]), 115, y - 4, 80, 20);
        *rows[k][1] = value(qPrintable(QStringLiteral("detail_dia%1_label").arg(ord)),
                            tr("Diastolic, %1").arg(headings[k]), 170, y - 4, 80, 20);
        *rows[k][2] = value(qPrintable(QStringLiteral("detail_pulse%1_label").arg(ord)),
                            tr("Pulse, %1").arg(headings[k]), 230, y - 4, 70, 20);
    }
    // A comment of 140 characters takes four lines; below the readings the
    // small phone has room for two, so the comment scrolls in its place.
    commentScroll_ = new QScrollArea(this);
    MeasurementUi::name(commentScroll_, QStringLiteral("detail_comments_scroll"), tr("Comment"));
    commentScroll_->setFrameShape(QFrame::NoFrame);
    // The label is sized here to the height its wrapped text needs.
    commentScroll_->setWidgetResizable(false);
    commentScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    commentScroll_->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: "
                                                 "transparent; }"));
    detail_comments =
        MeasurementUi::valueLabel(nullptr, QStringLiteral("detail_comments"), QString(), tr("Comment"));
    detail_comments->setWordWrap(true);
    detail_comments->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont commentFont = detail_comments->font();
    commentFont.setPixelSize(px(13));
    detail_comments->setFont(commentFont);
    detail_comments->setStyleSheet(QStringLiteral("color: #2B3A4A; background: transparent;"));
    commentScroll_->setWidget(detail_comments);
    placeComment();
}

void TrivDetailView::placeComment()
{
    const int top = qRound(376 * s_);
    const int h = qMax(qRound(30 * s_), height() - top - 4);
    const int w = qRound(280 * s_);
    commentScroll_->setGeometry(qRound(15 * s_), top, w, h);
    int labelW = w;
    if (detail_comments->heightForWidth(labelW) > h)
        labelW -= commentScroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, commentScroll_);
    detail_comments->resize(labelW, qMax(h, detail_comments->heightForWidth(labelW)));
}

void TrivDetailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeComment();
}

namespace {

// Word wrap breaks only between words: a run longer than a line gets
// zero-width break chances, so it wraps instead of running off both sides.
QString breakable(const QString &text)
{
    constexpr int kRun = 12;
    QString out;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kRun) {
            out += QChar(0x200B);
            run = 1;
        }
        out += c;
    }
    return out;
}

} // namespace

void TrivDetailView::show(const MonthHistory &month, std::size_t i)
{
    auto set = [](QLabel *l, const QString &text) { MeasurementUi::setValue(l, text); };
    const int category = WHOClassification::category(month.aArray_sys[i], month.aArray_dia[i]);
    detail_who_button->setIcon(Artwork::icon(QString::fromStdString(month.WHO_chack(i))));
    detail_who_button->setAccessibleName(
        tr("WHO class %1: show the legend").arg(QString::fromStdString(WHOClassification::name(category))));
    set(detail_sysavg_label, QString::number(month.aArray_sys[i]));
    set(detail_diaavg_label, QString::number(month.aArray_dia[i]));
    set(detail_pulse_label, QString::number(month.aArray_pulse[i]));
    set(detail_date_label, QString::fromStdString(month.aArray_date[i]));
    set(detail_time_label, QString::fromStdString(month.aArray_time[i]));
    const QString comment = QString::fromStdString(month.aArray_diary[i]);
    detail_comments->setText(breakable(comment));
    detail_comments->setAccessibleName(comment);
    placeComment();
    commentScroll_->verticalScrollBar()->setValue(0);
    const bool pad = month.aArray_is_pad[i] == 1;
    detail_pad_button->setVisible(pad);
    const double s = s_;
    detail_triv_button->setGeometry(qRound((pad ? 161 : 204) * s), qRound(202 * s), qRound(38 * s),
                                    qRound(32 * s));

    QLabel *sys[3] = {detail_sys1st_label, detail_sys2nd_label, detail_sys3rd_label};
    QLabel *dia[3] = {detail_dia1st_label, detail_dia2nd_label, detail_dia3rd_label};
    QLabel *pulse[3] = {detail_pulse1st_label, detail_pulse2nd_label, detail_pulse3rd_label};
    // The overlay is reused: a series without details must not show the last one's.
    for (int k = 0; k < 3; ++k)
        for (QLabel *l : {sys[k], dia[k], pulse[k]})
            set(l, QString());
    if (month.aArray_sys_triv.empty())
        return; // a series without details: the reading's own values only
    for (std::size_t k = 0; k < 3 && k < month.aArray_sys_triv.size(); ++k) {
        set(sys[k], QString::number(month.aArray_sys_triv[k]));
        set(dia[k], QString::number(month.aArray_dia_triv[k]));
        set(pulse[k], QString::number(month.aArray_pulse_triv[k]));
    }
}

void TrivDetailView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf3, 0xf6, 0xf9));
}

} // namespace tonara
