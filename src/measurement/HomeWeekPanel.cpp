#include "measurement/HomeWeekPanel.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "measurement/HomeWeekCard.h"
#include "measurement/HomeWeekGrid.h"
#include "measurement/MeasurementUi.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/instruction_screen.h"
#include "measurement/texts/HomeWeekTexts.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tonara {

namespace {

class SilentAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

QLabel *wrapped(QWidget *parent, const QString &name, const QString &role)
{
    QLabel *l = MeasurementUi::label(parent, name, {}, role);
    l->setWordWrap(true);
    return l;
}

} // namespace

HomeWeekPanel::HomeWeekPanel(const MeasurementContext &ctx, QWidget *host, HomeWeekCard *card)
    : QWidget(host), ctx_(ctx), host_(host), card_(card)
{
    MeasurementUi::name(this, QStringLiteral("home_week_panel"), tr("Home-monitoring week"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const FormFactor form = ctx_.formFactor;
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 96 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(10 * s), margin, qRound(14 * s));
    col->setSpacing(qRound(8 * s));
    home_week_back = MeasurementUi::button(this, QStringLiteral("home_week_back"),
                                           QStringLiteral("\u2039 ") + tr("Back"), QStringLiteral("link"));
    home_week_back->setAccessibleName(tr("Back to the measurement choice"));
    col->addWidget(home_week_back, 0, Qt::AlignLeft);
    col->addWidget(MeasurementUi::label(this, QStringLiteral("home_week_heading"), tr("Home-monitoring week"),
                                        QStringLiteral("title")));

    // Below the heading the content scrolls, so the long sentences of the
    // small phone are never squeezed or cut.
    auto *scroll = new QScrollArea(this);
    MeasurementUi::name(scroll, QStringLiteral("home_week_scroll"), tr("Home-monitoring week"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setStyleSheet(
        QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));
    auto *content = new QWidget(scroll);
    auto *body = new QVBoxLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(qRound(8 * s));
    scroll->setWidget(content);
    col->addWidget(scroll, 1);

    // Without a running week: what the week is, and the two ways to start it.
    startBox_ = new QWidget(content);
    MeasurementUi::name(startBox_, QStringLiteral("home_week_start_box"), tr("Start a home-monitoring week"));
    auto *start = new QVBoxLayout(startBox_);
    start->setContentsMargins(0, 0, 0, 0);
    start->setSpacing(qRound(8 * s));
    QLabel *intro = wrapped(startBox_, QStringLiteral("home_week_intro"), QStringLiteral("body"));
    MeasurementUi::setValue(intro, tr("For seven days, take two readings a minute or two apart each morning "
                                      "(04:00 to 11:59, before any medicine) and each evening (18:00 to "
                                      "23:59); one TRIV measurement counts as both. Day 1 is practice: your "
                                      "doctor looks at the average of days 2 to 7."));
    start->addWidget(intro);
    QLabel *choose = wrapped(startBox_, QStringLiteral("home_week_choose"), QStringLiteral("steptitle"));
    MeasurementUi::setValue(choose,
                            tr("Compare the average with which home threshold? As your doctor decides:"));
    start->addWidget(choose);
    home_week_start_standard =
        MeasurementUi::button(startBox_, QStringLiteral("home_week_start_standard"), tr("Start with 135/85"));
    home_week_start_standard->setAccessibleName(tr("Start the week with the home threshold 135/85"));
    QLabel *standardNote =
        wrapped(startBox_, QStringLiteral("home_week_standard_note"), QStringLiteral("caption"));
    MeasurementUi::setValue(standardNote, tr("The usual home threshold."));
    home_week_start_high_risk = MeasurementUi::button(startBox_, QStringLiteral("home_week_start_high_risk"),
                                                      tr("Start with 130/80"), QStringLiteral("secondary"));
    home_week_start_high_risk->setAccessibleName(tr("Start the week with the home threshold 130/80"));
    QLabel *highRiskNote =
        wrapped(startBox_, QStringLiteral("home_week_high_risk_note"), QStringLiteral("caption"));
    MeasurementUi::setValue(highRiskNote,
                            tr("The lower one, for people at higher risk, if your doctor asked for it."));
    start->addWidget(home_week_start_standard);
    start->addWidget(standardNote);
    start->addWidget(home_week_start_high_risk);
    start->addWidget(highRiskNote);
    body->addWidget(startBox_);

    // With a running week: where it stands and, in time, its result.
    weekBox_ = new QWidget(content);
    MeasurementUi::name(weekBox_, QStringLiteral("home_week_status"), tr("Your home-monitoring week"));
    auto *week = new QVBoxLayout(weekBox_);
    week->setContentsMargins(0, 0, 0, 0);
    week->setSpacing(qRound(8 * s));
    progress =
        MeasurementUi::label(weekBox_, QStringLiteral("home_week_progress"), {}, QStringLiteral("steptitle"));
    threshold =
        MeasurementUi::label(weekBox_, QStringLiteral("home_week_threshold"), {}, QStringLiteral("caption"));
    grid_ = new HomeWeekGrid(form, false, QStringLiteral("home_week_grid"), weekBox_);
    due = wrapped(weekBox_, QStringLiteral("home_week_due"), QStringLiteral("notice"));
    week->addWidget(progress);
    week->addWidget(threshold);
    week->addWidget(grid_);
    week->addWidget(due);
    resultBox_ = new QFrame(weekBox_);
    MeasurementUi::name(resultBox_, QStringLiteral("home_week_result_box"), tr("The week's result"));
    resultBox_->setProperty("card", true);
    auto *res = new QVBoxLayout(resultBox_);
    res->setContentsMargins(qRound(12 * s), qRound(10 * s), qRound(12 * s), qRound(10 * s));
    res->setSpacing(qRound(4 * s));
    resultTitle = MeasurementUi::label(resultBox_, QStringLiteral("home_week_result_title"), {},
                                       QStringLiteral("steptitle"));
    result = wrapped(resultBox_, QStringLiteral("home_week_result"), QStringLiteral("body"));
    basis = wrapped(resultBox_, QStringLiteral("home_week_basis"), QStringLiteral("caption"));
    res->addWidget(resultTitle);
    res->addWidget(result);
    res->addWidget(basis);
    home_week_report =
        MeasurementUi::button(resultBox_, QStringLiteral("home_week_report"), tr("Doctor's report…"));
    MeasurementUi::name(home_week_report, QStringLiteral("home_week_report"),
                        tr("Make the doctor's report of this week"));
    res->addWidget(home_week_report);
    week->addWidget(resultBox_);
    home_week_end =
        MeasurementUi::button(weekBox_, QStringLiteral("home_week_end"), {}, QStringLiteral("secondary"));
    week->addWidget(home_week_end);
    body->addWidget(weekBox_);
    body->addStretch(1);

    connect(home_week_back, &QPushButton::clicked, this, &HomeWeekPanel::closePanel);
    connect(home_week_start_standard, &QPushButton::clicked, this,
            [this] { startWeek(HomeThreshold::standard()); });
    connect(home_week_start_high_risk, &QPushButton::clicked, this,
            [this] { startWeek(HomeThreshold::highRisk()); });
    connect(home_week_end, &QPushButton::clicked, this, &HomeWeekPanel::askEnd);
    connect(home_week_report, &QPushButton::clicked, this, [this] {
        closePanel();
        emit reportRequested();
    });
    if (card_)
        connect(card_, &QPushButton::clicked, this, &HomeWeekPanel::openPanel);

    hide();
    if (host_) {
        setGeometry(host_->rect());
        host_->installEventFilter(this);
    }
    if (ctx_.scheduler)
        ticker_ = ctx_.scheduler->repeating(Millis(60'000), [this] {
            if (clockBucket() != lastBucket_)
                refresh();
        });
    refresh();
}

HomeWeekPanel::~HomeWeekPanel()
{
    if (ctx_.scheduler)
        ctx_.scheduler->cancel(ticker_);
    if (host_)
        host_->removeEventFilter(this);
}

HomeWeekPanel *HomeWeekPanel::attach(instruction_screen *screen, const MeasurementContext &ctx)
{
    auto *card = new HomeWeekCard(ctx.formFactor);
    screen->modeChoicePanel()->addWeekCard(card);
    auto *panel = new HomeWeekPanel(ctx, screen, card);
    connect(screen, &instruction_screen::readingSaved, panel, &HomeWeekPanel::refresh);
    // A measurement started on the device's button shows on top of the tab.
    connect(screen, &instruction_screen::measurementStartRequested, panel, &HomeWeekPanel::closePanel);
    return panel;
}

DBHelper &HomeWeekPanel::database() const
{
    return ctx_.db ? *ctx_.db : DBHelper::newInstance();
}

std::string HomeWeekPanel::clockBucket() const
{
    if (!ctx_.clock)
        return {};
    const LocalDateTime now = ctx_.clock->localNow();
    const int window = now.hour < 4 ? 0 : now.hour < 12 ? 1 : now.hour < 18 ? 2 : 3;
    return now.dateText() + char('0' + window);
}

void HomeWeekPanel::refresh()
{
    if (!ctx_.clock)
        return;
    SilentAlerts silent;
    AlertSink &alerts = ctx_.alerts ? static_cast<AlertSink &>(*ctx_.alerts) : silent;
    DBHelper &db = database();
    user_ = DataBaseforCD(db, alerts).activeUser();
    evaluation_.reset();
    if (const std::optional<HomeWeek> w = HomeWeekStore(db).currentWeek(user_))
        evaluation_ = evaluateWeek(db, user_, w->start, w->threshold, *ctx_.clock);
    lastBucket_ = clockBucket();
    showEvaluation();
}

void HomeWeekPanel::showEvaluation()
{
    if (card_)
        card_->showWeek(evaluation_);
    startBox_->setVisible(!evaluation_);
    weekBox_->setVisible(evaluation_.has_value());
    if (!evaluation_)
        return;
    const WeekEvaluation &w = *evaluation_;
    MeasurementUi::setValue(progress, HomeWeekTexts::progressLine(w));
    MeasurementUi::setValue(threshold,
                            tr("Home threshold %1").arg(HomeWeekTexts::thresholdName(w.threshold)));
    grid_->showWeek(w);
    MeasurementUi::setValue(due, HomeWeekTexts::dueSentence(w));
    due->setVisible(w.phase != WeekPhase::Over);
    resultBox_->setVisible(w.hasResult);
    if (w.hasResult) {
        MeasurementUi::setValue(resultTitle, w.phase == WeekPhase::Over ? tr("Your week's result")
                                                                        : tr("Your result so far"));
        MeasurementUi::setValue(result, HomeWeekTexts::resultSentence(w));
        MeasurementUi::setValue(basis, HomeWeekTexts::basisSentence(w));
    }
    const QString end = w.hasResult ? tr("End the week") : tr("Abandon the week");
    home_week_end->setText(end);
    home_week_end->setAccessibleName(end);
}

void HomeWeekPanel::openPanel()
{
    refresh();
    setGeometry(host_ ? host_->rect() : geometry());
    QWidget::show();
    raise();
}

void HomeWeekPanel::closePanel()
{
    hide();
}

void HomeWeekPanel::startWeek(HomeThreshold t)
{
    if (!ctx_.clock)
        return;
    const CivilDate today = CivilDate::of(ctx_.clock->localNow());
    if (!HomeWeekStore(database()).startWeek(user_, today, t)) {
        if (ctx_.alerts)
            ctx_.alerts->showAlert(tr("Week not started").toStdString(),
                                   tr("The week could not be saved. Please try again.").toStdString(),
                                   {tr("OK").toStdString()});
        return;
    }
    refresh();
    emit weekChanged();
}

void HomeWeekPanel::askEnd()
{
    if (!evaluation_)
        return;
    const bool withResult = evaluation_->hasResult;
    const int user = user_;
    // The answer may come after the tab is gone.
    QPointer<HomeWeekPanel> self(this);
    auto finish = [self, withResult, user](int button) {
        if (!self || button != 0)
            return;
        self->endAnswered(withResult, user);
    };
    const QString title = withResult ? tr("End the week?") : tr("Abandon the week?");
    const QString message = withResult ? tr("Your readings and the week's result stay saved for your report.")
                                       : tr("Your readings stay saved, but this week will no longer be "
                                            "followed or reported.");
    const QString yes = withResult ? tr("End week") : tr("Abandon");
    if (!ctx_.alerts) {
        finish(0);
        return;
    }
    ctx_.alerts->showAlert(title.toStdString(), message.toStdString(),
                           {yes.toStdString(), tr("Cancel").toStdString()}, finish);
}

void HomeWeekPanel::endAnswered(bool withResult, int user)
{
    HomeWeekStore weeks(database());
    if (withResult)
        weeks.endWeek(user);
    else
        weeks.abandonWeek(user);
    refresh();
    emit weekChanged();
}

bool HomeWeekPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host_) {
        if (event->type() == QEvent::Resize)
            setGeometry(host_->rect());
        else if (event->type() == QEvent::Show && !event->spontaneous()) {
            // Coming back to the tab starts from the mode choice, with the
            // week of whoever is the active user now.
            hide();
            refresh();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
