#include "measurement/PageControl.h"

#include "measurement/MeasurementUi.h"

#include <QMouseEvent>
#include <QPainter>

namespace tonara {

PageControl::PageControl(int pages, double scale, QWidget *parent)
    : QWidget(parent), pages_(pages), dot_(8 * scale), gap_(12 * scale)
{
    MeasurementUi::name(this, QStringLiteral("page_control"), {});
    setCurrentPage(0);
    setCursor(Qt::PointingHandCursor);
}

void PageControl::setCurrentPage(int page)
{
    current_ = qBound(0, page, pages_ - 1);
    setAccessibleName(tr("Page %1 of %2").arg(current_ + 1).arg(pages_));
    update();
}

QSize PageControl::sizeHint() const
{
    return QSize(int(pages_ * (dot_ + gap_)), int(dot_ + 10));
}

QRectF PageControl::dotRect(int i) const
{
    const double total = pages_ * dot_ + (pages_ - 1) * gap_;
    const double x0 = (width() - total) / 2;
    return QRectF(x0 + i * (dot_ + gap_), (height() - dot_) / 2, dot_, dot_);
}

void PageControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < pages_; ++i) {
        p.setBrush(i == current_ ? QColor(0x1F, 0x8F, 0xD6) : QColor(0xC8, 0xD3, 0xDD));
        p.drawEllipse(dotRect(i));
    }
}

void PageControl::mouseReleaseEvent(QMouseEvent *event)
{
    for (int i = 0; i < pages_; ++i)
        if (dotRect(i).adjusted(-gap_ / 2, -6, gap_ / 2, 6).contains(event->position())) {
            emit pageRequested(i);
            return;
        }
}

} // namespace tonara
