#pragma once

#include "base/AlertSink.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>

namespace tonara {

class AlertSheet;

// Shows alerts and action sheets as in-window modal sheets over a host widget
// (the phone frame), one at a time; later ones wait in a queue. Tests read the
// sheet on top and answer it.
class AlertPresenter : public QObject, public AlertSink {
    Q_OBJECT
public:
    explicit AlertPresenter(QObject *parent = nullptr);
    ~AlertPresenter() override;

    // The widget the sheets cover; without one they are only queued (tests).
    void setHost(QWidget *host);
    QWidget *host() const { return host_; }
    // Action sheets slide in from the bottom; off under test.
    void setAnimationsEnabled(bool on) { animations_ = on; }
    bool animationsEnabled() const { return animations_; }

    // AlertSink
    void showAlert(const std::string &title, const std::string &message,
                   const std::vector<std::string> &buttons, Completion done = {}) override;
    void alert(const QString &title, const QString &message, const QStringList &buttons,
               std::function<void(int)> done = {});
    // An action sheet: a title and a column of buttons, the last usually "Cancel".
    void actionSheet(const QString &title, const QStringList &buttons, std::function<void(int)> done = {});

    // The sheet on top, for tests and UI automation.
    bool hasAlert() const { return !queue_.empty(); }
    int pendingCount() const { return int(queue_.size()); }
    QString currentTitle() const;
    QString currentMessage() const;
    QStringList currentButtons() const;
    bool currentIsActionSheet() const;
    // Answers the sheet on top as if the person tapped that button. Out-of-range
    // indexes and an empty queue are ignored.
    void answer(int buttonIndex);
    // Answers the sheet on top by its button text; false when no such button.
    bool answer(const QString &buttonText);
    // The widget showing the sheet on top (nullptr without a host).
    QWidget *currentSheet() const;

signals:
    void alertShown(const QString &title, const QString &message);
    void alertAnswered(const QString &title, int buttonIndex);

private:
    struct Entry {
        QString title;
        QString message;
        QStringList buttons;
        bool actionSheet = false;
        std::function<void(int)> done;
    };
    void present(Entry e);
    void showTop();

    QPointer<QWidget> host_;
    QPointer<AlertSheet> sheet_;
    std::deque<Entry> queue_;
    bool frontAnnounced_ = false;
    bool animations_ = true;
};

} // namespace tonara
