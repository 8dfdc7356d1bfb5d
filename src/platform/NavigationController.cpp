#include "platform/NavigationController.h"

#include "platform/NavigationBar.h"

#include <QEvent>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QToolButton>

namespace tonara {

NavigationController::NavigationController(QWidget *root, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("navigationController"));
    setAccessibleDescription(objectName());
    bar_ = new NavigationBar(this);
    pages_ = new QWidget(this);
    pages_->setObjectName(QStringLiteral("navigationPages"));
    connect(bar_, &NavigationBar::backRequested, this, [this] { pop(animations_); });
    if (root) {
        root->setParent(pages_);
        root->installEventFilter(this);
        stack_.append(root);
        setWindowTitle(root->windowTitle());
        setWindowIcon(root->windowIcon());
        root->show();
    }
    updateBar();
}

NavigationController::~NavigationController()
{
    if (animation_)
        animation_->stop();
}

QRect NavigationController::pageRect() const
{
    return QRect(QPoint(0, 0), pages_->size());
}

void NavigationController::resizeEvent(QResizeEvent *)
{
    const int barHeight = barHidden_ ? 0 : NavigationBar::kHeight;
    bar_->setGeometry(0, 0, width(), NavigationBar::kHeight);
    bar_->setVisible(!barHidden_);
    pages_->setGeometry(0, barHeight, width(), height() - barHeight);
    finishTransition();
    if (QWidget *top = topWidget())
        top->setGeometry(pageRect());
}

void NavigationController::setNavigationBarHidden(bool hidden)
{
    barHidden_ = hidden;
    resizeEvent(nullptr);
}

bool NavigationController::isTransitioning() const
{
    return animation_ && animation_->state() == QAbstractAnimation::Running;
}

void NavigationController::finishTransition()
{
    if (!animation_)
        return;
    // Jump to the end: the finished handler hides or deletes the old screen.
    animation_->setCurrentTime(animation_->totalDuration());
    if (animation_)
        animation_->stop();
}

void NavigationController::push(QWidget *screen, bool animated)
{
    if (!screen || stack_.contains(screen))
        return;
    finishTransition();
    QWidget *from = topWidget();
    screen->setParent(pages_);
    screen->installEventFilter(this);
    stack_.append(screen);
    updateBar();
    transition(from, screen, true, animated, false);
    emit topChanged(screen);
}

bool NavigationController::pop(bool animated)
{
    if (stack_.size() < 2)
        return false;
    finishTransition();
    QPointer<QWidget> from = stack_.takeLast();
    leftButtons_.remove(from);
    rightButtons_.remove(from);
    QWidget *to = topWidget();
    updateBar();
    transition(from, to, false, animated, true);
    emit topChanged(to);
    return true;
}

void NavigationController::popToRoot(bool animated)
{
    if (stack_.size() < 2)
        return;
    finishTransition();
    // Screens between the top and the root go without being seen.
    while (stack_.size() > 2) {
        QPointer<QWidget> gone = stack_.takeAt(1);
        leftButtons_.remove(gone);
        rightButtons_.remove(gone);
        if (gone) {
            gone->hide();
            gone->deleteLater();
        }
    }
    pop(animated);
}

void NavigationController::transition(QWidget *from, QWidget *to, bool forward, bool animated,
                                      bool deleteFrom)
{
    const QRect r = pageRect();
    to->setGeometry(r);
    to->show();
    to->raise();
    if (!animated || !animations_ || !from || r.width() <= 0) {
        if (from) {
            from->hide();
            // Later: the pop may come from a button inside the leaving screen.
            if (deleteFrom)
                from->deleteLater();
        }
        return;
    }
    // Forward: the new screen comes in from the right over the old one, which
    // drifts a third to the left. Back: the top screen leaves to the right.
    QWidget *front = forward ? to : from;
    front->raise();
    auto *group = new QParallelAnimationGroup(this);
    auto *a = new QPropertyAnimation(to, "pos", group);
    a->setDuration(kTransitionMs);
    a->setEasingCurve(QEasingCurve::OutCubic);
    a->setStartValue(forward ? QPoint(r.width(), 0) : QPoint(-r.width() / 3, 0));
    a->setEndValue(QPoint(0, 0));
    auto *b = new QPropertyAnimation(from, "pos", group);
    b->setDuration(kTransitionMs);
    b->setEasingCurve(QEasingCurve::OutCubic);
    b->setStartValue(QPoint(0, 0));
    b->setEndValue(forward ? QPoint(-r.width() / 3, 0) : QPoint(r.width(), 0));
    group->addAnimation(a);
    group->addAnimation(b);
    to->move(a->startValue().toPoint());
    QPointer<QWidget> old = from;
    connect(group, &QParallelAnimationGroup::finished, this, [old, deleteFrom] {
        if (!old)
            return;
        if (deleteFrom)
            old->deleteLater();
        else
            old->hide();
    });
    animation_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void NavigationController::setLeftBarWidget(QWidget *screen, QWidget *button)
{
    leftButtons_[screen] = button;
    if (button)
        button->hide();
    updateBar();
}

void NavigationController::setRightBarWidget(QWidget *screen, QWidget *button)
{
    rightButtons_[screen] = button;
    if (button)
        button->hide();
    updateBar();
}

void NavigationController::updateBar()
{
    QWidget *top = topWidget();
    bar_->setTitle(top ? top->windowTitle() : QString());
    QWidget *below = stack_.size() >= 2 ? stack_.at(stack_.size() - 2).data() : nullptr;
    bar_->setBackTitle(below ? (below->windowTitle().isEmpty() ? tr("Back") : below->windowTitle())
                             : QString());
    bar_->setLeftWidget(top ? leftButtons_.value(top).data() : nullptr);
    bar_->setRightWidget(top ? rightButtons_.value(top).data() : nullptr);
}

bool NavigationController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::WindowIconChange) {
        if (watched == rootWidget()) {
            setWindowTitle(rootWidget()->windowTitle());
            setWindowIcon(rootWidget()->windowIcon());
        }
        updateBar();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
