#include "app/PlaceholderScreen.h"

#include "platform/Artwork.h"

#include <QPainter>

namespace tonara {

PlaceholderScreen::PlaceholderScreen(const QString &screenName, const QString &title, const QString &iconName,
                                     QWidget *parent)
    : QWidget(parent), iconName_(iconName)
{
    setObjectName(screenName);
    setAccessibleDescription(screenName);
    setAccessibleName(title);
    setWindowTitle(title);
    setWindowIcon(Artwork::icon(iconName));
    connect(this, &QWidget::windowTitleChanged, this, [this](const QString &t) {
        setAccessibleName(t);
        update();
    });
}

void PlaceholderScreen::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.fillRect(rect(), QColor(0xef, 0xef, 0xf4));
    const QSize icon(60, 60);
    const QPixmap pm = Artwork::pixmap(iconName_, icon, devicePixelRatioF());
    const int top = height() / 2 - 60;
    if (!pm.isNull()) {
        p.setOpacity(0.35);
        p.drawPixmap(QRect(QPoint((width() - icon.width()) / 2, top), icon), pm);
        p.setOpacity(1);
    }
    QFont f = font();
    f.setPixelSize(20);
    f.setWeight(QFont::DemiBold);
    p.setFont(f);
    p.setPen(QColor(0x8e, 0x8e, 0x93));
    p.drawText(QRect(0, top + 72, width(), 28), Qt::AlignCenter, windowTitle());
}

} // namespace tonara
