#include "platform/TabBarItem.h"

#include <QPainter>

namespace tonara {

namespace {

const QColor kSelected(0x00, 0x7a, 0xff);
const QColor kNormal(0x8e, 0x8e, 0x93);

QPixmap silhouette(const QIcon &icon, QSize size, qreal dpr, const QColor &colour)
{
    QPixmap source = icon.pixmap(size, dpr);
    if (source.isNull())
        return source;
    QPixmap out(source.size());
    out.setDevicePixelRatio(source.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap(0, 0, source);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRect(QPoint(), size), colour);
    return out;
}

} // namespace

TabBarItem::TabBarItem(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setIconSize({30, 30});
}

void TabBarItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QColor colour = isChecked() ? kSelected : kNormal;
    // The focus ring shows for keyboard users only, not after a click.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 122, 255, 28));
        p.drawRoundedRect(QRectF(rect()).adjusted(3, 2, -3, -2), 6, 6);
    }
    if (isDown()) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 18));
        p.drawRoundedRect(QRectF(rect()).adjusted(3, 2, -3, -2), 6, 6);
    }
    const QSize is = iconSize();
    const QPixmap pm = silhouette(icon(), is, devicePixelRatioF(), colour);
    if (!pm.isNull())
        p.drawPixmap(QPoint((width() - is.width()) / 2, 3), pm);
    QFont f = font();
    f.setPixelSize(10);
    f.setWeight(QFont::Medium); // the colour marks the selection; bold would not fit "Measurement"
    p.setFont(f);
    p.setPen(colour);
    const QString title = QFontMetrics(f).elidedText(text(), Qt::ElideRight, width());
    p.drawText(QRect(0, 34, width(), 13), Qt::AlignHCenter | Qt::AlignTop, title);
}

} // namespace tonara
