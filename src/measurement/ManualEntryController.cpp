#include "measurement/ManualEntryController.h"

#include "measurement/ManualDateTimePicker.h"
#include "measurement/ManualFromHistory.h"
#include "measurement/ManualKeypad.h"
#include "measurement/ManualNumberField.h"
#include "measurement/ManualResultPanel.h"
#include "measurement/ManualStepView.h"
#include "measurement/MeasurementMode.h"
#include "measurement/MeasurementUi.h"
#include "measurement/Oscilloscope.h" // completes the screen's trace pointer
#include "measurement/ResultWidgets.h"
#include "measurement/WhoLegendView.h"
#include "measurement/core/ManualEntryRules.h"
#include "measurement/core/ReadingStore.h"
#include "measurement/core/WHOClassification.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tonara {

namespace {

constexpr int kTransitionMs = 300;

constexpr const char *kAbortTitle = QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Abort the reading");
constexpr const char *kAbortMessage = QT_TRANSLATE_NOOP(
    "tonara::ManualEntryController", "Are you sure you want to leave \n without saving this reading?");

// The checking rules' texts, for the translation tools.
[[maybe_unused]] constexpr const char *kRuleTexts[] = {
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Number missing"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Please enter a number in the box"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Number out of range"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Please enter a number within the range of 0~300"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Please enter a number within the range of 0~200"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "OK"),
    QT_TRANSLATE_NOOP("tonara::ManualEntryController", "Cancel"),
};

QString translated(const std::string &text)
{
    return QCoreApplication::translate("tonara::ManualEntryController", text.c_str());
}

QString extraStyle(FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    auto px = [s](double v) { return QString::number(qRound(v * s)) + QStringLiteral("px"); };
    return QStringLiteral(R"(
QLineEdit[role="number"] { font-size: %1; font-weight: bold; color: #1F8FD6; padding: %2;
                           border: 2px solid #A9D3F0; border-radius: %3; background: #FFFFFF; }
QPushButton[role="key"] { background: #FFFFFF; color: #2B3A4A; border: 1px solid #D5DEE6; font-size: %9;
                         padding: 0px; min-height: %10; max-height: %10; }
QPushButton[role="key"]:pressed { background: #E6F3FC; border-color: #1F8FD6; }
QLineEdit[role="number"]:focus { border-color: #1F8FD6; }
QLineEdit[role="number"]:disabled { color: #9AA8B6; background: #EEF2F5; }
QLabel[role="pickedmoment"] { font-size: %4; font-weight: bold; color: #1F8FD6; background: #FFFFFF;
                              border: 1px solid #D5DEE6; border-radius: %5; padding: %6; }
QCalendarWidget QWidget#qt_calendar_navigationbar { background: #1F8FD6; }
QCalendarWidget QToolButton { color: white; font-size: %7; font-weight: bold; background: transparent; border: none;
                              padding: 2px 6px; }
QCalendarWidget QToolButton::menu-indicator { image: none; width: 0px; }
QCalendarWidget QAbstractItemView { font-size: %7; selection-background-color: #1F8FD6; selection-color: white;
                                    background: #FFFFFF; color: #2B3A4A; }
QCalendarWidget QAbstractItemView:disabled { color: #B8C4CF; }
QTimeEdit { font-size: %8; font-weight: bold; color: #2B3A4A; background: #FFFFFF; border: 1px solid #D5DEE6;
            border-radius: %5; padding: %6; }
)")
        .arg(px(40), px(6), px(10), px(14), px(8), px(6), px(12), px(17))
        .arg(px(isTablet(form) ? 15 : 17), isTablet(form) ? QStringLiteral("58px") : QStringLiteral("26px"));
}

ManualNumberField *numberField(QWidget *parent, QVBoxLayout *into, const QString &name, const QString &heard,
                               const QString &unit, FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    auto *row = new QHBoxLayout;
    row->setSpacing(qRound(10 * s));
    row->addStretch(1);
    auto *field = new ManualNumberField(parent);
    MeasurementUi::name(field, name, heard);
    field->setProperty("role", QStringLiteral("number"));
    field->setPlaceholderText(QStringLiteral("---"));
    field->setFixedSize(qRound(120 * s), qRound((isTablet(form) ? 70 : 54) * s));
    // The unit on the right, and as much room on the left, keep the field centred.
    QLabel *u =
        MeasurementUi::label(parent, name + QStringLiteral("_unit"), unit, QStringLiteral("subtitle"));
    u->setFixedWidth(qRound(70 * s));
    auto *balance = new QWidget(parent);
    balance->setFixedWidth(u->width());
    row->addWidget(balance);
    row->addWidget(field);
    row->addWidget(u);
    row->addStretch(1);
    into->addLayout(row);
    into->addSpacing(qRound((isTablet(form) ? 24 : 4) * s));
    into->addWidget(new ManualKeypad(field, form, parent), 0, Qt::AlignHCenter);
    into->addStretch(1);
    return field;
}

} // namespace

ManualEntryController::ManualEntryController(const MeasurementContext &ctx, QWidget *host)
    : QWidget(host), ctx_(ctx), host_(host)
{
    MeasurementUi::name(this, QStringLiteral("manual_entry"), tr("Manual entry"));
    setStyleSheet(MeasurementUi::styleSheet(ctx_.formFactor) + extraStyle(ctx_.formFactor));
    const FormFactor form = ctx_.formFactor;
    const double s = MeasurementUi::scale(form);

    steps_[0] = new ManualStepView(1, QStringLiteral("manual_step1_4"), tr("Systolic pressure"),
                                   tr("The upper number of your reading, from 0 to 300 mmHg."), form, this);
    sysField_ = numberField(steps_[0], steps_[0]->body(), QStringLiteral("step1_4_test"),
                            tr("Systolic pressure in mmHg"), tr("mmHg"), form);
    steps_[1] = new ManualStepView(2, QStringLiteral("manual_step2_4"), tr("Diastolic pressure"),
                                   tr("The lower number of your reading, from 0 to 300 mmHg."), form, this);
    diaField_ = numberField(steps_[1], steps_[1]->body(), QStringLiteral("step2_4_text"),
                            tr("Diastolic pressure in mmHg"), tr("mmHg"), form);
    steps_[2] = new ManualStepView(3, QStringLiteral("manual_step3_4"), tr("Pulse"),
                                   tr("Heart beats per minute, from 0 to 200."), form, this);
    pulseField_ = numberField(steps_[2], steps_[2]->body(), QStringLiteral("step3_4_test"),
                              tr("Pulse in beats per minute"), tr("beats/min"), form);
    steps_[3] =
        new ManualStepView(4, QStringLiteral("manual_step4_4"), tr("Date and time"),
                           tr("When was the reading taken? It cannot be later than now."), form, this);
    pickerLabel_ = MeasurementUi::valueLabel(steps_[3], QStringLiteral("datepicker_label"), {},
                                             QStringLiteral("pickedmoment"));
    pickerLabel_->setMinimumHeight(qRound(30 * s));
    steps_[3]->body()->addWidget(pickerLabel_);
    picker_ = new ManualDateTimePicker(form, steps_[3]);
    steps_[3]->body()->addWidget(picker_, 1);

    result_ = new ManualResultPanel(form, this);
    // On the measurement screen its own legend serves: a second one would put
    // every legend control into the window twice.
    if (auto *screen = qobject_cast<instruction_screen *>(host); screen && screen->whoLegendView()) {
        whoView_ = screen->whoLegendView();
    } else {
        whoView_ = new WhoLegendView(form, this);
        whoView_->hide();
    }

    for (QWidget *page : pages())
        page->hide();

    connect(steps_[0]->back, &QPushButton::clicked, this, &ManualEntryController::manual_step1_4_back);
    connect(steps_[0]->next, &QPushButton::clicked, this, &ManualEntryController::manual_step1_4_next);
    connect(steps_[1]->back, &QPushButton::clicked, this, &ManualEntryController::manual_step2_4_back);
    connect(steps_[1]->next, &QPushButton::clicked, this, &ManualEntryController::manual_step2_4_next);
    connect(steps_[2]->back, &QPushButton::clicked, this, &ManualEntryController::manual_step3_4_back);
    connect(steps_[2]->next, &QPushButton::clicked, this, &ManualEntryController::manual_step3_4_next);
    connect(steps_[3]->back, &QPushButton::clicked, this, &ManualEntryController::manual_step4_4_back);
    connect(steps_[3]->next, &QPushButton::clicked, this, &ManualEntryController::manual_step4_4_next);
    // Return in a field is the same as its next button.
    connect(sysField_, &QLineEdit::returnPressed, this, &ManualEntryController::manual_step1_4_next);
    connect(diaField_, &QLineEdit::returnPressed, this, &ManualEntryController::manual_step2_4_next);
    connect(pulseField_, &QLineEdit::returnPressed, this, &ManualEntryController::manual_step3_4_next);
    connect(picker_, &ManualDateTimePicker::dateChanged, this, &ManualEntryController::changeDateInLabel);
    connect(result_->manual_result_save, &QPushButton::clicked, this,
            &ManualEntryController::manual_result_save);
    connect(result_->manul_result_cencel, &QPushButton::clicked, this,
            &ManualEntryController::manul_result_cencel);
    connect(result_->WHO_bt_manual, &QPushButton::clicked, this, &ManualEntryController::Manual_whoTouch);
    connect(whoView_->WHO_Back_Touch, &QPushButton::clicked, this, &ManualEntryController::WHO_Back_Touch);
    connect(result_, &ManualResultPanel::commentTapped, this, [this] {
        // Without a comment editor on the screen the field takes the text itself.
        if (isSignalConnected(QMetaMethod::fromSignal(&ManualEntryController::commentRequested)))
            emit commentRequested();
        else {
            result_->comments_text_manual->setMaxLength(140);
            result_->comments_text_manual->setReadOnly(false);
        }
    });

    hide();
    setGeometry(host_ ? host_->rect() : QRect(QPoint(0, 0), portraitPoints(form)));
    if (host_)
        host_->installEventFilter(this);
}

ManualEntryController::~ManualEntryController()
{
    if (host_)
        host_->removeEventFilter(this);
}

ManualEntryController *ManualEntryController::attach(instruction_screen *screen,
                                                     const MeasurementContext &ctx)
{
    auto *manual = new ManualEntryController(ctx, screen);
    connect(screen, &instruction_screen::manualEntryRequested, manual, &ManualEntryController::maual_tonara);
    connect(manual, &ManualEntryController::returnToStart, screen, &instruction_screen::manualEntryEnded);
    // The screen's saved indicator, comment editor and comment fields serve the wizard too.
    connect(manual, &ManualEntryController::readingSaved, screen, &instruction_screen::showSavedIndicator);
    connect(manual, &ManualEntryController::started, screen, &instruction_screen::clearComments);
    connect(manual, &ManualEntryController::commentRequested, screen,
            [screen, manual] { screen->editComment(manual->manual_result()->comments_text_manual->text()); });
    connect(screen, &instruction_screen::commentSaved, manual, &ManualEntryController::setComment);
    connect(screen, &instruction_screen::commentEditorClosed, manual, &ManualEntryController::showResult);
    // A measurement the monitor starts takes the screen over.
    connect(screen, &instruction_screen::measurementStartRequested, manual, &ManualEntryController::abandon);
    return manual;
}

bool ManualEntryController::animate() const
{
    return ctx_.animations && isVisible();
}

bool ManualEntryController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host_) {
        if (event->type() == QEvent::Resize) {
            setGeometry(host_->rect());
            for (QWidget *page : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                page->setGeometry(rect());
        } else if (event->type() == QEvent::Show && !event->spontaneous()) {
            // Coming back to the tab starts from the mode choice: an entry
            // left behind there is dropped ...
            const int fromHistory = ManualFromHistory::manual_from_history;
            abandon();
            ManualFromHistory::manual_from_history = fromHistory;
            // ... unless the history screen asked for one, which then starts
            // afresh once the host has put its own start view on top.
            if (ManualFromHistory::manual_from_history == 1)
                QTimer::singleShot(0, this, [this] { startIfRequestedFromHistory(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ManualEntryController::startIfRequestedFromHistory()
{
    if (ManualFromHistory::manual_from_history != 1 || active_)
        return false;
    start(false);
    return true;
}

void ManualEntryController::maual_tonara()
{
    if (active_)
        return;
    start(ManualFromHistory::manual_from_history != 1);
}

void ManualEntryController::start(bool animated)
{
    // The mode the screen goes back to; the screen may already have switched.
    modeBefore_ = MeasurementMode::measure_mode == MeasurementMode::kManual ? MeasurementMode::kSingle
                                                                            : MeasurementMode::measure_mode;
    MeasurementMode::measure_mode = MeasurementMode::kManual;
    ++entry_;
    current_ = nullptr;
    settle();
    active_ = true;
    whoView_->hide();
    setGeometry(host_ ? host_->rect() : geometry());
    QWidget::show();
    raise();
    clearFields();
    setNumberFieldsEnabled(true);
    emit started();
    if (animated) {
        show(steps_[0], true);
    } else {
        steps_[0]->setGeometry(rect());
        steps_[0]->move(0, 0);
        steps_[0]->show();
        steps_[0]->raise();
        current_ = steps_[0];
    }
    sysField_->setFocus();
}

void ManualEntryController::clearFields()
{
    sysField_->clear();
    diaField_->clear();
    pulseField_->clear();
    result_->comments_text_manual->clear();
    result_->comments_text_manual->setReadOnly(true);
}

void ManualEntryController::setNumberFieldsEnabled(bool enabled)
{
    sysField_->setEnabled(enabled);
    diaField_->setEnabled(enabled);
    pulseField_->setEnabled(enabled);
}

void ManualEntryController::setTabBarHidden(bool hidden)
{
    if (tabBarHidden_ == hidden)
        return;
    tabBarHidden_ = hidden;
    emit tabBarHiddenRequested(hidden);
}

QList<QWidget *> ManualEntryController::pages() const
{
    return {steps_[0], steps_[1], steps_[2], steps_[3], result_};
}

void ManualEntryController::settle()
{
    // A transition still under way ends where it was going.
    if (transition_)
        transition_->stop();
    for (QWidget *page : pages()) {
        page->move(0, 0);
        if (page != current_)
            page->hide();
    }
    if (!active_)
        hide();
}

void ManualEntryController::slide(QWidget *in, QWidget *out, bool forward)
{
    const int w = width();
    auto *group = new QParallelAnimationGroup(this);
    auto add = [&](QWidget *page, QPoint from, QPoint to) {
        auto *a = new QPropertyAnimation(page, "pos", group);
        a->setDuration(kTransitionMs);
        a->setStartValue(from);
        a->setEndValue(to);
        a->setEasingCurve(QEasingCurve::OutCubic);
        group->addAnimation(a);
    };
    if (in)
        add(in, QPoint(forward ? w : -w, 0), QPoint(0, 0));
    if (out)
        add(out, QPoint(0, 0), QPoint(forward ? -w : w, 0));
    connect(group, &QAbstractAnimation::finished, this, &ManualEntryController::settle);
    transition_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void ManualEntryController::show(QWidget *to, bool forward)
{
    settle();
    QWidget *from = current_;
    current_ = to;
    to->setGeometry(rect());
    to->show();
    to->raise();
    if (!animate() || from == to) {
        if (from && from != to)
            from->hide();
        return;
    }
    slide(to, from, forward);
}

void ManualEntryController::finish(bool forward)
{
    settle();
    active_ = false;
    setTabBarHidden(false);
    whoView_->hide();
    MeasurementUi::setValue(pickerLabel_, {});
    MeasurementMode::measure_mode = modeBefore_;
    // The start view goes on top first; this layer then slides away over it.
    emit returnToStart();
    QWidget *leaving = current_;
    current_ = nullptr;
    if (animate() && leaving) {
        raise();
        slide(nullptr, leaving, forward);
    } else {
        settle();
    }
    if (ManualFromHistory::manual_from_history == 1) {
        ManualFromHistory::manual_from_history = 0;
        emit selectTabRequested(kHistoryTab);
    }
}

void ManualEntryController::abandon()
{
    if (!active_)
        return;
    active_ = false;
    current_ = nullptr;
    settle();
    whoView_->hide();
    setTabBarHidden(false);
    setNumberFieldsEnabled(false);
    MeasurementMode::measure_mode = modeBefore_;
    // A dropped entry has ended too: the history screen's request is spent,
    // or the next visit to the tab would open the wizard by itself.
    ManualFromHistory::manual_from_history = 0;
}

void ManualEntryController::showResult()
{
    if (!active_ || current_ != result_)
        return;
    settle();
    QWidget::show();
    raise();
    result_->show();
    result_->raise();
}

bool ManualEntryController::checkField(int step)
{
    using Field = ManualEntryRules::Field;
    const Field field = step == 1 ? Field::Systolic : step == 2 ? Field::Diastolic : Field::Pulse;
    const ManualNumberField *edit = step == 1 ? sysField_ : step == 2 ? diaField_ : pulseField_;
    const auto refusal = ManualEntryRules::validate(field, edit->text().toStdString());
    if (!refusal)
        return true;
    if (ctx_.alerts)
        ctx_.alerts->alert(translated(refusal->title), translated(refusal->message),
                           {translated(ManualEntryRules::kOk)});
    return false;
}

void ManualEntryController::manual_step1_4_back()
{
    setNumberFieldsEnabled(false);
    finish(false);
}

void ManualEntryController::manual_step1_4_next()
{
    if (!active_ || current_ != steps_[0] || !checkField(1))
        return;
    show(steps_[1], true);
    diaField_->setFocus();
}

void ManualEntryController::manual_step2_4_back()
{
    show(steps_[0], false);
    sysField_->setFocus();
}

void ManualEntryController::manual_step2_4_next()
{
    if (!active_ || current_ != steps_[1] || !checkField(2))
        return;
    show(steps_[2], true);
    pulseField_->setFocus();
}

void ManualEntryController::manual_step3_4_back()
{
    setTabBarHidden(false);
    show(steps_[1], false);
    diaField_->setFocus();
}

void ManualEntryController::manual_step3_4_next()
{
    if (!active_ || current_ != steps_[2] || !checkField(3))
        return;
    setTabBarHidden(true);
    show(steps_[3], true);
    setNumberFieldsEnabled(false);
    // No readings from the future: the picker starts at, and stops at, now.
    const LocalDateTime now = ctx_.clock->localNow();
    picker_->setMaximumDate(now);
    picker_->setDate(now);
    changeDateInLabel();
}

void ManualEntryController::changeDateInLabel()
{
    MeasurementUi::setValue(pickerLabel_,
                            QString::fromStdString(ManualEntryRules::pickerLabel(picker_->date())));
}

void ManualEntryController::manual_step4_4_back()
{
    show(steps_[2], false);
    setNumberFieldsEnabled(true);
    pulseField_->setFocus();
}

void ManualEntryController::manual_step4_4_next()
{
    if (!active_ || current_ != steps_[3])
        return;
    setTabBarHidden(false);
    show(result_, true);
    MeasurementUi::setValue(result_->manual_sys, sysField_->text());
    MeasurementUi::setValue(result_->manual_dia, diaField_->text());
    MeasurementUi::setValue(result_->manual_pulse, pulseField_->text());
    const LocalDateTime picked = picker_->date();
    MeasurementUi::setValue(result_->manual_date,
                            QString::fromStdString(ManualEntryRules::resultDate(picked)));
    MeasurementUi::setValue(result_->manual_time,
                            QString::fromStdString(ManualEntryRules::resultTime(picked)));
    const int sys = ManualEntryRules::intValue(sysField_->text().toStdString());
    const int dia = ManualEntryRules::intValue(diaField_->text().toStdString());
    ResultWidgets::setWho(result_->WHO_bt_manual,
                          QString::fromStdString(WHOClassification::WHO_chack(sys, dia)),
                          WHOClassification::category(sys, dia), ctx_.formFactor);
}

void ManualEntryController::manual_result_save()
{
    if (!active_ || current_ != result_)
        return;
    const int sys = ManualEntryRules::intValue(sysField_->text().toStdString());
    const int dia = ManualEntryRules::intValue(diaField_->text().toStdString());
    const int pulse = ManualEntryRules::intValue(pulseField_->text().toStdString());
    const std::string comment = result_->comments_text_manual->text().toStdString();
    const LocalDateTime picked = picker_->date();
    DBHelper &db = ctx_.db ? *ctx_.db : DBHelper::newInstance();
    // A failed insert has told the person already; the entry ends either way,
    // but only a stored reading shows the saved indicator.
    ReadingStore store(db, *ctx_.alerts, *ctx_.clock);
    const bool stored =
        store.saveManual(sys, dia, pulse, comment, picked.dateText(), picked.timeText()).stored;
    finish(true);
    if (stored)
        emit readingSaved();
}

void ManualEntryController::manul_result_cencel()
{
    if (!active_ || current_ != result_)
        return;
    const int entry = entry_;
    QPointer<ManualEntryController> self = this;
    ctx_.alerts->alert(translated(kAbortTitle), translated(kAbortMessage),
                       {translated("OK"), translated("Cancel")}, [self, entry](int button) {
                           if (!self || button != 0 || !self->active_ || self->entry_ != entry ||
                               self->current_ != self->result_)
                               return;
                           self->result_->comments_text_manual->clear();
                           self->finish(false);
                       });
}

void ManualEntryController::Manual_whoTouch()
{
    // The screen's legend lies beside this layer: it has to come over it.
    whoView_->setGeometry(whoView_->parentWidget()->rect());
    whoView_->imageviewINIT();
    whoView_->show();
    whoView_->raise();
}

void ManualEntryController::WHO_Back_Touch()
{
    whoView_->hide();
}

void ManualEntryController::setComment(const QString &comment)
{
    // The editor has counted what a person sees; a UTF-16 limit here would cut
    // emoji and combining letters off the end.
    result_->comments_text_manual->setMaxLength(32767);
    result_->comments_text_manual->setText(comment);
    result_->comments_text_manual->setCursorPosition(0);
}

} // namespace tonara
