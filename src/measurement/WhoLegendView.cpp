#include "measurement/WhoLegendView.h"

#include "measurement/MeasurementUi.h"
#include "platform/Artwork.h"

#include <QGestureEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPinchGesture>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace tonara {

namespace {
// The legend drawn for portrait screens; the landscape chart view has its own.
const char *const kLegendPicture = "TonaraDock_3-4.png";
} // namespace

WhoLegendPicture::WhoLegendPicture(const QString &artwork, QWidget *parent)
    : QWidget(parent), artwork_(artwork)
{
    MeasurementUi::name(
        this, QStringLiteral("WHO_imageView"),
        tr("WHO blood pressure classes: optimal up to 120 over 80, normal up to 130 over 85, high "
           "normal up to 140 over 90, grade 1 hypertension up to 160 over 100, grade 2 up to 180 "
           "over 110, grade 3 above"));
}

void WhoLegendPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPixmap pm = Artwork::pixmap(artwork_, size(), devicePixelRatioF());
    p.drawPixmap(rect(), pm);
}

WhoScrollView::WhoScrollView(QWidget *picture, QSize natural, QWidget *parent)
    : QScrollArea(parent), picture_(picture), natural_(natural), content_(natural)
{
    MeasurementUi::name(this, QStringLiteral("whoscrollView"), tr("WHO legend, zoomable"));
    setWidget(picture);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    picture->resize(content_);
    viewport()->grabGesture(Qt::PinchGesture);
    setFocusPolicy(Qt::StrongFocus);
}

QWidget *WhoScrollView::viewForZoomingInScrollView(const QScrollArea *scrollView) const
{
    return scrollView == this ? picture_ : nullptr;
}

void WhoScrollView::setZoomScale(double zoom, QPointF anchor)
{
    zoom = qBound(kMinZoom, zoom, kMaxZoom);
    if (anchor.x() < 0)
        anchor = QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0);
    // Content point under the anchor before the change, to keep it there.
    const QPointF before((horizontalScrollBar()->value() + anchor.x()) / zoom_,
                         (verticalScrollBar()->value() + anchor.y()) / zoom_);
    zoom_ = zoom;
    picture_->resize((QSizeF(content_) * zoom_).toSize());
    horizontalScrollBar()->setValue(qRound(before.x() * zoom_ - anchor.x()));
    verticalScrollBar()->setValue(qRound(before.y() * zoom_ - anchor.y()));
}

void WhoScrollView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    // Unzoomed, the whole legend is in view; zooming enlarges from there.
    content_ = natural_.scaled(size(), Qt::KeepAspectRatio);
    picture_->resize((QSizeF(content_) * zoom_).toSize());
}

bool WhoScrollView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Gesture) {
        auto *ge = static_cast<QGestureEvent *>(event);
        if (auto *pinch = static_cast<QPinchGesture *>(ge->gesture(Qt::PinchGesture))) {
            if (pinch->state() == Qt::GestureStarted)
                pinchStart_ = zoom_;
            setZoomScale(pinchStart_ * pinch->totalScaleFactor(),
                         viewport()->mapFromGlobal(pinch->centerPoint()));
            ge->accept(pinch);
            return true;
        }
    }
    if (event->type() == QEvent::Wheel) {
        auto *we = static_cast<QWheelEvent *>(event);
        if (we->modifiers() & Qt::ControlModifier) {
            const double steps = we->angleDelta().y() / 120.0;
            setZoomScale(zoom_ * std::pow(1.25, steps), we->position());
            we->accept();
            return true;
        }
    }
    return QScrollArea::viewportEvent(event);
}

void WhoScrollView::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
            setZoomScale(zoom_ * 1.25);
            return;
        }
        if (event->key() == Qt::Key_Minus) {
            setZoomScale(zoom_ / 1.25);
            return;
        }
        if (event->key() == Qt::Key_0) {
            setZoomScale(1.0);
            return;
        }
    }
    QScrollArea::keyPressEvent(event);
}

WhoLegendView::WhoLegendView(FormFactor form, QWidget *parent) : QWidget(parent), form_(form)
{
    MeasurementUi::name(this, QStringLiteral("WHOview"), tr("WHO classification legend"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    WHO_Back_Touch = MeasurementUi::button(this, QStringLiteral("WHO_Back_Touch"), tr("\u2039 Back"),
                                           QStringLiteral("link"));
    WHO_Back_Touch->setAccessibleName(tr("Close the legend"));
    auto *title = MeasurementUi::label(this, QStringLiteral("WHO_title"), tr("WHO classification"),
                                       QStringLiteral("title"));
    // One header row: back on the left, the title centred.
    const double s = MeasurementUi::scale(form);
    WHO_Back_Touch->adjustSize();
    WHO_Back_Touch->move(qRound(12 * s), qRound(12 * s));
    title->setProperty("role", QStringLiteral("steptitle"));
    title->setAlignment(Qt::AlignCenter);
    title_ = title;
    imageviewINIT();
}

void WhoLegendView::resizeEvent(QResizeEvent *)
{
    placeScrollView();
}

void WhoLegendView::placeScrollView()
{
    if (!whoscrollView)
        return;
    const bool tablet = isTablet(form_);
    const int x = tablet ? 10 : 7;
    const int top = WHO_Back_Touch->geometry().bottom() + (tablet ? 16 : 6);
    title_->setGeometry(0, WHO_Back_Touch->y(), width(), WHO_Back_Touch->height());
    WHO_Back_Touch->raise();
    // As large as the legend's frame allows, within the screen we are given.
    const int w = qMin(tablet ? 748 : 307, width() - 2 * x);
    const int h = qMin(tablet ? 964 : 460, height() - top - x);
    whoscrollView->setGeometry(x, top, qMax(w, 0), qMax(h, 0));
}

void WhoLegendView::imageviewINIT()
{
    delete whoscrollView;
    const bool tablet = isTablet(form_);
    const QString picture = QString::fromLatin1(kLegendPicture);
    QSize natural = Artwork::naturalSize(picture);
    if (natural.isEmpty())
        natural = tablet ? QSize(748, 964) : QSize(307, 370);
    WHO_imageView = new WhoLegendPicture(picture);
    whoscrollView = new WhoScrollView(WHO_imageView, natural, this);
    placeScrollView();
    whoscrollView->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: "
                                                "transparent; border: none; }"));
    whoscrollView->viewport()->setAutoFillBackground(false);
    whoscrollView->show();
}

} // namespace tonara
