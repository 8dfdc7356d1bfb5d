#include "history/MonthListView.h"

#include "history/core/MonthHistory.h"
#include "measurement/MeasurementUi.h"
#include "measurement/core/WHOClassification.h"
#include "platform/Artwork.h"
#include "platform/NavigationController.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextOption>
#include <QVariantAnimation>

namespace tonara {

namespace {

enum Kind { kPad, kTriv, kPen, kWho, kMore, kDelete, kKinds };

constexpr int kCardPitch = 228;
constexpr int kCardHeight = 223;
constexpr int kCardWidth = 307;
// The empty month's window picture, whole, under the month bar.
constexpr int kEmptyWindowWidth = 280;
constexpr int kEmptyWindowHeight = 298;
const QColor kValueColour(81, 177, 235);
// The delete button in place, and the way it travels in from beyond the card's left edge.
constexpr int kDeleteX = 20;
constexpr int kDeleteWidth = 60;
constexpr int kDeleteTravel = kDeleteX + kDeleteWidth;

Kind kindOf(CardLayout::Icon icon)
{
    switch (icon) {
    case CardLayout::Icon::Pad:
        return kPad;
    case CardLayout::Icon::Triv:
        return kTriv;
    case CardLayout::Icon::Pen:
        return kPen;
    case CardLayout::Icon::Who:
        return kWho;
    case CardLayout::Icon::More:
        return kMore;
    case CardLayout::Icon::Delete:
        break;
    }
    return kDelete;
}

} // namespace

// The scrolled content: paints the cards that intersect what is exposed.
class MonthListView::Content : public QWidget {
public:
    Content(MonthListView &view) : QWidget(&view), view_(view)
    {
        setObjectName(QStringLiteral("month_cards"));
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
    std::function<QString(const std::string &)> dayAverage;

protected:
    void paintEvent(QPaintEvent *event) override { view_.paintCards(*this, event->rect()); }

private:
    MonthListView &view_;
};

MonthListView::MonthListView(const MonthHistory &month, double scale, QWidget *parent)
    : QScrollArea(parent), month_(month), scale_(scale)
{
    MeasurementUi::name(this, QStringLiteral("scrollview"), tr("Readings of the month"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    content_ = new Content(*this);
    setWidget(content_);
    viewport()->setAutoFillBackground(false);
    content_->setAutoFillBackground(false);
    // A thin indicator as on a phone, beside the cards rather than over them.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { width: 6px; background: transparent; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(0, 0, 0, 70); border-radius: 3px; min-height: 30px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeButtons(); });
}

int MonthListView::contentHeight() const
{
    if (n_ == 0)
        return kTopOffset + kEmptyWindowHeight;
    return kCardPitch * n_ + kTopOffset + 30;
}

void MonthListView::addHeaderWidget(QWidget *w)
{
    w->setParent(content_);
    w->show();
    w->raise();
}

void MonthListView::Painting_objects(bool edit, const QString &emptyText,
                                     const std::function<QString(const std::string &)> &dayAverage)
{
    const bool wasEditing = edit_;
    edit_ = edit;
    if (edit != wasEditing)
        slideDeletes(edit);
    n_ = month_.count();
    emptyText_ = emptyText;
    content_->dayAverage = dayAverage;
    averages_.clear();
    content_->resize(qRound(kCardWidth * scale_), qRound(contentHeight() * scale_));
    for (Slot &s : slots_)
        s.card = -1;
    verticalScrollBar()->setValue(0);
    placeButtons();
    content_->update();
}

void MonthListView::paintCards(QWidget &on, QRect exposed)
{
    QPainter p(&on);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(scale_, scale_);
    const QRectF area = QRectF(exposed).adjusted(-1, -1, 1, 1);
    const QRectF inPoints(area.topLeft() / scale_, area.size() / scale_);
    const qreal dpr = on.devicePixelRatioF() * scale_;
    auto font = [&](int size, bool bold = false) {
        QFont f(QStringLiteral("Arial Rounded MT Bold"));
        f.setPixelSize(size);
        f.setBold(bold);
        return f;
    };

    if (n_ == 0) {
        const QRect window(0, kTopOffset, kEmptyWindowWidth, kEmptyWindowHeight);
        p.drawPixmap(window, Artwork::pixmap(QStringLiteral("311_window.png"), window.size(), dpr));
        // The message keeps its own line breaks; the font shrinks until its
        // longest line fits the window, so no line wraps into a stray word or
        // runs past the window's edge.
        const QRect room(window.x() + 14, window.y() + 50, window.width() - 28, 130);
        QFont f = font(14);
        const QStringList lines = emptyText_.split(QLatin1Char('\n'));
        for (int size = 14; size >= 9; --size) {
            f = font(size);
            const QFontMetrics m(f);
            int widest = 0;
            for (const QString &line : lines)
                widest = qMax(widest, m.horizontalAdvance(line.trimmed()));
            if (widest <= room.width())
                break;
        }
        p.setFont(f);
        p.setPen(Qt::black);
        QStringList trimmed;
        for (const QString &line : lines)
            trimmed << line.trimmed();
        p.drawText(room, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap,
                   trimmed.join(QLatin1Char('\n')));
        return;
    }

    const int t = kTopOffset;
    const int first = qMax(0, int((inPoints.top() - t - 100) / kCardPitch));
    const int last = qMin(n_ - 1, int((inPoints.bottom() - t + 100) / kCardPitch));
    const QPixmap card = Artwork::pixmap(QStringLiteral("2214_01.png"), QSize(kCardWidth, kCardHeight), dpr);
    const QPixmap join = Artwork::pixmap(QStringLiteral("Form02_top_2.png"), QSize(kCardWidth, 99), dpr);
    const QPixmap rule = Artwork::pixmap(QStringLiteral("line.png"), QSize(280, 1), dpr);
    for (int i = first; i <= last; ++i) {
        const std::size_t ui = std::size_t(i);
        const int top = t + kCardPitch * i;
        const int r = kCardPitch * i;
        const CardLayout::Card c = CardLayout::card(month_, ui, CardLayout::kPhone);
        p.drawPixmap(0, top, card);
        if (c.joinedAbove)
            p.drawPixmap(0, top - 28, join);
        if (c.dayHeader) {
            // 12 rather than 14 so the text sits inside the header strip, clear of the card's edge.
            p.setFont(font(12));
            p.setPen(Qt::black);
            const QString date = QString::fromStdString(month_.aArray_date[ui]);
            // In the card's header strip, above the time band.
            p.drawText(QRect(15, top + 1, 140, 15), Qt::AlignLeft | Qt::AlignVCenter, date);
            const QString avg =
                content_->dayAverage ? content_->dayAverage(month_.aArray_date[ui]) : QString();
            p.drawText(QRect(140, top + 1, 152, 15), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("%1%2").arg(tr("Avg:"), avg));
        }
        p.setFont(font(18));
        p.setPen(Qt::white);
        // Centred in the card's time band.
        p.drawText(QRect(15, top + 16, 200, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(c.time));

        const int columns[3] = {15, 115, 206};
        const QString captions[3] = {tr("Sys"), scale_ > 1 ? tr("Dia") : tr("Dis"), tr("PULSE")};
        const int captionSizes[3] = {14, 14, 10};
        const int values[3] = {month_.aArray_sys[ui], month_.aArray_dia[ui], month_.aArray_pulse[ui]};
        const int valueSizes[3] = {36, 36, 24};
        const QString units[3] = {tr("mmHg"), tr("mmHg"), tr("bpm")};
        for (int k = 0; k < 3; ++k) {
            p.setPen(Qt::darkGray);
            p.setFont(font(captionSizes[k]));
            p.drawText(QRect(columns[k], r + 80, 90, 20), Qt::AlignLeft | Qt::AlignVCenter, captions[k]);
            p.setPen(kValueColour);
            p.setFont(font(valueSizes[k], true));
            p.drawText(QRect(columns[k], r + 96, 100, 40), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(values[k]));
            p.setPen(Qt::darkGray);
            p.setFont(font(9));
            p.drawText(QRect(columns[k], r + 136, 90, 12), Qt::AlignLeft | Qt::AlignVCenter, units[k]);
        }
        const QString comment = QString::fromStdString(month_.aArray_diary[ui]);
        if (!comment.isEmpty()) {
            p.drawPixmap(14, top + 160, rule);
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(9);
            p.setFont(f);
            p.setPen(Qt::black);
            // Between words where it can, inside a word longer than the line where it must.
            QTextOption wrap(Qt::AlignLeft | Qt::AlignTop);
            wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            p.save();
            p.setClipRect(QRect(15, top + 165, 277, kCardHeight - 170));
            p.drawText(QRectF(15, top + 165, 277, kCardHeight - 170), comment, wrap);
            p.restore();
        }
    }
}

QPushButton *MonthListView::makeButton(int kind)
{
    static const char *const names[kKinds] = {"pad_button", "triv_button", "pen_button",
                                              "who_button", "more_button", "delete_button"};
    static const char *const pictures[kKinds] = {"icon_pad.png",         "icon_triv.png",    "icon_pen.png",
                                                 "icon_who_color01.png", "more_icon_01.png", "4-1-1_19.png"};
    auto *b = new QPushButton(content_);
    b->setObjectName(QLatin1String(names[kind]));
    b->setAccessibleDescription(QLatin1String(names[kind]));
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    b->setIcon(Artwork::icon(QLatin1String(pictures[kind])));
    b->hide();
    connect(b, &QPushButton::clicked, this, [this, b, kind] {
        const int card = b->property("card").toInt();
        switch (kind) {
        case kDelete:
            emit deleteTouched(card);
            break;
        case kMore:
            emit moreTouched(card);
            break;
        case kWho:
            emit whoTouched(card);
            break;
        case kPad:
            emit iconTouched(CardLayout::Icon::Pad, card);
            break;
        case kTriv:
            emit iconTouched(CardLayout::Icon::Triv, card);
            break;
        default:
            emit iconTouched(CardLayout::Icon::Pen, card);
            break;
        }
    });
    return b;
}

MonthListView::Slot &MonthListView::slotFor(int card, QVector<bool> &used)
{
    for (int k = 0; k < slots_.size(); ++k)
        if (slots_[k].card == card) {
            used[k] = true;
            return slots_[k];
        }
    for (int k = 0; k < slots_.size(); ++k)
        if (!used[k]) {
            used[k] = true;
            slots_[k].card = card;
            return slots_[k];
        }
    Slot s;
    s.card = card;
    for (int kind = 0; kind < kKinds; ++kind)
        s.buttons[kind] = makeButton(kind);
    slots_.push_back(s);
    used.push_back(true);
    return slots_.back();
}

void MonthListView::fill(QPushButton *b, CardLayout::Icon icon, int card, QRect at)
{
    const std::size_t i = std::size_t(card);
    const QString when =
        QStringLiteral("%1 %2").arg(QString::fromStdString(month_.aArray_date[i]),
                                    QString::fromStdString(CardLayout::shownTime(month_.aArray_time[i])));
    b->setProperty("card", card);
    const QRect px = toPixels(at);
    b->setGeometry(px);
    b->setIconSize(px.size());
    switch (icon) {
    case CardLayout::Icon::Pad:
        b->setAccessibleName(tr("PAD: pulse irregularity detected, reading of %1").arg(when));
        break;
    case CardLayout::Icon::Triv:
        b->setAccessibleName(tr("TRIV: average of three readings, %1").arg(when));
        break;
    case CardLayout::Icon::Pen:
        b->setAccessibleName(tr("Entered by hand, reading of %1").arg(when));
        break;
    case CardLayout::Icon::Who: {
        const int category = WHOClassification::category(month_.aArray_sys[i], month_.aArray_dia[i]);
        b->setIcon(Artwork::icon(QString::fromStdString(WHOClassification::iconName(category))));
        b->setAccessibleName(tr("WHO class %1, reading of %2: show the legend")
                                 .arg(QString::fromStdString(WHOClassification::name(category)), when));
        break;
    }
    case CardLayout::Icon::More:
        b->setAccessibleName(tr("More: the three readings of the TRIV reading of %1").arg(when));
        break;
    case CardLayout::Icon::Delete:
        b->setAccessibleName(tr("Delete the reading of %1").arg(when));
        break;
    }
    b->show();
}

QRect MonthListView::toPixels(QRect at) const
{
    return QRect(qRound(at.x() * scale_), qRound(at.y() * scale_), qRound(at.width() * scale_),
                 qRound(at.height() * scale_));
}

QRect MonthListView::deleteRect(int card) const
{
    const int x = kDeleteX - qRound((1.0 - slide_) * kDeleteTravel);
    return QRect(x, kCardPitch * card + 170, kDeleteWidth, 32);
}

void MonthListView::slideDeletes(bool in)
{
    const double target = in ? 1.0 : 0.0;
    if (!animated_) {
        if (slider_)
            slider_->stop();
        slide_ = target;
        return;
    }
    if (!slider_) {
        slider_ = new QVariantAnimation(this);
        slider_->setDuration(NavigationController::kTransitionMs);
        slider_->setEasingCurve(QEasingCurve::OutCubic);
        connect(slider_, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
            slide_ = v.toDouble();
            moveDeletes();
        });
        // Out of sight at the end of the way out: the pool hands them back.
        connect(slider_, &QVariantAnimation::finished, this, [this] {
            if (slide_ <= 0)
                placeButtons();
        });
    }
    slider_->stop();
    slider_->setStartValue(slide_);
    slider_->setEndValue(target);
    slider_->start();
}

void MonthListView::moveDeletes()
{
    // Only the few pooled buttons in view move: the cards are not painted again.
    for (const Slot &s : slots_) {
        QPushButton *b = s.buttons[kDelete];
        if (s.card >= 0 && !b->isHidden())
            b->move(toPixels(deleteRect(s.card)).topLeft());
    }
}

void MonthListView::placeButtons()
{
    QVector<bool> used(slots_.size(), false);
    if (n_ > 0) {
        const int t = kTopOffset;
        const double top = verticalScrollBar()->value() / scale_;
        const double bottom = top + viewport()->height() / scale_;
        const int first = qMax(0, int((top - t - kCardHeight) / kCardPitch));
        const int last = qMin(n_ - 1, int((bottom - t) / kCardPitch));
        // Keep the slots of cards still in view; the others are handed on.
        for (int k = 0; k < slots_.size(); ++k)
            if (slots_[k].card >= first && slots_[k].card <= last)
                used[k] = true;
            else
                slots_[k].card = -1;
        for (int i = first; i <= last; ++i) {
            Slot &s = slotFor(i, used);
            for (QPushButton *b : s.buttons)
                b->hide();
            const int r = kCardPitch * i;
            const CardLayout::Card c = CardLayout::card(month_, std::size_t(i), CardLayout::kPhone);
            for (const CardLayout::Placed &placed : c.icons) {
                QRect at(placed.x, r + 170, 38, 32);
                if (placed.icon == CardLayout::Icon::More)
                    at = QRect(placed.x, t + kCardPitch * i + 60, 22, 21);
                fill(s.buttons[kindOf(placed.icon)], placed.icon, i, at);
            }
            // Also while they slide out after edit mode has ended.
            if (edit_ || slide_ > 0)
                fill(s.buttons[kDelete], CardLayout::Icon::Delete, i, deleteRect(i));
        }
    }
    for (int k = 0; k < slots_.size(); ++k)
        if (!used[k] || slots_[k].card < 0)
            for (QPushButton *b : slots_[k].buttons)
                b->hide();
}

QList<QPushButton *> MonthListView::visibleButtons() const
{
    QList<QPushButton *> out;
    for (const Slot &s : slots_)
        for (QPushButton *b : s.buttons)
            if (!b->isHidden())
                out.push_back(b);
    return out;
}

void MonthListView::scrollToCard(int i)
{
    const int t = kTopOffset;
    verticalScrollBar()->setValue(qRound((t + kCardPitch * i) * scale_));
}

} // namespace tonara
