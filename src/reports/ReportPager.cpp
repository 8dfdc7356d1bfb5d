#include "reports/ReportPager.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace tonara {

namespace {

constexpr double kMargin = 42;    // points, about 15 mm
constexpr double kHeadSpace = 22; // running head above the body
constexpr double kFootSpace = 26; // page number below it

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
    // One line above the rule whatever the name's length: the middle gives
    // way, so the start and the period at the end stay readable.
    const QString head =
        QFontMetricsF(smallFont(), &device_).elidedText(head_, Qt::ElideMiddle, body_.width());
    drawText(head, smallFont(), x, kMargin, body_.width(), Qt::AlignLeft, &grey);
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

namespace {

// Lines broken at word boundaries, and inside a word only when it is longer than the column.
double layoutLines(QTextLayout &layout, double width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double h = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, h));
        h += line.height();
    }
    layout.endLayout();
    return h;
}

} // namespace

double ReportPager::heightOf(const QString &text, const QFont &font, double width) const
{
    if (text.isEmpty())
        return QFontMetricsF(font, &device_).height();
    QTextLayout layout(text, font, &device_);
    return layoutLines(layout, width);
}

double ReportPager::drawText(const QString &text, const QFont &font, double x, double top, double width,
                             int alignment, const QColor *colour) const
{
    if (text.isEmpty())
        return QFontMetricsF(font, &device_).height();
    QTextLayout layout(text, font, &device_);
    const double h = layoutLines(layout, width);
    if (painter_) {
        painter_->setPen(colour ? *colour : QColor(Qt::black));
        // Right and centred texts are single short lines (numbers, page numbers).
        double dx = 0;
        if (alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
            const double w = layout.lineCount() ? layout.lineAt(0).naturalTextWidth() : 0;
            dx = (alignment & Qt::AlignRight) ? width - w : (width - w) / 2;
        }
        layout.draw(painter_, QPointF(x + dx, top));
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
