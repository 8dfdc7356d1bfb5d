#pragma once

#include <QString>
#include <QWidget>

class QTimer;

namespace tonara {

// The phone's status bar: carrier and signal, the time of day, the battery.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 20;

    explicit StatusBar(QWidget *parent = nullptr);

    // A fixed time text (pictures, tests); empty follows the system clock.
    void setTimeText(const QString &text);
    QString timeText() const;
    QSize sizeHint() const override { return {320, kHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    QString fixedTime_;
    QTimer *tick_ = nullptr;
};

} // namespace tonara
