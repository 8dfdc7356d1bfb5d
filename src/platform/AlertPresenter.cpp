#include "platform/AlertPresenter.h"

#include "platform/AlertSheet.h"

#include <QMetaObject>

namespace tonara {

AlertPresenter::AlertPresenter(QObject *parent) : QObject(parent) {}

AlertPresenter::~AlertPresenter()
{
    if (sheet_)
        delete sheet_.data();
}

void AlertPresenter::setHost(QWidget *host)
{
    if (sheet_)
        delete sheet_.data();
    host_ = host;
    showTop();
}

void AlertPresenter::showAlert(const std::string &title, const std::string &message,
                               const std::vector<std::string> &buttons, Completion done)
{
    QStringList texts;
    for (const std::string &b : buttons)
        texts << QString::fromStdString(b);
    alert(QString::fromStdString(title), QString::fromStdString(message), texts, std::move(done));
}

void AlertPresenter::alert(const QString &title, const QString &message, const QStringList &buttons,
                           std::function<void(int)> done)
{
    present(
        Entry{title, message, buttons.isEmpty() ? QStringList{tr("OK")} : buttons, false, std::move(done)});
}

void AlertPresenter::actionSheet(const QString &title, const QStringList &buttons,
                                 std::function<void(int)> done)
{
    present(Entry{title, QString(), buttons.isEmpty() ? QStringList{tr("Cancel")} : buttons, true,
                  std::move(done)});
}

void AlertPresenter::present(Entry e)
{
    queue_.push_back(std::move(e));
    showTop();
}

void AlertPresenter::showTop()
{
    if (queue_.empty())
        return;
    const Entry &top = queue_.front();
    if (host_ && !sheet_) {
        auto *sheet =
            new AlertSheet(top.actionSheet ? AlertSheet::Style::ActionSheet : AlertSheet::Style::Alert,
                           top.title, top.message, top.buttons, host_, animations_);
        sheet_ = sheet;
        // Queued, so a sheet is never deleted inside its own button's click; a
        // second click that arrives after the answer is dropped, not given to
        // the next alert.
        connect(
            sheet, &AlertSheet::chosen, this,
            [this, guard = QPointer<AlertSheet>(sheet)](int i) {
                if (guard && guard == sheet_)
                    answer(i);
            },
            Qt::QueuedConnection);
    }
    if (!frontAnnounced_) {
        frontAnnounced_ = true;
        emit alertShown(top.title, top.message);
    }
}

QString AlertPresenter::currentTitle() const
{
    return queue_.empty() ? QString() : queue_.front().title;
}

QString AlertPresenter::currentMessage() const
{
    return queue_.empty() ? QString() : queue_.front().message;
}

QStringList AlertPresenter::currentButtons() const
{
    return queue_.empty() ? QStringList() : queue_.front().buttons;
}

bool AlertPresenter::currentIsActionSheet() const
{
    return !queue_.empty() && queue_.front().actionSheet;
}

QWidget *AlertPresenter::currentSheet() const
{
    return sheet_;
}

void AlertPresenter::answer(int buttonIndex)
{
    if (queue_.empty() || buttonIndex < 0 || buttonIndex >= queue_.front().buttons.size())
        return;
    Entry answered = std::move(queue_.front());
    queue_.pop_front();
    frontAnnounced_ = false;
    if (sheet_) {
        sheet_->hide();
        sheet_->deleteLater();
        sheet_ = nullptr;
    }
    emit alertAnswered(answered.title, buttonIndex);
    // The completion may present the next alert itself; it then goes behind
    // any that were already waiting.
    if (answered.done)
        answered.done(buttonIndex);
    showTop();
}

bool AlertPresenter::answer(const QString &buttonText)
{
    if (queue_.empty())
        return false;
    const int i = int(queue_.front().buttons.indexOf(buttonText));
    if (i < 0)
        return false;
    answer(i);
    return true;
}

} // namespace tonara
