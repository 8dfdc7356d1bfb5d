#include "platform/NavigationBar.h"

#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace tonara {

NavigationBar::NavigationBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("navigationBar"));
    setAccessibleName(tr("Navigation bar"));
    setAccessibleDescription(objectName());
    setFixedHeight(kHeight);

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("navigationTitle"));
    title_->setAccessibleDescription(title_->objectName());
    title_->setAlignment(Qt::AlignCenter);
    title_->setStyleSheet(QStringLiteral("color: #000000; font-size: 17px; font-weight: 600;"));

    back_ = new QToolButton(this);
    back_->setObjectName(QStringLiteral("backButton"));
    back_->setAccessibleDescription(back_->objectName());
    back_->setCursor(Qt::PointingHandCursor);
    back_->setFocusPolicy(Qt::StrongFocus);
    back_->setStyleSheet(
        QStringLiteral("QToolButton { border: none; color: #007aff; font-size: 17px; padding: 0 4px; }"
                       "QToolButton:pressed { color: #7fbcff; }"
                       "QToolButton:focus { background: rgba(0,122,255,0.12); border-radius: 6px; }"));
    back_->hide();
    connect(back_, &QToolButton::clicked, this, &NavigationBar::backRequested);
}

void NavigationBar::setTitle(const QString &title)
{
    fullTitle_ = title;
    title_->setAccessibleName(title);
    place();
}

QString NavigationBar::title() const
{
    return fullTitle_;
}

void NavigationBar::setBackTitle(const QString &title)
{
    showBack_ = !title.isEmpty();
    backTitle_ = QStringLiteral("\u2039 ") + title;
    back_->setText(backTitle_);
    back_->setAccessibleName(tr("Back to %1").arg(title));
    place();
}

void NavigationBar::setLeftWidget(QWidget *widget)
{
    if (left_ && left_ != widget)
        left_->hide();
    left_ = widget;
    if (left_) {
        left_->setParent(this);
        left_->show();
    }
    place();
}

void NavigationBar::setRightWidget(QWidget *widget)
{
    if (right_ && right_ != widget)
        right_->hide();
    right_ = widget;
    if (right_) {
        right_->setParent(this);
        right_->show();
    }
    place();
}

void NavigationBar::resizeEvent(QResizeEvent *)
{
    place();
}

void NavigationBar::place()
{
    const int h = height();
    int leftEdge = 8;
    int rightEdge = width() - 8;
    back_->setVisible(showBack_ && !left_);
    if (left_) {
        const QSize s = left_->sizeHint().boundedTo(QSize(width() / 3, h));
        left_->setGeometry(8, (h - s.height()) / 2, s.width(), s.height());
        leftEdge = left_->geometry().right() + 4;
    } else if (showBack_) {
        back_->setText(backTitle_);
        const int w = std::min(back_->sizeHint().width(), width() / 3);
        back_->setGeometry(4, 0, w, h);
        // A long name ends in "…" instead of being cut off by the button's edge.
        back_->ensurePolished();
        if (back_->sizeHint().width() > w)
            back_->setText(back_->fontMetrics().elidedText(backTitle_, Qt::ElideRight, w - 8 - 2 * 4));
        leftEdge = back_->geometry().right() + 4;
    }
    if (right_) {
        const QSize s = right_->sizeHint().boundedTo(QSize(width() / 3, h));
        right_->setGeometry(width() - 8 - s.width(), (h - s.height()) / 2, s.width(), s.height());
        rightEdge = right_->geometry().left() - 4;
    }
    // The title stays centred on the bar while it fits between the buttons.
    const int half = std::min(width() / 2 - leftEdge, rightEdge - width() / 2);
    title_->setGeometry(width() / 2 - std::max(half, 0), 0, 2 * std::max(half, 0), h);
    // Centred text wider than its room would lose letters at both ends.
    title_->ensurePolished();
    title_->setText(title_->fontMetrics().elidedText(fullTitle_, Qt::ElideRight, title_->width()));
}

void NavigationBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf8, 0xf8, 0xf9));
    p.fillRect(QRect(0, height() - 1, width(), 1), QColor(0, 0, 0, 60));
}

} // namespace tonara
