#pragma once

// Pages of a report laid out top to bottom: a cursor that moves down the body
// of an A4 page, opens a new page when a block does not fit, and puts the
// running head and the page number "i / n" on every page.
//
// The report is laid out twice with the same fonts and metrics: first without
// a painter to count the pages, then with one to draw them, so every page
// knows the total.
//
//   ReportPager pager(writer, nullptr, 0, head);    // counting pass
//   layout(pager); pager.finish(); int n = pager.pages();
//   QPainter p(&writer);
//   ReportPager draw(writer, &p, n, head);           // drawing pass
//   layout(draw); draw.finish();

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace tonara {

class ReportPager {
public:
    ReportPager(QPagedPaintDevice &device, QPainter *painter, int totalPages, QString runningHead);

    bool drawing() const { return painter_ != nullptr; }
    QPainter *painter() const { return painter_; }
    const QPagedPaintDevice &device() const { return device_; }
    int page() const { return page_; }
    int pages() const { return page_; }

    // The writable area of a page, below the running head and above the page number.
    QRectF body() const { return body_; }
    double y() const { return y_; }
    double left() const { return body_.left(); }
    double width() const { return body_.width(); }
    double spaceLeft() const { return body_.bottom() - y_; }
    void advance(double by) { y_ += by; }

    // Opens a new page when height does not fit below the cursor (and the page
    // already holds something); then calls atTop on the new page, e.g. to
    // repeat a table's header. True when a page was opened.
    bool ensure(double height, const std::function<void()> &atTop = {});
    void newPage();
    // Ends the last page (its page number).
    void finish();

    // Wrapped text in a column; the height it takes (drawn only while drawing).
    double heightOf(const QString &text, const QFont &font, double width) const;
    double drawText(const QString &text, const QFont &font, double x, double top, double width,
                    int alignment = 0, const QColor *colour = nullptr) const;
    // A paragraph across the body at the cursor, moving the cursor below it.
    void paragraph(const QString &text, const QFont &font, double gapAfter = 4);
    void rule(double top, double thickness = 0.5) const;

private:
    void decorate();

    QPagedPaintDevice &device_;
    QPainter *painter_;
    int total_;
    QString head_;
    QRectF page_rect_;
    QRectF body_;
    double y_ = 0;
    int page_ = 1;
    bool pageHasContent_ = false;
};

} // namespace tonara
