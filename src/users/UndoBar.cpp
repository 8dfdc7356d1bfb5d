#include "users/UndoBar.h"

#include "measurement/MeasurementUi.h"
#include "platform/AlertPresenter.h"
#include "users/core/DataSafetyNet.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tonara {

UndoBar::UndoBar(const UsersContext &context, QWidget *screen)
    : QWidget(screen), context_(context), screen_(screen)
{
    MeasurementUi::name(this, QStringLiteral("undoBar"), tr("Undo the deletion"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#undoBar { background: #2B3A4A; border-radius: 8px; }"
                                 "QLabel { color: white; background: transparent; }"
                                 "QPushButton { color: #9FD3FF; background: transparent; border: none; "
                                 "font-weight: bold; padding: 6px 10px; }"
                                 "QPushButton:focus { border: 1px solid #9FD3FF; border-radius: 4px; }"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 4, 4, 4);
    text_ = new QLabel(this);
    MeasurementUi::name(text_, QStringLiteral("undoText"), QString());
    undo_ = new QPushButton(tr("Undo"), this);
    MeasurementUi::name(undo_, QStringLiteral("undoButton"), tr("Undo"));
    layout->addWidget(text_, 1);
    layout->addWidget(undo_);
    connect(undo_, &QPushButton::clicked, this, &UndoBar::undo);
    screen_->installEventFilter(this);
    hide();
}

void UndoBar::offer(const QString &text, const std::string &backup)
{
    backup_ = backup;
    if (backup_.empty()) {
        withdraw();
        return;
    }
    text_->setText(text);
    text_->setAccessibleName(text);
    seen_ = screen_->isVisible();
    place();
    show();
    raise();
}

void UndoBar::undo()
{
    if (backup_.empty() || !context_.safetyNet)
        return;
    std::string why;
    if (!context_.safetyNet->undo(backup_, &why)) {
        context_.alerts->alert(tr("Not undone"), QString::fromStdString(why), {tr("OK")});
        return;
    }
    withdraw();
    emit undone();
}

void UndoBar::withdraw()
{
    backup_.clear();
    seen_ = false;
    hide();
}

void UndoBar::place()
{
    const int h = 44;
    setGeometry(10, screen_->height() - h - 10, screen_->width() - 20, h);
}

bool UndoBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == screen_ && !backup_.empty()) {
        if (event->type() == QEvent::Show)
            seen_ = true;
        else if (event->type() == QEvent::Hide && seen_)
            withdraw(); // the screen was left: the offer ends with it
        else if (event->type() == QEvent::Resize)
            place();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
