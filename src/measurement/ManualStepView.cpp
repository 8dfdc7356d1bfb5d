#include "measurement/ManualStepView.h"

#include "measurement/MeasurementUi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

// Four dots, the ones up to the current step filled.
class StepDots : public QWidget {
public:
    StepDots(int step, double scale, QWidget *parent) : QWidget(parent), step_(step), scale_(scale)
    {
        setFixedSize(qRound(4 * 18 * scale), qRound(10 * scale));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double d = 8 * scale_;
        for (int i = 0; i < 4; ++i) {
            const QRectF r(i * 18 * scale_ + (18 * scale_ - d) / 2, (height() - d) / 2, d, d);
            p.setPen(QPen(QColor(0x1F, 0x8F, 0xD6), 1.2 * scale_));
            p.setBrush(i < step_ ? QColor(0x1F, 0x8F, 0xD6) : QColor(Qt::white));
            p.drawEllipse(r);
        }
    }

private:
    int step_;
    double scale_;
};

} // namespace

ManualStepView::ManualStepView(int step, const QString &name, const QString &questionText,
                               const QString &hintText, FormFactor form, QWidget *parent)
    : QWidget(parent), step_(step)
{
    const QString stepText = tr("Step %1 of 4").arg(step);
    MeasurementUi::name(this, name, tr("Manual entry, %1: %2").arg(stepText, questionText));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 96 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(22 * s), margin, qRound(16 * s));
    col->setSpacing(qRound(8 * s));

    auto *head = new QHBoxLayout;
    title = MeasurementUi::label(this, name + QStringLiteral("_title"), tr("Manual entry"),
                                 QStringLiteral("title"));
    head->addWidget(title, 1);
    auto *dots = new StepDots(step, s, this);
    MeasurementUi::name(dots, name + QStringLiteral("_progress"), stepText);
    head->addWidget(dots, 0, Qt::AlignVCenter);
    col->addLayout(head);

    QLabel *stepLabel =
        MeasurementUi::label(this, name + QStringLiteral("_step"), stepText, QStringLiteral("notice"));
    col->addWidget(stepLabel);
    col->addSpacing(qRound(6 * s));

    question = MeasurementUi::label(this, name + QStringLiteral("_question"), questionText,
                                    QStringLiteral("steptitle"));
    question->setWordWrap(true);
    col->addWidget(question);
    hint = MeasurementUi::label(this, name + QStringLiteral("_hint"), hintText, QStringLiteral("subtitle"));
    hint->setWordWrap(true);
    col->addWidget(hint);
    col->addSpacing(qRound(10 * s));

    body_ = new QVBoxLayout;
    body_->setSpacing(qRound(8 * s));
    col->addLayout(body_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(qRound(10 * s));
    const QString prefix = QStringLiteral("manual_step%1_4").arg(step);
    back = MeasurementUi::button(this, prefix + QStringLiteral("_back"), tr("Back"),
                                 QStringLiteral("secondary"));
    next = MeasurementUi::button(this, prefix + QStringLiteral("_next"), step == 4 ? tr("Done") : tr("Next"));
    buttons->addWidget(back, 1);
    buttons->addWidget(next, 1);
    col->addLayout(buttons);
}

} // namespace tonara
