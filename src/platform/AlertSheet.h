#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QPushButton;

namespace tonara {

// One alert or action sheet drawn inside a host widget: a dimmed veil over the
// host with a rounded card in the middle (alert) or sliding up from the bottom
// (action sheet). Modal within the host: it takes the clicks and keeps the
// keyboard focus among its buttons. Reports the chosen button by index.
class AlertSheet : public QWidget {
    Q_OBJECT
public:
    enum class Style { Alert, ActionSheet };

    AlertSheet(Style style, const QString &title, const QString &message, const QStringList &buttons,
               QWidget *host, bool animated);

    Style style() const { return style_; }
    QList<QPushButton *> buttons() const { return buttons_; }
    // The card the buttons sit on (the lower card of an action sheet holds Cancel).
    QWidget *card() const { return card_; }

signals:
    void chosen(int buttonIndex);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override; // gives the keyboard focus back

private:
    QPushButton *makeButton(const QString &text, int index, bool cancel);
    void placeCards();
    int cancelIndex() const;
    void moveFocus(int step);

    Style style_;
    bool animated_;
    QWidget *group_ = nullptr; // both cards of an action sheet, or the alert card
    QWidget *card_ = nullptr;
    QList<QPushButton *> buttons_;
    QStringList texts_;
    QPointer<QWidget> previousFocus_;
    double scale_ = 1.0;
    int px(int points) const { return int(points * scale_ + 0.5); }
};

} // namespace tonara
