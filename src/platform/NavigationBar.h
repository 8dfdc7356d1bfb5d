#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QToolButton;

namespace tonara {

// The bar across the top of a navigation stack: a back button naming the
// screen underneath, the title of the screen on top, and optional buttons of
// that screen on the left and right.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 44;

    explicit NavigationBar(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;
    // An empty back title hides the back button.
    void setBackTitle(const QString &title);
    QToolButton *backButton() const { return back_; }
    // Buttons of the screen on top; the left one replaces the back button.
    void setLeftWidget(QWidget *widget);
    void setRightWidget(QWidget *widget);

    QSize sizeHint() const override { return {320, kHeight}; }

signals:
    void backRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();

    QLabel *title_ = nullptr;
    QToolButton *back_ = nullptr;
    QPointer<QWidget> left_;
    QPointer<QWidget> right_;
    bool showBack_ = false;
    QString fullTitle_; // the label and the back button show them elided to their room
    QString backTitle_;
};

} // namespace tonara
