#pragma once

#include "users/UsersContext.h"

#include <QWidget>

#include <string>

class QLabel;
class QPushButton;

namespace tonara {

// The strip at the foot of a screen that offers "Undo" after a deletion, for
// as long as the screen stays open: once the screen has been seen and is
// then left, the offer goes.
//
//   auto *bar = new UndoBar(context, screen);
//   bar->offer(tr("Data deleted."), backup);      // from DataSafetyNet::backUpBefore
//   connect(bar, &UndoBar::undone, screen, &Screen::reload);
class UndoBar : public QWidget {
    Q_OBJECT
public:
    UndoBar(const UsersContext &context, QWidget *screen);

    void offer(const QString &text, const std::string &backup);
    bool offering() const { return !backup_.empty(); }
    QPushButton *undoButton() const { return undo_; }
    QLabel *textLabel() const { return text_; }
    // What "Undo" does; also the button's click.
    void undo();

signals:
    void undone();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void withdraw();
    void place();

    UsersContext context_;
    QWidget *screen_;
    QLabel *text_ = nullptr;
    QPushButton *undo_ = nullptr;
    std::string backup_;
    bool seen_ = false;
};

} // namespace tonara
