#pragma once

#include "platform/FormFactor.h"

#include <QPoint>
#include <QWidget>

#include <array>

class QLabel;
class QPropertyAnimation;
class QPushButton;

namespace tonara {

class PageControl;

// The four instruction pages: a strip of step pictures turned by swipes or
// by the page indicator, and the start button.
class InstructionPages : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPages = 4;

    InstructionPages(FormFactor form, bool animations, QWidget *parent = nullptr);

    int page() const { return page_; }
    // The next turn starts from the first page; shows it at once.
    void restartAtFirstPage();

    // A touch that ends left of where it began turns forward (to page 3 at
    // most); anything else turns back (to page 0 at least).
    void touchesBegan(QPoint at);
    void touchesEnded(QPoint at);
    // Shows the page, sliding in from the right when moving forward.
    void pageTurn(int page);

    std::array<QLabel *, kPages> stepImages{}; // step1_image .. step4_image
    PageControl *page_control = nullptr;
    QPushButton *go_measuring = nullptr;
    QPushButton *go_back_strat = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layoutStrip(bool animate, bool fromRight);
    QRect cardRect(int index) const;

    FormFactor form_;
    bool animations_;
    int page_ = 0;
    int previousPage_ = 0;
    QPoint touchStart_;
    QWidget *clip_ = nullptr;
    QLabel *title_ = nullptr;
    std::array<QWidget *, kPages> cards_{};
    QPropertyAnimation *slide_ = nullptr;
    QWidget *strip_ = nullptr;
};

} // namespace tonara
