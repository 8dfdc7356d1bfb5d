#include "measurement/PageControl.h"

#include "measurement/MeasurementUi.h"

#include <QMouseEvent>
#include <QPainter>

namespace tonara {

namespace {
constexpr double kDot = 8;
constexpr double kGap = 12;
} // namespace

PageControl::PageControl(int pages, QWidget *parent) : QWidget(parent), pages_(pages)
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
    return QSize(int(pages_ * (kDot + kGap)), 18);
}

QRectF PageControl::dotRect(int i) const
{
    const double total = pages_ * kDot + (pages_ - 1) * kGap;
    const double x0 = (width() - total) / 2;
    return QRectF(x0 + i * (kDot + kGap), (height() - kDot) / 2, kDot, kDot);
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
        if (dotRect(i).adjusted(-kGap / 2, -6, kGap / 2, 6).contains(event->position())) {
            emit pageRequested(i);
            return;
        }
}

} // namespace tonara
