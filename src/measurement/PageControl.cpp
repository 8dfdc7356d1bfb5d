#include "measurement/PageControl.h"

#include "measurement/MeasurementUi.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace tonara {

namespace {

// The dots can be worked without a pointer: the next and previous page are
// actions a screen reader or UI automation can call.
class PageControlAccessible : public QAccessibleWidget {
public:
    explicit PageControlAccessible(PageControl *dots) : QAccessibleWidget(dots, QAccessible::Indicator) {}

    QStringList actionNames() const override
    {
        return {QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction()};
    }
    QString localizedActionDescription(const QString &action) const override
    {
        if (action == QAccessibleActionInterface::increaseAction())
            return PageControl::tr("Next page");
        if (action == QAccessibleActionInterface::decreaseAction())
            return PageControl::tr("Previous page");
        return QAccessibleWidget::localizedActionDescription(action);
    }
    void doAction(const QString &action) override
    {
        auto *dots = static_cast<PageControl *>(widget());
        const int step = action == QAccessibleActionInterface::increaseAction()   ? 1
                         : action == QAccessibleActionInterface::decreaseAction() ? -1
                                                                                  : 0;
        if (step != 0)
            emit dots->pageRequested(qBound(0, dots->currentPage() + step, dots->numberOfPages() - 1));
    }
};

QAccessibleInterface *pageControlAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(PageControl::staticMetaObject.className()))
        return nullptr;
    return new PageControlAccessible(static_cast<PageControl *>(object));
}

} // namespace

PageControl::PageControl(int pages, double scale, QWidget *parent)
    : QWidget(parent), pages_(pages), dot_(8 * scale), gap_(12 * scale)
{
    static const bool installed = [] {
        QAccessible::installFactory(pageControlAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    MeasurementUi::name(this, QStringLiteral("page_control"), {});
    setCurrentPage(0);
    setCursor(Qt::PointingHandCursor);
}

void PageControl::setCurrentPage(int page)
{
    current_ = qBound(0, page, pages_ - 1);
    // The arrow keys on the instruction pages turn them: the name says so.
    setAccessibleName(
        tr("Page %1 of %2, the Left and Right arrow keys turn the pages").arg(current_ + 1).arg(pages_));
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
