#include "reports/ReportPager.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace tonara {

namespace {

constexpr double kMargin = 42;    // points, about 15 mm
constexpr double kHeadSpace = 22; // running head above the body
constexpr double kFootSpace = 26; // page number below it
constexpr int kWrap = Qt::TextWordWrap | Qt::TextWrapAnywhere;

QFont smallFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(8);
    return f;
}

} // namespace

ReportPager::ReportPager(QPagedPaintDevice &device, QPainter *painter, int totalPages, QString runningHead)
    : device_(device), painter_(painter), total_(totalPages), head_(std::move(runningHead))
{
    page_rect_ = QRectF(0, 0, device.width(), device.height());
    body_ = page_rect_.adjusted(kMargin, kMargin + kHeadSpace, -kMargin, -kMargin - kFootSpace);
    decorate();
}

bool ReportPager::ensure(double height, const std::function<void()> &atTop)
{
    pageHasContent_ = pageHasContent_ || y_ > body_.top();
    if (y_ + height <= body_.bottom() || !pageHasContent_)
        return false;
    newPage();
    if (atTop)
        atTop();
    return true;
}

void ReportPager::newPage()
{
    finish();
    if (painter_)
        device_.newPage();
    ++page_;
    decorate();
}

void ReportPager::decorate()
{
    y_ = body_.top();
    pageHasContent_ = false;
    if (!painter_)
        return;
    const double x = body_.left();
    const QColor grey(90, 90, 90);
    drawText(head_, smallFont(), x, kMargin, body_.width(), Qt::AlignLeft, &grey);
    painter_->setPen(QPen(QColor(160, 160, 160), 0.5));
    painter_->drawLine(QPointF(x, kMargin + 12), QPointF(body_.right(), kMargin + 12));
}

void ReportPager::finish()
{
    if (!painter_)
        return;
    const QString number = QStringLiteral("%1 / %2").arg(page_).arg(total_);
    drawText(number, smallFont(), body_.left(), page_rect_.bottom() - kMargin, body_.width(),
             Qt::AlignHCenter);
}

double ReportPager::heightOf(const QString &text, const QFont &font, double width) const
{
    const QFontMetricsF fm(font, &device_);
    if (text.isEmpty())
        return fm.height();
    return fm.boundingRect(QRectF(0, 0, width, 1e6), kWrap, text).height();
}

double ReportPager::drawText(const QString &text, const QFont &font, double x, double top, double width,
                             int alignment, const QColor *colour) const
{
    const double h = heightOf(text, font, width);
    if (painter_) {
        painter_->setFont(font);
        painter_->setPen(colour ? *colour : QColor(Qt::black));
        painter_->drawText(QRectF(x, top, width, h), kWrap | (alignment ? alignment : Qt::AlignLeft), text);
    }
    return h;
}

void ReportPager::paragraph(const QString &text, const QFont &font, double gapAfter)
{
    const double h = heightOf(text, font, width());
    ensure(h);
    drawText(text, font, left(), y_, width());
    y_ += h + gapAfter;
}

void ReportPager::rule(double top, double thickness) const
{
    if (!painter_)
        return;
    painter_->setPen(QPen(QColor(Qt::black), thickness));
    painter_->drawLine(QPointF(body_.left(), top), QPointF(body_.right(), top));
}

} // namespace tonara
