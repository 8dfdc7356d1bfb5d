#include "platform/TabBar.h"

#include "platform/TabBarItem.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

namespace tonara {

TabBar::TabBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabBar"));
    setAccessibleName(tr("Tab bar"));
    setAccessibleDescription(objectName());
    setFixedHeight(kHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Items share a phone's width; on a tablet they gather in the middle.
    layout->addStretch(1);
    layout->addStretch(1);
}

int TabBar::addTab(const QString &title, const QIcon &icon)
{
    auto *item = new TabBarItem(this);
    const int index = int(items_.size());
    item->setObjectName(QStringLiteral("tabBarItem%1").arg(index));
    item->setAccessibleDescription(QStringLiteral("tabBarItem"));
    item->setText(title);
    item->setAccessibleName(title);
    item->setIcon(icon);
    // A tab is chosen whenever its item becomes checked, however that came
    // about: a tap, a key, or an assistive technology's toggle or press
    // action (the toggle checks the item without any click).
    connect(item, &TabBarItem::toggled, this, [this, item](bool checked) {
        const int i = int(items_.indexOf(item));
        if (!checked || i == current_)
            return;
        current_ = i;
        emit tabTapped(i);
    });
    // Tapping the tab already shown is still a tap (it goes back to the
    // tab's first screen); a tap that chose the tab was told above.
    connect(item, &TabBarItem::pressed, this,
            [this, item] { tappedCurrent_ = items_.indexOf(item) == current_; });
    connect(item, &TabBarItem::clicked, this, [this, item] {
        if (tappedCurrent_)
            emit tabTapped(int(items_.indexOf(item)));
        tappedCurrent_ = false;
    });
    items_.append(item);
    item->setMaximumWidth(kMaxItemWidth);
    auto *row = static_cast<QHBoxLayout *>(layout());
    row->insertWidget(row->count() - 1, item, 100);
    if (current_ < 0)
        setCurrentIndex(0);
    return index;
}

TabBarItem *TabBar::item(int index) const
{
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QString TabBar::tabTitle(int index) const
{
    return item(index) ? item(index)->text() : QString();
}

QIcon TabBar::tabIcon(int index) const
{
    return item(index) ? item(index)->icon() : QIcon();
}

void TabBar::setTabTitle(int index, const QString &title)
{
    if (TabBarItem *i = item(index)) {
        i->setText(title);
        i->setAccessibleName(title);
    }
}

void TabBar::setTabIcon(int index, const QIcon &icon)
{
    if (TabBarItem *i = item(index))
        i->setIcon(icon);
}

void TabBar::setCurrentIndex(int index)
{
    if (!item(index))
        return;
    // Set first, so that checking the item is not taken for a new choice.
    current_ = index;
    item(index)->setChecked(true);
}

void TabBar::setBackgroundImage(const QPixmap &picture)
{
    background_ = picture;
    update();
}

void TabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!background_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), background_);
    } else {
        p.fillRect(rect(), QColor(0xf8, 0xf8, 0xf9));
    }
    p.fillRect(QRect(0, 0, width(), 1), QColor(0, 0, 0, 60));
}

void TabBar::keyPressEvent(QKeyEvent *event)
{
    int at = -1;
    for (int i = 0; i < items_.size(); ++i)
        if (items_.at(i)->hasFocus())
            at = i;
    if (at >= 0 && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        const int next = at + (event->key() == Qt::Key_Left ? -1 : 1);
        if (item(next))
            item(next)->setFocus(Qt::TabFocusReason);
        return;
    }
    if (at >= 0 && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        item(at)->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tonara
