#include "measurement/HomeWeekCard.h"

#include "measurement/HomeWeekGrid.h"
#include "measurement/MeasurementUi.h"
#include "measurement/texts/HomeWeekTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace tonara {

HomeWeekCard::HomeWeekCard(FormFactor form, QWidget *parent) : QPushButton(parent)
{
    MeasurementUi::name(this, QStringLiteral("home_week"), tr("Home-monitoring week"));
    setProperty("role", QStringLiteral("mode"));
    const double s = MeasurementUi::scale(form);
    // Lower than the mode cards: on the small phone it shares their column.
    setStyleSheet(QStringLiteral("QPushButton#home_week { min-height: %1px; }").arg(qRound(40 * s)));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // The title has the card's whole width; the detail wraps beside the
    // small squares, so neither is cut on the 320-point phone.
    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(qRound(12 * s), qRound(7 * s), qRound(10 * s), qRound(7 * s));
    col->setSpacing(qRound(3 * s));
    auto *top = new QHBoxLayout;
    top->setSpacing(qRound(8 * s));
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(qRound(10 * s));
    title_ = MeasurementUi::label(this, QStringLiteral("home_week_title"), {}, QStringLiteral("steptitle"));
    detail_ = MeasurementUi::label(this, QStringLiteral("home_week_detail"), {}, QStringLiteral("caption"));
    detail_->setWordWrap(true);
    grid_ = new HomeWeekGrid(form, true, QStringLiteral("home_week_mini"), this);
    QLabel *chevron = MeasurementUi::label(this, QStringLiteral("home_week_chevron"),
                                           QStringLiteral("\u203A"), QStringLiteral("chevron"));
    chevron->setAccessibleName(tr("Open"));
    for (QWidget *w : {static_cast<QWidget *>(title_), static_cast<QWidget *>(detail_),
                       static_cast<QWidget *>(grid_), static_cast<QWidget *>(chevron)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    top->addWidget(title_, 1);
    top->addWidget(chevron);
    bottom->addWidget(detail_, 1);
    bottom->addWidget(grid_, 0, Qt::AlignVCenter | Qt::AlignRight);
    col->addLayout(top);
    col->addLayout(bottom);
    showWeek(std::nullopt);
}

QSize HomeWeekCard::sizeHint() const
{
    const QSize content = layout()->sizeHint();
    return {content.width(), std::max(minimumHeight(), heightForWidth(width()))};
}

int HomeWeekCard::heightForWidth(int width) const
{
    return std::max(minimumHeight(), layout()->totalHeightForWidth(width));
}

void HomeWeekCard::showWeek(const std::optional<WeekEvaluation> &w)
{
    if (!w) {
        MeasurementUi::setValue(title_, tr("Home-monitoring week"));
        MeasurementUi::setValue(detail_, tr("Seven days of readings for your doctor"));
        grid_->hide();
    } else {
        MeasurementUi::setValue(title_, HomeWeekTexts::cardTitle(*w));
        MeasurementUi::setValue(detail_, HomeWeekTexts::cardDetail(*w));
        grid_->showWeek(*w);
        grid_->setVisible(true);
    }
    setAccessibleName(title_->text() + QStringLiteral(". ") + detail_->text());
}

} // namespace tonara
