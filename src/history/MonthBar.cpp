#include "history/MonthBar.h"

#include <QPainter>
#include <QPainterPath>

namespace tonara {

MonthBar::MonthBar(double scale, QWidget *parent) : QWidget(parent), scale_(scale)
{
    setObjectName(QStringLiteral("segmentedControl"));
    setAccessibleDescription(QStringLiteral("segmentedControl"));
    setAccessibleName(tr("Month"));
}

void MonthBar::setTitles(const std::array<std::string, 3> &titles)
{
    for (int k = 0; k < 3; ++k)
        titles_[std::size_t(k)] = tr(titles[std::size_t(k)].c_str());
    setAccessibleName(tr("Month shown: %1").arg(titles_[1]));
    update();
}

QString MonthBar::title(int segment) const
{
    return segment >= 0 && segment < 3 ? titles_[std::size_t(segment)] : QString();
}

void MonthBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tint(0x2f, 0x7c, 0xc8);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal w = outer.width() / 3;
    QPainterPath frame;
    frame.addRoundedRect(outer, 4 * scale_, 4 * scale_);
    p.fillPath(frame, Qt::white);
    p.save();
    p.setClipPath(frame);
    p.fillRect(QRectF(outer.left() + w, outer.top(), w, outer.height()), tint);
    p.restore();
    p.setPen(QPen(tint, 1));
    p.drawPath(frame);
    p.drawLine(QPointF(outer.left() + w, outer.top()), QPointF(outer.left() + w, outer.bottom()));
    p.drawLine(QPointF(outer.left() + 2 * w, outer.top()), QPointF(outer.left() + 2 * w, outer.bottom()));
    QFont f = font();
    f.setPixelSize(qRound(12 * scale_));
    p.setFont(f);
    for (int k = 0; k < 3; ++k) {
        p.setPen(k == 1 ? Qt::white : tint);
        p.drawText(QRectF(outer.left() + k * w, outer.top(), w, outer.height()), Qt::AlignCenter,
                   titles_[std::size_t(k)]);
    }
}

} // namespace tonara
