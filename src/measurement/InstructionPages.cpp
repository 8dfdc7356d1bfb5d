#include "measurement/InstructionPages.h"

#include "measurement/MeasurementUi.h"
#include "measurement/PageControl.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

struct Step {
    const char *heading;
    const char *text;
    const char *heard;
};

const Step kSteps[InstructionPages::kPages] = {
    {QT_TRANSLATE_NOOP("tonara::InstructionPages", "Put on the cuff"),
     QT_TRANSLATE_NOOP(
         "tonara::InstructionPages",
         "Wrap the cuff around your bare upper arm, 2 to 3 cm above the elbow, tube on the inside."),
     QT_TRANSLATE_NOOP("tonara::InstructionPages", "The cuff wrapped around the bare upper arm")},
    {QT_TRANSLATE_NOOP("tonara::InstructionPages", "Sit and rest"),
     QT_TRANSLATE_NOOP("tonara::InstructionPages",
                       "Sit upright, feet flat, your forearm on the table so the cuff is at heart level."),
     QT_TRANSLATE_NOOP("tonara::InstructionPages", "A person seated at a table, cuff at heart level")},
    {QT_TRANSLATE_NOOP("tonara::InstructionPages", "Dock your phone"),
     QT_TRANSLATE_NOOP("tonara::InstructionPages",
                       "Put your phone into the Tonara+ dock and leave it there."),
     QT_TRANSLATE_NOOP("tonara::InstructionPages", "The phone going down into the Tonara+ dock")},
    {QT_TRANSLATE_NOOP("tonara::InstructionPages", "Keep still and start"),
     QT_TRANSLATE_NOOP("tonara::InstructionPages",
                       "Relax, do not talk or move, and tap Start measurement below."),
     QT_TRANSLATE_NOOP("tonara::InstructionPages", "The phone in the dock, a finger on Start")},
};

} // namespace

InstructionPages::InstructionPages(FormFactor form, bool animations, QWidget *parent)
    : QWidget(parent), form_(form), animations_(animations)
{
    MeasurementUi::name(this, QStringLiteral("instruction_pages"), tr("Instructions"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    setFocusPolicy(Qt::StrongFocus);
    const double s = MeasurementUi::scale(form);

    go_back_strat = MeasurementUi::button(this, QStringLiteral("go_back_strat"), tr("\u2039 Modes"),
                                          QStringLiteral("link"));
    go_back_strat->setAccessibleName(tr("Back to the measurement modes"));
    title_ = MeasurementUi::label(this, QStringLiteral("instruction_title"), {}, QStringLiteral("pagecount"));

    clip_ = new QWidget(this);
    clip_->setObjectName(QStringLiteral("instruction_clip"));
    strip_ = new QWidget(clip_);
    strip_->setObjectName(QStringLiteral("instruction_strip"));
    for (int i = 0; i < kPages; ++i) {
        auto *card = new QWidget(strip_);
        card->setObjectName(QStringLiteral("step%1_card").arg(i + 1));
        auto *col = new QVBoxLayout(card);
        col->setContentsMargins(0, 0, 0, 0);
        col->setSpacing(qRound(4 * s));
        const QString name = QStringLiteral("step%1_image").arg(i + 1);
        stepImages[std::size_t(i)] = MeasurementUi::picture(card, name, name + QStringLiteral(".png"),
                                                            QSize(10, 10), tr(kSteps[i].heard));
        col->addWidget(stepImages[std::size_t(i)], 0, Qt::AlignHCenter);
        QLabel *heading = MeasurementUi::label(card, QStringLiteral("step%1_heading").arg(i + 1),
                                               tr("%1. %2").arg(i + 1).arg(tr(kSteps[i].heading)),
                                               QStringLiteral("steptitle"));
        heading->setAlignment(Qt::AlignCenter);
        col->addWidget(heading);
        QLabel *text = MeasurementUi::label(card, QStringLiteral("step%1_text").arg(i + 1),
                                            tr(kSteps[i].text), QStringLiteral("body"));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        col->addWidget(text);
        col->addStretch(1);
        cards_[std::size_t(i)] = card;
    }

    page_control = new PageControl(kPages, isTablet(form) ? 1.5 : 1.0, this);
    connect(page_control, &PageControl::pageRequested, this, &InstructionPages::pageTurn);
    go_measuring = MeasurementUi::button(this, QStringLiteral("go_measuring"), tr("Start measurement"));

    slide_ = new QPropertyAnimation(strip_, "pos", this);
    slide_->setDuration(300);
    slide_->setEasingCurve(QEasingCurve::OutCubic);
    pageTurn(0);
}

QRect InstructionPages::cardRect(int index) const
{
    // The current picture stands at the left margin, the others beside it.
    const int margin = 20;
    const int w = width() - 2 * margin;
    return QRect(margin + index * width(), 0, w, clip_->height());
}

void InstructionPages::resizeEvent(QResizeEvent *)
{
    const double s = MeasurementUi::scale(form_);
    const int top = isTablet(form_) ? 110 : 48;
    const int buttonH = go_measuring->sizeHint().height();
    const int bottom = height() - qRound(18 * s) - buttonH;
    const int dotsH = qRound(22 * s);
    const int cardH = qMax(120, qMin(isTablet(form_) ? 640 : 312, bottom - top - dotsH - 8));

    // One header row: back on the left, where we are on the right.
    go_back_strat->adjustSize();
    const int headY = qRound(12 * s);
    const int headH = qMax(go_back_strat->height(), title_->sizeHint().height());
    go_back_strat->setGeometry(qRound(14 * s), headY, go_back_strat->width(), headH);
    title_->setGeometry(width() / 2 - 10, headY, width() / 2 - 10, headH);
    title_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    clip_->setGeometry(0, top, width(), cardH);
    strip_->resize(width() * kPages, cardH);
    for (int i = 0; i < kPages; ++i) {
        cards_[std::size_t(i)]->setGeometry(cardRect(i));
        // The picture takes what the two caption lines leave.
        const int picW = cardRect(i).width();
        const int picH = qMax(40, cardH - qRound((isTablet(form_) ? 70 : 62) * s));
        MeasurementUi::setPicture(stepImages[std::size_t(i)],
                                  stepImages[std::size_t(i)]->property("artwork").toString(),
                                  QSize(picW, picH));
    }
    page_control->setGeometry(0, top + cardH + 4, width(), dotsH);
    go_measuring->setGeometry(20, bottom, width() - 40, buttonH);
    layoutStrip(false, true);
}

void InstructionPages::restartAtFirstPage()
{
    page_ = 0;
    previousPage_ = 0;
    page_control->setCurrentPage(0);
    title_->setText(tr("Step 1 of %1").arg(kPages));
    title_->setAccessibleName(title_->text());
    layoutStrip(false, true);
}

void InstructionPages::pageTurn(int page)
{
    page = qBound(0, page, kPages - 1);
    const bool forward = page >= previousPage_;
    page_ = page;
    page_control->setCurrentPage(page);
    title_->setText(tr("Step %1 of %2").arg(page + 1).arg(kPages));
    title_->setAccessibleName(title_->text());
    for (int i = 0; i < kPages; ++i)
        cards_[std::size_t(i)]->setVisible(true);
    layoutStrip(animations_ && page != previousPage_, forward);
    previousPage_ = page;
}

void InstructionPages::layoutStrip(bool animate, bool)
{
    const QPoint target(-page_ * width(), 0);
    slide_->stop();
    if (!animate || !isVisible()) {
        strip_->move(target);
        return;
    }
    slide_->setStartValue(strip_->pos());
    slide_->setEndValue(target);
    slide_->start();
}

void InstructionPages::touchesBegan(QPoint at)
{
    touchStart_ = at;
}

void InstructionPages::touchesEnded(QPoint at)
{
    if (at.x() < touchStart_.x())
        pageTurn(qMin(page_ + 1, kPages - 1));
    else
        pageTurn(qMax(page_ - 1, 0));
}

void InstructionPages::mousePressEvent(QMouseEvent *event)
{
    touchesBegan(event->position().toPoint());
}

void InstructionPages::mouseReleaseEvent(QMouseEvent *event)
{
    touchesEnded(event->position().toPoint());
}

void InstructionPages::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Right)
        pageTurn(qMin(page_ + 1, kPages - 1));
    else if (event->key() == Qt::Key_Left)
        pageTurn(qMax(page_ - 1, 0));
    else
        QWidget::keyPressEvent(event);
}

} // namespace tonara
