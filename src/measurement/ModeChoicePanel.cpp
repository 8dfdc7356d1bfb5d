#include "measurement/ModeChoicePanel.h"

#include "measurement/MeasurementUi.h"
#include "platform/Artwork.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

QPushButton *modeButton(QWidget *parent, const QString &name, const QString &artwork, const QString &heading,
                        const QString &detail, const QString &pictureHeard, FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    // A card: picture, a bold heading over a quieter line, and a chevron. The
    // texts are children that let every touch through to the button.
    QPushButton *b = MeasurementUi::button(parent, name, QString(), QStringLiteral("mode"));
    b->setAccessibleName(heading);
    b->setToolTip(detail);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(b);
    row->setContentsMargins(qRound(12 * s), qRound(8 * s), qRound(12 * s), qRound(8 * s));
    row->setSpacing(qRound(12 * s));
    const int pic = qRound(44 * s);
    QLabel *icon =
        MeasurementUi::picture(b, name + QStringLiteral("_icon"), artwork, QSize(pic, pic), pictureHeard);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(qRound(2 * s));
    QLabel *head =
        MeasurementUi::label(b, name + QStringLiteral("_title"), heading, QStringLiteral("steptitle"));
    QLabel *sub =
        MeasurementUi::label(b, name + QStringLiteral("_detail"), detail, QStringLiteral("caption"));
    texts->addWidget(head);
    texts->addWidget(sub);
    QLabel *chevron = MeasurementUi::label(b, name + QStringLiteral("_chevron"), QStringLiteral("\u203A"),
                                           QStringLiteral("chevron"));
    for (QWidget *w : {static_cast<QWidget *>(icon), static_cast<QWidget *>(head),
                       static_cast<QWidget *>(sub), static_cast<QWidget *>(chevron)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(icon);
    row->addLayout(texts, 1);
    row->addWidget(chevron);
    return b;
}

} // namespace

ModeChoicePanel::ModeChoicePanel(FormFactor form, QWidget *parent) : QWidget(parent), form_(form)
{
    MeasurementUi::name(this, QStringLiteral("start_tonaradock"), tr("Choose a measurement"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 96 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(28 * s), margin, qRound(18 * s));
    col->setSpacing(qRound(10 * s));

    if (isTablet(form))
        col->addStretch(1);
    col->addWidget(MeasurementUi::label(this, QStringLiteral("start_title"), tr("Blood pressure"),
                                        QStringLiteral("title")));
    QLabel *sub =
        MeasurementUi::label(this, QStringLiteral("start_subtitle"),
                             tr("How would you like to measure today?"), QStringLiteral("subtitle"));
    sub->setWordWrap(true);
    col->addWidget(sub);
    col->addSpacing(qRound(8 * s));

    one_tonara = modeButton(this, QStringLiteral("one_tonara"), QStringLiteral("one_tonara.png"),
                            tr("Single measurement"), tr("One reading, about a minute"),
                            tr("Heart with a pulse line, marked 1"), form);
    mem_tonara = modeButton(this, QStringLiteral("mem_tonara"), QStringLiteral("mem_tonara.png"),
                            tr("TRIV measurement"), tr("Three readings, averaged"),
                            tr("Heart with a pulse line, marked 3"), form);
    maual_tonara = modeButton(this, QStringLiteral("maual_tonara"), QStringLiteral("maual_tonara.png"),
                              tr("Manual entry"), tr("Type in a reading"), tr("Pencil on a notepad"), form);
    col->addWidget(one_tonara);
    col->addWidget(mem_tonara);
    col->addWidget(maual_tonara);
    col->addStretch(isTablet(form) ? 2 : 1);

    QLabel *hint =
        MeasurementUi::label(this, QStringLiteral("start_hint"),
                             tr("Sit quietly for five minutes before you measure, feet flat on the floor."),
                             QStringLiteral("caption"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    col->addWidget(hint);
}

void ModeChoicePanel::addWeekCard(QWidget *card)
{
    auto *col = static_cast<QVBoxLayout *>(layout());
    col->insertWidget(col->indexOf(maual_tonara) + 1, card);
    if (form_ == FormFactor::Phone480)
        if (QWidget *hint = findChild<QWidget *>(QStringLiteral("start_hint")))
            hint->hide();
}

} // namespace tonara
