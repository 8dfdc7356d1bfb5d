#include "measurement/ModeChoicePanel.h"

#include "measurement/MeasurementUi.h"
#include "platform/Artwork.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

QPushButton *modeButton(QWidget *parent, const QString &name, const QString &artwork, const QString &heading,
                        const QString &detail, FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    QPushButton *b =
        MeasurementUi::button(parent, name, heading + QLatin1Char('\n') + detail, QStringLiteral("mode"));
    b->setAccessibleName(heading);
    b->setIcon(Artwork::icon(artwork));
    b->setIconSize(QSize(qRound(40 * s), qRound(40 * s)));
    b->setMinimumHeight(qRound(isTablet(form) ? 74 * s : 70));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

} // namespace

ModeChoicePanel::ModeChoicePanel(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("start_tonaradock"), tr("Choose a measurement"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 96 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(28 * s), margin, qRound(18 * s));
    col->setSpacing(qRound(10 * s));

    col->addWidget(MeasurementUi::label(this, QStringLiteral("start_title"), tr("Blood pressure"),
                                        QStringLiteral("title")));
    QLabel *sub =
        MeasurementUi::label(this, QStringLiteral("start_subtitle"),
                             tr("How would you like to measure today?"), QStringLiteral("subtitle"));
    sub->setWordWrap(true);
    col->addWidget(sub);
    col->addSpacing(qRound(8 * s));

    one_tonara = modeButton(this, QStringLiteral("one_tonara"), QStringLiteral("one_tonara.png"),
                            tr("Single measurement"), tr("One reading, about a minute"), form);
    mem_tonara = modeButton(this, QStringLiteral("mem_tonara"), QStringLiteral("mem_tonara.png"),
                            tr("TRIV measurement"), tr("Three readings, averaged"), form);
    maual_tonara = modeButton(this, QStringLiteral("maual_tonara"), QStringLiteral("maual_tonara.png"),
                              tr("Manual entry"), tr("Type in a reading"), form);
    col->addWidget(one_tonara);
    col->addWidget(mem_tonara);
    col->addWidget(maual_tonara);
    col->addStretch(1);

    QLabel *hint =
        MeasurementUi::label(this, QStringLiteral("start_hint"),
                             tr("Sit quietly for five minutes before you measure, feet flat on the floor."),
                             QStringLiteral("caption"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    col->addWidget(hint);
}

} // namespace tonara
