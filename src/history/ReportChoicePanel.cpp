#include "history/ReportChoicePanel.h"

#include "base/Clock.h"
#include "charts/core/PeriodQueries.h"
#include "measurement/MeasurementUi.h"
#include "reports/ReportPdf.h"
#include "reports/core/WeekEvaluation.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

QDate qdate(const CivilDate &d)
{
    return QDate(d.year(), d.month(), d.day());
}

CivilDate civil(const QDate &d)
{
    return CivilDate(d.year(), d.month(), d.day());
}

QString readingsText(int n)
{
    return n == 1 ? ReportChoicePanel::tr("1 reading") : ReportChoicePanel::tr("%1 readings").arg(n);
}

} // namespace

ReportChoicePanel::ReportChoicePanel(const Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
    MeasurementUi::name(this, QStringLiteral("ReportChoicePanel"), tr("Doctor's report"));
    const bool tablet = isTablet(context_.formFactor);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#ReportChoicePanel { background: rgba(30, 40, 52, 150); }"
                                 "QWidget#reportCard { background: white; border-radius: 10px; }"
                                 "QLabel { color: #2B3A4A; }"
                                 "QLabel, QComboBox, QDateEdit { font-size: %1px; }"
                                 "QLabel#report_title { font-size: %2px; font-weight: bold; }")
                      .arg(tablet ? 19 : 13)
                      .arg(tablet ? 24 : 17));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(tablet ? 120 : 12, tablet ? 120 : 40, tablet ? 120 : 12, tablet ? 120 : 40);
    outer->addStretch(1);
    auto *card = new QWidget(this);
    card->setObjectName(QStringLiteral("reportCard"));
    card->setAttribute(Qt::WA_StyledBackground);
    outer->addWidget(card);
    outer->addStretch(1);

    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(tablet ? 10 : 6);
    auto *title = new QLabel(tr("Doctor's report"), card);
    title->setObjectName(QStringLiteral("report_title"));
    layout->addWidget(title, 0, Qt::AlignHCenter);

    auto *periodTitle = new QLabel(tr("What the report covers"), card);
    layout->addWidget(periodTitle);
    period_ = new QComboBox(card);
    MeasurementUi::name(period_, QStringLiteral("report_period"), tr("What the report covers"));
    periodTitle->setBuddy(period_);
    period_->setMinimumHeight(tablet ? 40 : 30);
    layout->addWidget(period_);

    datesRow_ = new QWidget(card);
    auto *dates = new QHBoxLayout(datesRow_);
    dates->setContentsMargins(0, 0, 0, 0);
    auto dateEdit = [&](const char *name, const QString &caption, const QString &heard) {
        auto *label = new QLabel(caption, datesRow_);
        auto *edit = new QDateEdit(datesRow_);
        MeasurementUi::name(edit, QLatin1String(name), heard);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setMinimumDate(QDate(2000, 1, 1));
        label->setBuddy(edit);
        dates->addWidget(label);
        dates->addWidget(edit, 1);
        return edit;
    };
    from_ = dateEdit("report_from", tr("From"), tr("First day of the report"));
    to_ = dateEdit("report_to", tr("to"), tr("Last day of the report"));
    layout->addWidget(datesRow_);
    datesRow_->hide();

    summary_ = MeasurementUi::valueLabel(card, QStringLiteral("report_summary"), QString(),
                                         tr("Readings in the report"));
    summary_->setWordWrap(true);
    summary_->setMinimumHeight(tablet ? 48 : 36);
    layout->addWidget(summary_);

    auto button = [&](const char *name, const QString &text, const QString &heard) {
        auto *b = new QPushButton(text, card);
        MeasurementUi::name(b, QLatin1String(name), heard);
        b->setMinimumHeight(tablet ? 42 : 30);
        layout->addWidget(b);
        return b;
    };
    save_ = button("report_save", tr("Save to a file…"), tr("Save the report as a PDF file"));
    send_ = button("report_send", tr("Send by e-mail"), tr("Send the report as report.pdf by e-mail"));
    cancel_ = button("report_cancel", tr("Cancel"), tr("Close the report without making it"));

    connect(period_, &QComboBox::currentIndexChanged, this, [this] { read(); });
    connect(from_, &QDateEdit::dateChanged, this, [this] { read(); });
    connect(to_, &QDateEdit::dateChanged, this, [this] { read(); });
    connect(save_, &QPushButton::clicked, this, &ReportChoicePanel::saveRequested);
    connect(send_, &QPushButton::clicked, this, &ReportChoicePanel::sendRequested);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::hide);
}

void ReportChoicePanel::open(int user, int year, int month, ReportRequest::Kind first)
{
    user_ = user;
    const CivilDate today = CivilDate::of(context_.clock->localNow());
    QSignalBlocker quiet(period_), quietFrom(from_), quietTo(to_);
    period_->clear();
    requests_.clear();
    auto offer = [this](const QString &text, ReportRequest r) {
        period_->addItem(text);
        requests_.push_back(r);
    };
    offer(tr("This month (%1 %2)").arg(QLocale().standaloneMonthName(month)).arg(year),
          ReportRequest::month(year, month));
    if (const std::optional<WeekEvaluation> week = evaluateLatestWeek(*context_.db, user, *context_.clock))
        offer(tr("Home-monitoring week from %1").arg(QString::fromStdString(week->start.text())),
              ReportRequest::latestWeek());
    offer(tr("Today"), ReportRequest::chartPeriod(PeriodQueries::kDay));
    offer(tr("Last 7 days"), ReportRequest::chartPeriod(PeriodQueries::kWeek));
    offer(tr("Last 31 days"), ReportRequest::chartPeriod(PeriodQueries::kMonth));
    offer(tr("Last 61 days"), ReportRequest::chartPeriod(PeriodQueries::kThreeMonths));
    offer(tr("This year"), ReportRequest::chartPeriod(PeriodQueries::kYear));
    offer(tr("All readings"), ReportRequest::chartPeriod(PeriodQueries::kAll));
    offer(tr("Chosen dates…"), ReportRequest::dates(today, today));
    from_->setMaximumDate(qdate(today));
    to_->setMaximumDate(qdate(today));
    from_->setDate(QDate(year, month, 1));
    to_->setDate(qdate(today));
    int chosen = 0;
    for (std::size_t i = 0; i < requests_.size(); ++i)
        if (requests_[i].kind() == first) {
            chosen = static_cast<int>(i);
            break;
        }
    period_->setCurrentIndex(chosen);
    read();
}

void ReportChoicePanel::choose(int index)
{
    period_->setCurrentIndex(index);
    read();
}

void ReportChoicePanel::read()
{
    const int i = period_->currentIndex();
    if (i < 0 || i >= static_cast<int>(requests_.size()))
        return;
    ReportRequest r = requests_[static_cast<std::size_t>(i)];
    const bool dates = r.kind() == ReportRequest::Kind::Dates;
    datesRow_->setVisible(dates);
    if (dates)
        r = ReportRequest::dates(civil(from_->date()), civil(to_->date()));
    content_ = r.gather(*context_.db, *context_.alerts, user_, *context_.clock);

    QString text;
    if (!content_)
        text = tr("The first day lies after the last one: choose the dates again.");
    else if (content_->isEmpty())
        text = tr("No readings in this period, so there is nothing to report.");
    else if (r.kind() == ReportRequest::Kind::LatestWeek)
        text = (content_->week && content_->week->hasResult
                    ? tr("%1 in the seven days %2, with the week's result.")
                    : tr("%1 in the seven days %2; the week has no result yet."))
                   .arg(readingsText(content_->stats.count), ReportPdf::periodText(*content_));
    else if (content_->week)
        text = tr("%1, %2, with the home-monitoring week's result.")
                   .arg(readingsText(content_->stats.count), ReportPdf::periodText(*content_));
    else
        text = tr("%1, %2.").arg(readingsText(content_->stats.count), ReportPdf::periodText(*content_));
    MeasurementUi::setValue(summary_, text);
    const bool something = content_ && !content_->isEmpty();
    save_->setEnabled(something);
    send_->setEnabled(something);
}

} // namespace tonara
