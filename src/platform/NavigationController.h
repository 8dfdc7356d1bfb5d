#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

class QParallelAnimationGroup;

namespace tonara {

class NavigationBar;

// A stack of screens under a navigation bar. push() slides the new screen in
// from the right over 0.3 s, pop() slides it back out; with animations off
// (tests) both happen at once. The stack owns its screens: a popped screen is
// deleted. Its window title and icon follow the root screen's, so a tab shows
// what the root screen calls itself.
class NavigationController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTransitionMs = 300;

    explicit NavigationController(QWidget *root, QWidget *parent = nullptr);
    ~NavigationController() override;

    void push(QWidget *screen, bool animated = true);
    // Pops the top screen (never the root); false when only the root is left.
    bool pop(bool animated = true);
    void popToRoot(bool animated = true);

    QWidget *rootWidget() const { return stack_.isEmpty() ? nullptr : stack_.first().data(); }
    QWidget *topWidget() const { return stack_.isEmpty() ? nullptr : stack_.last().data(); }
    int depth() const { return int(stack_.size()); }
    NavigationBar *navigationBar() const { return bar_; }
    void setNavigationBarHidden(bool hidden);

    // Buttons shown in the bar while that screen is on top.
    void setLeftBarWidget(QWidget *screen, QWidget *button);
    void setRightBarWidget(QWidget *screen, QWidget *button);

    void setAnimationsEnabled(bool on) { animations_ = on; }
    bool animationsEnabled() const { return animations_; }
    bool isTransitioning() const;

signals:
    void topChanged(QWidget *top);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect pageRect() const;
    void finishTransition();
    void transition(QWidget *from, QWidget *to, bool forward, bool animated, bool deleteFrom);
    void updateBar();

    NavigationBar *bar_ = nullptr;
    QWidget *pages_ = nullptr;
    QList<QPointer<QWidget>> stack_;
    QHash<QWidget *, QPointer<QWidget>> leftButtons_;
    QHash<QWidget *, QPointer<QWidget>> rightButtons_;
    QPointer<QParallelAnimationGroup> animation_;
    bool animations_ = true;
    bool barHidden_ = false;
};

} // namespace tonara
