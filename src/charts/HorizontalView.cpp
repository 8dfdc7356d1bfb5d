#include "charts/HorizontalView.h"

#include "charts/core/ChartMail.h"
#include "charts/core/CivilDate.h"
#include "history/core/ShareMail.h"
#include "measurement/MeasurementUi.h"
#include "measurement/PageControl.h"
#include "platform/AlertPresenter.h"
#include "platform/Artwork.h"
#include "plotting/GraphHostingView.h"
#include "plotting/WhoBarPlot.h"
#include "plotting/XYGraph.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/core/BloodPressureTarget.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVariantAnimation>

#include <cmath>

namespace tonara {

namespace {

QSize viewSize(FormFactor f)
{
    switch (f) {
    case FormFactor::Phone568:
        return {568, 320};
    case FormFactor::Tablet:
        return {1024, 768};
    case FormFactor::Phone480:
        break;
    }
    return {480, 320};
}

QString button_sw(int code, bool selected)
{
    switch (code) {
    case PeriodQueries::kDay:
        return selected ? QStringLiteral("321_banner_1d_2.png") : QStringLiteral("321_banner_1d_1.png");
    case PeriodQueries::kWeek:
        return selected ? QStringLiteral("321_banner_1w_2.png") : QStringLiteral("321_banner_1w_1.png");
    case PeriodQueries::kMonth:
        return selected ? QStringLiteral("321_banner_1m_2.png") : QStringLiteral("321_banner_1m_1.png");
    case PeriodQueries::kThreeMonths:
        return selected ? QStringLiteral("321_banner_3m_2.png") : QStringLiteral("321_banner_3m_1.png");
    case PeriodQueries::kYear:
        return selected ? QStringLiteral("321_banner_1y_02.png") : QStringLiteral("321_banner_1y_01.png");
    default:
        return selected ? QStringLiteral("321_banner_all_02.png") : QStringLiteral("321_banner_all_01.png");
    }
}

QFont rounded(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Arial Rounded MT Bold"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QString mmdd(const CivilDate &d)
{
    return QStringLiteral("%1/%2")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString yyyymm(const CivilDate &d)
{
    return QStringLiteral("%1/%2")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'));
}

// X range of each display type, and a grid that stays readable: every unit
// up to a month, every 5 days over three months, the label steps over a year.
double xLength(int type)
{
    static const double lengths[] = {24, 24, 6, 30, 60, 365};
    return lengths[std::clamp(type, 1, 5)];
}

double xGrid(int type)
{
    return type == PeriodQueries::kThreeMonths ? 5 : type == PeriodQueries::kYear ? 73 : 1;
}

} // namespace

HorizontalView::HorizontalView(const ChartContext &context, QWidget *parent)
    : QWidget(parent), ctx_(context),
      periods_(context.db ? *context.db : DBHelper::newInstance(), *context.alerts, *context.clock)
{
    if (!ctx_.db)
        ctx_.db = &DBHelper::newInstance();
    MeasurementUi::name(this, QStringLiteral("HorizontalView"), tr("Charts"));
    s_ = isTablet(ctx_.formFactor) ? 2 : 1;
    pageSize_ = viewSize(ctx_.formFactor);
    resize(pageSize_);
    origin_ = QPoint(int((pageSize_.width() - 480 * s_) / 2), int((pageSize_.height() - 320 * s_) / 2));

    auto *back = new QLabel(this);
    back->setObjectName(QStringLiteral("index_bk_2"));
    back->setPixmap(Artwork::pixmap(QStringLiteral("index_bk_2.jpg"), pageSize_, devicePixelRatioF()));
    back->setGeometry(QRect(QPoint(0, 0), pageSize_));

    scrollview_line = new QScrollArea(this);
    MeasurementUi::name(scrollview_line, QStringLiteral("scrollview_line"),
                        tr("Chart pages, swipe or use the arrow keys"));
    scrollview_line->setFrameShape(QFrame::NoFrame);
    scrollview_line->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollview_line->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollview_line->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    scrollview_line->viewport()->setAutoFillBackground(false);
    pages_ = new QWidget;
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->resize(pageSize_.width() * 2, pageSize_.height());
    scrollview_line->setWidget(pages_);
    pages_->installEventFilter(this);

    page1_ = new QWidget(pages_);
    page2_ = new QWidget(pages_);
    for (int i = 0; i < 2; ++i) {
        QWidget *page = i == 0 ? page1_ : page2_;
        page->setObjectName(i == 0 ? QStringLiteral("page1") : QStringLiteral("page2"));
        page->setGeometry(QRect(QPoint(i * pageSize_.width(), 0), pageSize_));
        auto *bk = new QLabel(page);
        bk->setObjectName(QStringLiteral("321_bk"));
        bk->setPixmap(Artwork::pixmap(QStringLiteral("321_bk.png"), pageSize_, devicePixelRatioF()));
        bk->setGeometry(page->rect());
    }
    buildPage1(page1_);
    buildPage2(page2_);

    pageControl = new PageControl(2, s_, this);
    MeasurementUi::name(pageControl, QStringLiteral("pageControl"), tr("Page"));
    connect(pageControl, &PageControl::pageRequested, this, &HorizontalView::scrollToPage);
    if (ctx_.scheduler)
        updata_page = ctx_.scheduler->repeating(Millis(kPageTickMillis), [this] { updata_page_timer(); });
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; padding: 0; }"));
    resizeEvent(nullptr);
    line_init();
}

HorizontalView::~HorizontalView()
{
    if (ctx_.scheduler) {
        ctx_.scheduler->cancel(updata_page);
        ctx_.scheduler->cancel(flip_);
    }
}

QRect HorizontalView::r(double x, double y, double w, double h) const
{
    return QRect(origin_.x() + int(std::lround(x * s_)), origin_.y() + int(std::lround(y * s_)),
                 int(std::lround(w * s_)), int(std::lround(h * s_)));
}

int HorizontalView::font(int phonePoints) const
{
    return int(phonePoints * s_);
}

QString HorizontalView::periodName(int code)
{
    switch (code) {
    case PeriodQueries::kDay:
        return tr("Day");
    case PeriodQueries::kWeek:
        return tr("Week");
    case PeriodQueries::kMonth:
        return tr("Month");
    case PeriodQueries::kThreeMonths:
        return tr("Three months");
    case PeriodQueries::kYear:
        return tr("Year");
    default:
        return tr("All");
    }
}

QPushButton *HorizontalView::periodButton(QWidget *page, int code, int pageNumber)
{
    auto *b = MeasurementUi::pictureButton(
        page,
        QStringLiteral("%1_%2")
            .arg(pageNumber == 1 ? QStringLiteral("buttonArray") : QStringLiteral("buttonArray2"))
            .arg(code),
        button_sw(code, false), QSize(int(48 * s_), int(21 * s_)), code == 0 ? QString() : periodName(code));
    b->setCheckable(true);
    b->setProperty("tag", code);
    b->setGeometry(r((pageNumber == 1 ? 110 : 83) + 50 * (code - 1), 22, 48, 21));
    if (code == 0) {
        b->hide(); // entry 0 stands for no period
        return b;
    }
    connect(b, &QPushButton::clicked, this, [this, code, pageNumber] {
        if (pageNumber == 1)
            d1_button_touch(code);
        else
            d2_button_touch(code);
    });
    return b;
}

void HorizontalView::buildPage1(QWidget *page)
{
    for (int i = 0; i < kButtonsPerPage; ++i)
        buttonArray.append(periodButton(page, i, 1));
    mailButton = MeasurementUi::pictureButton(
        page, QStringLiteral("mail_button_touch"), QStringLiteral("321_icon_mail_test.png"),
        QSize(int(32 * s_), int(24 * s_)), tr("Send the trend chart by e-mail"));
    mailButton->setGeometry(r(40, 16, 40, 32));
    connect(mailButton, &QPushButton::clicked, this, &HorizontalView::mail_button_touch);

    auto text = [&](const QString &name, const QString &words, QRect at, int px, QColor colour = Qt::black) {
        QLabel *l = MeasurementUi::label(page, name, words);
        l->setFont(rounded(px));
        l->setStyleSheet(QStringLiteral("color: %1; background: transparent").arg(colour.name()));
        l->setGeometry(at);
        return l;
    };
    text(QStringLiteral("Avg"), tr("Avg:"), r(45, 52, 40, 26), font(14));
    // A deeper shade of the light sky blue, readable on the white page (contrast 4.7:1).
    Avg_data_label1 = text(QStringLiteral("Avg_data_label1"), QStringLiteral("0/0"), r(82, 50, 84, 30),
                           font(20), QColor(0, 122, 180));
    text(QStringLiteral("mmHg"), tr("mmHg"), r(168, 52, 50, 26), font(14));
    text(QStringLiteral("SYS"), tr("SYS"), r(300, 52, 34, 26), font(14));
    auto *sysKey =
        MeasurementUi::picture(page, QStringLiteral("321_icon_03"), QStringLiteral("321_icon_03.png"),
                               QSize(int(28 * s_), int(12 * s_)), tr("systolic line"));
    sysKey->setGeometry(r(334, 59, 28, 12));
    text(QStringLiteral("DIA"), tr("DIA"), r(370, 52, 34, 26), font(14));
    auto *diaKey =
        MeasurementUi::picture(page, QStringLiteral("321_icon_04"), QStringLiteral("321_icon_04.png"),
                               QSize(int(28 * s_), int(12 * s_)), tr("diastolic line"));
    diaKey->setGeometry(r(402, 59, 28, 12));

    noData1_ = new QLabel(tr("NoData."), page);
    hostingView = new GraphHostingView(page);
    MeasurementUi::name(hostingView, QStringLiteral("hostingView"), tr("Trend chart"));
    hostingView->setMirrored(true);
    hostingView->setGeometry(r(45, 85, 370, 150));
    hostingView->setAttribute(Qt::WA_TransparentForMouseEvents);

    highLabel_ = text(QStringLiteral("target_high"), QString(), r(420, 0, 50, 43),
                      isTablet(ctx_.formFactor) ? 30 : 14);
    lowLabel_ =
        text(QStringLiteral("target_low"), QString(), r(420, 0, 50, 43), isTablet(ctx_.formFactor) ? 30 : 14);
}

void HorizontalView::buildPage2(QWidget *page)
{
    for (int i = 0; i < kButtonsPerPage; ++i)
        buttonArray2.append(periodButton(page, i, 2));
    mailButton2 = MeasurementUi::pictureButton(
        page, QStringLiteral("mail_button_touch2"), QStringLiteral("321_icon_mail_test.png"),
        QSize(int(32 * s_), int(24 * s_)), tr("Send the WHO distribution chart by e-mail"));
    mailButton2->setGeometry(r(20, 16, 40, 32));
    connect(mailButton2, &QPushButton::clicked, this, &HorizontalView::mail_button_touch2);
    QLabel *title = MeasurementUi::label(page, QStringLiteral("WHO"), tr("WHO"));
    title->setFont(rounded(font(16), true));
    title->setStyleSheet(QStringLiteral("color: black; background: transparent"));
    title->setGeometry(r(35, 52, 330, 26));
    title->setText(tr("WHO (2003) classification"));

    infoButton = MeasurementUi::pictureButton(page, QStringLiteral("i_button_touch"),
                                              QStringLiteral("321_icon_i_test.png"),
                                              QSize(int(30 * s_), int(30 * s_)), tr("WHO legend"));
    infoButton->setGeometry(r(403, 38, 48, 48));
    connect(infoButton, &QPushButton::clicked, this, &HorizontalView::i_button_touch);

    noData2_ = new QLabel(tr("NoData."), page);
    hostingView_bar_chart = new GraphHostingView(page);
    MeasurementUi::name(hostingView_bar_chart, QStringLiteral("hostingView_bar_chart"),
                        tr("WHO distribution chart"));
    hostingView_bar_chart->setMirrored(true);
    hostingView_bar_chart->setGeometry(r(35, 85, 370, 150));
    hostingView_bar_chart->setAttribute(Qt::WA_TransparentForMouseEvents);
    hostingView_bar_chart->hide(); // drawn at the first swipe

    for (QLabel *panel : {noData1_, noData2_}) {
        MeasurementUi::name(panel, QStringLiteral("NoData"), tr("No data for this period."));
        panel->setText(tr("NoData."));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFont(rounded(isTablet(ctx_.formFactor) ? 30 : 14));
        panel->setStyleSheet(QStringLiteral("background: white; color: black; border: 1px solid black;"));
        panel->setGeometry(panel == noData1_ ? r(45, 85, 370, 150) : r(35, 85, 370, 150));
        panel->hide();
    }
}

QWidget *HorizontalView::noDataPanel(int page) const
{
    return page == 1 ? noData1_ : noData2_;
}

void HorizontalView::setButtons(const QList<QPushButton *> &buttons, int code)
{
    for (int i = 1; i < buttons.size(); ++i) {
        buttons[i]->setIcon(Artwork::icon(button_sw(i, i == code)));
        buttons[i]->setProperty("artwork", button_sw(i, i == code));
        buttons[i]->setChecked(i == code);
    }
}

void HorizontalView::line_init()
{
    setButtons(buttonArray, PeriodQueries::kWeek);
    setButtons(buttonArray2, PeriodQueries::kWeek);
    d1_button_touch(PeriodQueries::kWeek);
}

void HorizontalView::SQLNoData(int page)
{
    QWidget *panel = noDataPanel(page);
    panel->show();
    panel->raise();
}

void HorizontalView::loadTarget()
{
    DataBaseforCD store(*ctx_.db, *ctx_.alerts);
    BloodPressureTarget target(store);
    target.load();
    targetHigh_ = target.target_high();
    targetLow_ = target.target_low();
}

void HorizontalView::d1_button_touch(int code)
{
    const int n = periods_.chackSQL_line(code);
    avgSys_ = periods_.SQL_Avg(n, 1);
    avgDia_ = periods_.SQL_Avg(n, 2);
    MeasurementUi::setValue(Avg_data_label1, QStringLiteral("%1/%2").arg(avgSys_).arg(avgDia_));
    if (n == 0) {
        // A tap toggles a checkable button: the previous period stays selected.
        setButtons(buttonArray, trendCode_);
        SQLNoData(1);
        return;
    }
    trendRows_ = n;
    trendCode_ = code;
    setButtons(buttonArray, code);
    lin_bar_chart = 0;
    const int type = Picture_Date(code);
    if (type == PeriodQueries::kDay)
        periods_.chackSQL_line(PeriodQueries::kDay);
    core_plot(type);
}

int HorizontalView::Picture_Date(int code)
{
    qDeleteAll(labelArray);
    labelArray.clear();
    const int type = periods_.displayType(code);
    displayType_ = type;
    const CivilDate today = CivilDate::of(ctx_.clock->localNow());
    std::vector<std::pair<int, QString>> labels; // phone x of the left edge, text
    switch (type) {
    case PeriodQueries::kDay:
        labels = {{55, tr("1AM")}, {220, tr("noon")}, {385, tr("11PM")}};
        break;
    case PeriodQueries::kWeek:
        for (int i = 0; i < 7; ++i)
            labels.emplace_back(35 + 60 * i, mmdd(today.plusDays(i - 6)));
        break;
    case PeriodQueries::kMonth:
        for (int i = 0; i < 6; ++i)
            labels.emplace_back(36 + 75 * i, mmdd(today.plusDays(6 * i - 30)));
        break;
    case PeriodQueries::kThreeMonths:
        for (int i = 0; i < 3; ++i)
            labels.emplace_back(35 + 180 * i, mmdd(today.plusDays(30 * i - 60)));
        break;
    default:
        for (int i = 0; i < 6; ++i)
            labels.emplace_back(36 + 75 * i, yyyymm(today.plusDays(73 * i - 365)));
        break;
    }
    for (const auto &[x, words] : labels) {
        QLabel *l = MeasurementUi::label(page1_, QStringLiteral("labelArray"), words);
        l->setFont(rounded(isTablet(ctx_.formFactor) ? 20 : 10));
        l->setStyleSheet(QStringLiteral("color: black; background: transparent"));
        l->setGeometry(r(x, 238, 60, 16));
        l->show();
        labelArray.append(l);
    }
    return type;
}

int HorizontalView::yaxis_the_relative_seat(int value) const
{
    return int(210 - value * 0.5);
}

void HorizontalView::panit_y_lable_Line(int x, int yHigh, int yLow)
{
    // Targets a few mmHg apart would print one number over the other: spread
    // the two labels around their lines until a line of text fits between.
    constexpr int kApart = 16;
    if (targetLow_ != targetHigh_ && std::abs(yLow - yHigh) < kApart) {
        const int middle = (yLow + yHigh) / 2;
        const bool highAbove = yHigh <= yLow;
        yHigh = middle + (highAbove ? -kApart / 2 : kApart / 2);
        yLow = middle + (highAbove ? kApart / 2 : -kApart / 2);
    }
    highLabel_->setGeometry(r(x, yHigh, 50, 43));
    lowLabel_->setGeometry(r(x, yLow, 50, 43));
    MeasurementUi::setValue(highLabel_, QString::number(targetHigh_));
    MeasurementUi::setValue(lowLabel_, QString::number(targetLow_));
    // Equal targets are one line with one label.
    lowLabel_->setVisible(targetLow_ != targetHigh_);
    highLabel_->raise();
    lowLabel_->raise();
}

void HorizontalView::core_plot(int type)
{
    loadTarget();
    panit_y_lable_Line(420, yaxis_the_relative_seat(targetHigh_), yaxis_the_relative_seat(targetLow_));
    lin_bar_chart = 0;
    TrendPlot::Data d;
    d.xLength = xLength(type);
    d.xGridInterval = xGrid(type);
    d.targetHigh = targetHigh_;
    d.targetLow = targetLow_;
    // A year of days side by side: smaller dots, or they merge into a band.
    const bool dense = type >= PeriodQueries::kYear;
    d.lineWidth = (dense ? 2 : 3) * s_;
    d.symbolSize = (dense ? 4 : 7) * s_;
    for (std::size_t i = 0; i < periods_.aArray_sys_avg.size(); ++i) {
        const int at =
            periods_.CatchStartPoint_date(periods_.aArray_date_avg[i], type, periods_.aArray_time_avg[i]);
        d.points.push_back({double(type == PeriodQueries::kDay ? 24 - at : at),
                            double(periods_.aArray_sys_avg[i]), double(periods_.aArray_dia_avg[i])});
    }
    dataForPlot_ = d.points;
    hostingView->setHostedGraph(TrendPlot(d).graph());
    hostingView->show();
    hostingView->raise();
    describeTrend(int(d.points.size()), avgSys_, avgDia_);
}

void HorizontalView::describeTrend(int rows, int avgSys, int avgDia)
{
    const QString what = displayType_ == PeriodQueries::kDay
                             ? (rows == 1 ? tr("1 reading today") : tr("%1 readings today").arg(rows))
                             : (rows == 1 ? tr("1 day average") : tr("%1 day averages").arg(rows));
    const QString lines = targetHigh_ == targetLow_ ? tr("target line at %1").arg(targetHigh_)
                                                    : tr("target lines at %1 and %2")
                                                          .arg(std::min(targetLow_, targetHigh_))
                                                          .arg(std::max(targetLow_, targetHigh_));
    hostingView->setAccessibleDescription(
        tr("%1: %2, average %3/%4; %5").arg(periodName(trendCode_), what).arg(avgSys).arg(avgDia).arg(lines));
}

void HorizontalView::d2_button_touch(int code)
{
    if (periods_.chackSQL_line(code) == 0) {
        setButtons(buttonArray2, distributionCode_);
        SQLNoData(2);
        return;
    }
    distributionCode_ = code;
    setButtons(buttonArray2, code);
    lin_bar_chart = 1;
    SQL_Horizontal_Barchart(code);
}

void HorizontalView::SQL_Horizontal_Barchart(int code)
{
    who_.clear();
    const std::vector<PeriodQueries::Reading> rows = periods_.distributionReadings(code);
    for (const PeriodQueries::Reading &reading : rows)
        who_.who_bar_chart_Distinguish(reading.sys, reading.dia);
    who_.barChart_Percentage(int(rows.size()));
    bar_chart();
}

void HorizontalView::bar_chart()
{
    if (percentLabels_.isEmpty()) {
        const int px = isTablet(ctx_.formFactor) ? 30 : 14;
        for (const auto &[y, words] :
             {std::pair{65, QStringLiteral("100%")}, std::pair{135, QStringLiteral(" 50%")}}) {
            QLabel *l = MeasurementUi::label(page2_, QStringLiteral("panit_y_lable_barChart"), words);
            l->setFont(rounded(px));
            l->setStyleSheet(QStringLiteral("color: black; background: transparent"));
            l->setGeometry(r(410, y, 70, 43));
            percentLabels_.append(l);
        }
        static const char *classes[] = {QT_TR_NOOP("optimal"),
                                        QT_TR_NOOP("normal"),
                                        QT_TR_NOOP("high normal"),
                                        QT_TR_NOOP("grade 1 hypertension"),
                                        QT_TR_NOOP("grade 2 hypertension"),
                                        QT_TR_NOOP("grade 3 hypertension")};
        for (int i = 0; i < 6; ++i) {
            const QString icon = QStringLiteral("icon_who_color%1.png").arg(i + 1, 2, 10, QLatin1Char('0'));
            QLabel *face = MeasurementUi::picture(page2_, QStringLiteral("panit_Face_%1").arg(i), icon,
                                                  QSize(int(38 * s_), int(32 * s_)), tr(classes[i]));
            face->setGeometry(r(50 + 62 * i, 240, 38, 32));
            faces_.append(face);
        }
    }
    for (QLabel *l : percentLabels_)
        l->show();
    for (QLabel *l : faces_)
        l->show();
    lin_bar_chart = 1;
    WhoBarPlot::Data d;
    for (int bar = 0; bar < WhoDistribution::kBars; ++bar)
        d.percent[std::size_t(bar)] = who_.barTip(bar);
    hostingView_bar_chart->setHostedGraph(WhoBarPlot(d).graph());
    hostingView_bar_chart->show();
    hostingView_bar_chart->raise();
    describeDistribution();
}

void HorizontalView::describeDistribution()
{
    QStringList parts;
    static const char *classes[] = {QT_TR_NOOP("optimal"),
                                    QT_TR_NOOP("normal"),
                                    QT_TR_NOOP("high normal"),
                                    QT_TR_NOOP("grade 1 hypertension"),
                                    QT_TR_NOOP("grade 2 hypertension"),
                                    QT_TR_NOOP("grade 3 hypertension")};
    for (int category = 1; category <= 6; ++category)
        parts << tr("%1 %2 %").arg(tr(classes[category - 1])).arg(who_.barTip(6 - category));
    hostingView_bar_chart->setAccessibleDescription(
        tr("WHO distribution, %1: %2").arg(periodName(distributionCode_), parts.join(QStringLiteral(", "))));
}

int HorizontalView::currentPage() const
{
    const int w = pageSize_.width();
    const int offset = scrollview_line->horizontalScrollBar()->value();
    return std::clamp(int(std::floor((offset - w / 2.0) / w)) + 1, 0, 1);
}

void HorizontalView::updata_page_timer()
{
    pageControl->setCurrentPage(currentPage());
}

void HorizontalView::scrollViewWillBeginDragging()
{
    if (periods_.chackSQL_line(PeriodQueries::kWeek) == 0) {
        SQLNoData(2);
        return;
    }
    distributionCode_ = PeriodQueries::kWeek;
    SQL_Horizontal_Barchart(PeriodQueries::kWeek);
    setButtons(buttonArray2, PeriodQueries::kWeek);
}

void HorizontalView::scrollToPage(int page)
{
    scrollViewWillBeginDragging();
    QScrollBar *bar = scrollview_line->horizontalScrollBar();
    const int target = std::clamp(page, 0, 1) * pageSize_.width();
    if (ctx_.animations) {
        auto *slide = new QPropertyAnimation(bar, "value", this);
        slide->setDuration(250);
        slide->setEasingCurve(QEasingCurve::OutCubic);
        slide->setEndValue(target);
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    } else {
        bar->setValue(target);
    }
}

bool HorizontalView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != pages_)
        return QWidget::eventFilter(watched, event);
    QScrollBar *bar = scrollview_line->horizontalScrollBar();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        pressed_ = true;
        dragging_ = false;
        pressAt_ = e->globalPosition().toPoint();
        pressOffset_ = bar->value();
        return true;
    }
    case QEvent::MouseMove: {
        if (!pressed_)
            break;
        const QPoint d = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - pressAt_;
        if (!dragging_ && d.manhattanLength() > 8) {
            dragging_ = true;
            scrollViewWillBeginDragging();
        }
        if (dragging_)
            bar->setValue(pressOffset_ - d.x());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!pressed_)
            break;
        pressed_ = false;
        if (!dragging_)
            return true;
        dragging_ = false;
        const int dx = static_cast<QMouseEvent *>(event)->globalPosition().toPoint().x() - pressAt_.x();
        int page = pressOffset_ >= pageSize_.width() / 2 ? 1 : 0;
        if (dx < -pageSize_.width() / 8)
            page = 1;
        else if (dx > pageSize_.width() / 8)
            page = 0;
        bar->setValue(page * pageSize_.width());
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void HorizontalView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_PageDown)
        scrollToPage(1);
    else if (event->key() == Qt::Key_Left || event->key() == Qt::Key_PageUp)
        scrollToPage(0);
    else
        QWidget::keyPressEvent(event);
}

void HorizontalView::resizeEvent(QResizeEvent *)
{
    scrollview_line->setGeometry(rect());
    const QSize dots = pageControl->sizeHint();
    pageControl->setGeometry((width() - dots.width()) / 2, height() - dots.height() - int(6 * s_),
                             dots.width(), dots.height());
    pageControl->raise();
    if (_showWHOlist)
        _showWHOlist->setGeometry(rect());
}

void HorizontalView::i_button_touch()
{
    if (!AnimationStop)
        return; // the flip is under way
    AnimationStop = false;
    if (ctx_.animations) {
        // The button turns over: it narrows to an edge and opens again.
        const QRect at = infoButton->geometry();
        auto *flip = new QVariantAnimation(this);
        flip->setDuration(kFlipMillis);
        flip->setEasingCurve(QEasingCurve::InOutQuad);
        flip->setStartValue(0.0);
        flip->setEndValue(1.0);
        connect(flip, &QVariantAnimation::valueChanged, infoButton, [this, at](const QVariant &v) {
            const int w = std::max(1, int(at.width() * std::abs(std::cos(v.toDouble() * M_PI))));
            infoButton->setGeometry(at.center().x() - w / 2, at.y(), w, at.height());
        });
        connect(flip, &QVariantAnimation::finished, infoButton, [this, at] { infoButton->setGeometry(at); });
        flip->start(QAbstractAnimation::DeleteWhenStopped);
    }
    flip_ = ctx_.scheduler->singleShot(Millis(kFlipMillis), [this] {
        flip_ = 0;
        ShowWHOAnimationStop();
    });
}

void HorizontalView::ShowWHOAnimationStop()
{
    auto *list = new showWHOlist(this);
    list->WhoDelegate = this;
    _showWHOlist = list;
    list->addwho(this);
    AnimationStop = true;
}

void HorizontalView::showWho() {}

void HorizontalView::releaseview()
{
    if (_showWHOlist)
        _showWHOlist->deleteLater();
    _showWHOlist = nullptr;
}

void HorizontalView::mail_button_touch()
{
    e_mail(ChartMail::kTrendPage);
}

void HorizontalView::mail_button_touch2()
{
    e_mail(ChartMail::kDistributionPage);
}

void HorizontalView::e_mail(int page)
{
    // The dates of the chart's own rows, fresh, of the active user only: the
    // day averages of the trend, the readings that the bars count.
    PeriodQueries rows(*ctx_.db, *ctx_.alerts, *ctx_.clock);
    std::vector<std::string> dates;
    if (page == ChartMail::kTrendPage) {
        rows.chackSQL_line(trendCode_);
        dates = rows.aArray_date_avg;
    } else {
        for (const PeriodQueries::Reading &r : rows.distributionReadings(distributionCode_))
            dates.push_back(r.date);
    }
    if (dates.empty()) {
        ctx_.alerts->alert(tr("No data."), QString(), {tr("OK")});
        return;
    }
    if (!composer_)
        return;
    DataBaseforCD users(*ctx_.db, *ctx_.alerts);
    const ChartMail texts(page, ShareMail::forUser(users, users.activeUser()).name);
    Historyandreports::Mail mail;
    mail.subject = QString::fromStdString(texts.subject);
    mail.recipient = QString();
    mail.body = QString::fromStdString(texts.body(dates));
    // The view as shown, before the composer covers it.
    QBuffer png(&mail.attachment);
    png.open(QIODevice::WriteOnly);
    grab().toImage().save(&png, "PNG");
    mail.mimeType = QString::fromLatin1(ChartMail::kAttachmentType);
    mail.fileName = QString::fromLatin1(ChartMail::kAttachmentName);
    Historyandreports::mail_state = 2;
    if (!composer_(mail))
        Historyandreports::mail_state = 0;
}

void HorizontalView::mailComposeController_didFinishWithResult(int result, const QString &error)
{
    auto statusBarStep = [this] {
        if (Historyandreports::mail_state == 2)
            emit statusBarHiddenRequested(true);
        else if (Historyandreports::mail_state == 1)
            emit statusBarHiddenRequested(false);
        Historyandreports::mail_state = 0;
    };
    switch (result) {
    case 0:
    case 1:
        statusBarStep();
        break;
    case 2:
        ctx_.alerts->alert(tr("sent successfully"), QString(), {tr("Ok")});
        statusBarStep();
        break;
    case 3:
        // The composer is gone: say that nothing went out.
        ctx_.alerts->alert(tr("Mail not sent"), error, {tr("OK")});
        break;
    default:
        break;
    }
}

} // namespace tonara
