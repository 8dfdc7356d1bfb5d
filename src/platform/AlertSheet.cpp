#include "platform/AlertSheet.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

constexpr int kAlertWidth = 270;
constexpr int kSheetMargin = 8;
constexpr int kSheetMaxWidth = 400;
constexpr int kButtonHeight = 44;
constexpr int kSheetButtonHeight = 56;
constexpr int kTabletWidth = 600;

const char *kCardStyle = R"(
QFrame#alertCard, QFrame#actionSheetCard, QFrame#actionSheetCancelCard {
    background: rgba(248, 248, 250, 250);
    border-radius: 13px;
}
QLabel#alertTitle { color: #000000; font-size: %1px; font-weight: 600; }
QLabel#alertMessage { color: #1c1c1e; font-size: %2px; }
QLabel#actionSheetTitle { color: #8a8a8e; font-size: %2px; font-weight: 600; }
QPushButton {
    border: none;
    border-top: 1px solid rgba(60, 60, 67, 0.29);
    background: transparent;
    color: #007aff;
    font-size: %1px;
    padding: 0 8px;
}
QPushButton[cancelRole="true"] { font-weight: 600; }
QPushButton[sideBySide="true"] { border-left: 1px solid rgba(60, 60, 67, 0.29); }
QPushButton[topOfCard="true"] { border-top: none; }
QPushButton[bottomLeft="true"] { border-bottom-left-radius: 13px; }
QPushButton[bottomRight="true"] { border-bottom-right-radius: 13px; }
QPushButton[topOfCard="true"][bottomLeft="true"] { border-top-left-radius: 13px; border-top-right-radius: 13px; }
QPushButton:pressed { background: rgba(0, 0, 0, 0.10); }
QPushButton:focus { background: rgba(0, 122, 255, 0.10); }
)";

// A plain widget is a "filler" to a screen reader, which does not announce
// it: the sheet is an alert, an action sheet a dialog, either named by its title.
QAccessibleInterface *sheetAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(AlertSheet::staticMetaObject.className()))
        return nullptr;
    auto *sheet = static_cast<AlertSheet *>(object);
    return new QAccessibleWidget(sheet, sheet->style() == AlertSheet::Style::ActionSheet
                                            ? QAccessible::Dialog
                                            : QAccessible::AlertMessage);
}

} // namespace

AlertSheet::AlertSheet(Style style, const QString &title, const QString &message, const QStringList &buttons,
                       QWidget *host, bool animated)
    : QWidget(host), style_(style), animated_(animated), texts_(buttons)
{
    const bool sheet = style == Style::ActionSheet;
    static const bool roleKnown = [] {
        QAccessible::installFactory(sheetAccessible);
        return true;
    }();
    Q_UNUSED(roleKnown);
    previousFocus_ = QApplication::focusWidget();
    setObjectName(sheet ? QStringLiteral("actionSheet") : QStringLiteral("alert"));
    setAccessibleName(title);
    setAccessibleDescription(objectName());
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::StrongFocus);
    // A tablet's screen is read from further away: everything a little larger.
    scale_ = host->width() >= kTabletWidth ? 1.25 : 1.0;
    setStyleSheet(QString::fromLatin1(kCardStyle).arg(px(17)).arg(px(13)));

    group_ = new QWidget(this);
    auto *groupLayout = new QVBoxLayout(group_);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    groupLayout->setSpacing(kSheetMargin);

    card_ = new QFrame(group_);
    card_->setObjectName(sheet ? QStringLiteral("actionSheetCard") : QStringLiteral("alertCard"));
    card_->setAttribute(Qt::WA_StyledBackground);
    groupLayout->addWidget(card_);
    auto *cardLayout = new QVBoxLayout(card_);
    cardLayout->setContentsMargins(0, 0, 0, 0);
    cardLayout->setSpacing(0);

    // Texts: an alert's title and message, or the grey heading of an action sheet.
    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(16, sheet ? 14 : 19, 16, sheet ? 14 : 19);
    texts->setSpacing(4);
    if (!title.isEmpty()) {
        auto *t = new QLabel(title, card_);
        t->setObjectName(sheet ? QStringLiteral("actionSheetTitle") : QStringLiteral("alertTitle"));
        t->setAccessibleName(title);
        t->setAccessibleDescription(t->objectName());
        t->setTextFormat(Qt::PlainText);
        t->setAlignment(Qt::AlignCenter);
        t->setWordWrap(true);
        texts->addWidget(t);
    }
    if (!message.isEmpty()) {
        auto *m = new QLabel(message, card_);
        m->setObjectName(QStringLiteral("alertMessage"));
        m->setAccessibleName(message);
        m->setAccessibleDescription(m->objectName());
        m->setTextFormat(Qt::PlainText);
        m->setAlignment(Qt::AlignCenter);
        m->setWordWrap(true);
        texts->addWidget(m);
    }
    const bool hasTexts = !title.isEmpty() || !message.isEmpty();
    if (hasTexts)
        cardLayout->addLayout(texts);
    else
        delete texts; // a sheet without a title or message (the photo source sheet) has no owner for it

    // An action sheet keeps a trailing Cancel apart, in a card of its own.
    const int cancel = cancelIndex();
    const bool separateCancel = sheet && cancel == buttons.size() - 1 && buttons.size() > 1;
    const bool row = !sheet && buttons.size() == 2;
    QHBoxLayout *rowLayout = nullptr;
    if (row) {
        rowLayout = new QHBoxLayout;
        rowLayout->setSpacing(0);
        cardLayout->addLayout(rowLayout);
    }
    for (int i = 0; i < buttons.size(); ++i) {
        const bool isCancel = i == cancel && (buttons.size() > 1 || sheet);
        QPushButton *b = makeButton(buttons.at(i), i, isCancel);
        if (separateCancel && i == cancel) {
            auto *cancelCard = new QFrame(group_);
            cancelCard->setObjectName(QStringLiteral("actionSheetCancelCard"));
            cancelCard->setAttribute(Qt::WA_StyledBackground);
            auto *l = new QVBoxLayout(cancelCard);
            l->setContentsMargins(0, 0, 0, 0);
            b->setParent(cancelCard);
            b->setProperty("topOfCard", true);
            l->addWidget(b);
            groupLayout->addWidget(cancelCard);
            continue;
        }
        b->setParent(card_);
        if (!hasTexts && (row ? true : i == 0))
            b->setProperty("topOfCard", true);
        if (row) {
            if (i == 1)
                b->setProperty("sideBySide", true);
            rowLayout->addWidget(b);
        } else {
            cardLayout->addWidget(b);
        }
    }

    // The buttons along the bottom of a card follow its rounded corners.
    for (QPushButton *b : buttons_) {
        const bool last = b == buttons_.last();
        const bool lastOfCard =
            last || b->parentWidget() != buttons_.at(buttons_.indexOf(b) + 1)->parentWidget();
        if (row) {
            b->setProperty(b == buttons_.first() ? "bottomLeft" : "bottomRight", true);
        } else if (lastOfCard) {
            b->setProperty("bottomLeft", true);
            b->setProperty("bottomRight", true);
        }
    }

    host->installEventFilter(this);
    setGeometry(host->rect());
    placeCards();
    raise();
    show();
}

void AlertSheet::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Whoever typed or tabbed before the sheet came carries on where they were.
    if (previousFocus_ && previousFocus_->isVisible() && !isAncestorOf(previousFocus_))
        previousFocus_->setFocus(Qt::OtherFocusReason);
}

int AlertSheet::cancelIndex() const
{
    const QString cancel = tr("Cancel");
    for (int i = 0; i < texts_.size(); ++i)
        if (texts_.at(i) == cancel || texts_.at(i) == QLatin1String("Cancel"))
            return i;
    return -1;
}

QPushButton *AlertSheet::makeButton(const QString &text, int index, bool cancel)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QStringLiteral("alertButton%1").arg(index));
    b->setAccessibleName(text);
    b->setAccessibleDescription(QStringLiteral("alertButton"));
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(px(style_ == Style::ActionSheet ? kSheetButtonHeight : kButtonHeight));
    b->setProperty("cancelRole", cancel);
    connect(b, &QPushButton::clicked, this, [this, index] { emit chosen(index); });
    buttons_.append(b);
    return b;
}

void AlertSheet::placeCards()
{
    const QRect area = rect();
    if (style_ == Style::Alert) {
        const int w = std::min(px(kAlertWidth), area.width() - 2 * kSheetMargin);
        group_->setFixedWidth(w);
        group_->adjustSize();
        const QSize s(w, group_->heightForWidth(w) > 0 ? group_->heightForWidth(w)
                                                       : group_->sizeHint().height());
        group_->setGeometry(
            QRect(QPoint(area.center().x() - s.width() / 2, area.center().y() - s.height() / 2), s));
    } else {
        const int w = std::min(px(kSheetMaxWidth), area.width() - 2 * kSheetMargin);
        group_->setFixedWidth(w);
        group_->adjustSize();
        const int h = group_->heightForWidth(w) > 0 ? group_->heightForWidth(w) : group_->sizeHint().height();
        group_->setGeometry((area.width() - w) / 2, area.height() - kSheetMargin - h, w, h);
    }
}

void AlertSheet::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Screen readers announce it as an alert, not as one more panel.
    QAccessibleEvent announce(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&announce);
    // Keyboard users land on the safe choice: Cancel when there is one.
    const int cancel = cancelIndex();
    if (!buttons_.isEmpty())
        buttons_.at(cancel >= 0 ? cancel : 0)->setFocus(Qt::OtherFocusReason);
    if (animated_ && style_ == Style::ActionSheet) {
        auto *slide = new QPropertyAnimation(group_, "pos", this);
        slide->setDuration(300);
        slide->setEasingCurve(QEasingCurve::OutCubic);
        slide->setStartValue(QPoint(group_->x(), height()));
        slide->setEndValue(group_->pos());
        group_->move(group_->x(), height());
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    }
    animated_ = false; // only the first appearance slides
}

bool AlertSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        placeCards();
    }
    return QWidget::eventFilter(watched, event);
}

void AlertSheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, style_ == Style::ActionSheet ? 90 : 110));
}

void AlertSheet::moveFocus(int step)
{
    if (buttons_.isEmpty())
        return;
    int at = 0;
    for (int i = 0; i < buttons_.size(); ++i)
        if (buttons_.at(i)->hasFocus())
            at = i;
    const int n = int(buttons_.size());
    buttons_.at(((at + step) % n + n) % n)->setFocus(Qt::TabFocusReason);
}

bool AlertSheet::focusNextPrevChild(bool next)
{
    moveFocus(next ? 1 : -1);
    return true;
}

void AlertSheet::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape: {
        const int cancel = cancelIndex();
        if (cancel >= 0)
            emit chosen(cancel);
        else if (buttons_.size() == 1)
            emit chosen(0);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        for (int i = 0; i < buttons_.size(); ++i)
            if (buttons_.at(i)->hasFocus()) {
                emit chosen(i);
                return;
            }
        if (buttons_.size() == 1)
            emit chosen(0);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveFocus(-1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveFocus(1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void AlertSheet::mousePressEvent(QMouseEvent *event)
{
    event->accept(); // the screen underneath is not reachable while a sheet is up
}

} // namespace tonara
