#include "measurement/MeasurementUi.h"

#include "platform/Artwork.h"

#include <QLabel>
#include <QPushButton>

namespace tonara {

void MeasurementUi::name(QWidget *w, const QString &objectName, const QString &heard)
{
    w->setObjectName(objectName);
    w->setAccessibleDescription(objectName);
    w->setAccessibleName(heard);
}

QLabel *MeasurementUi::label(QWidget *parent, const QString &objectName, const QString &text,
                             const QString &role)
{
    auto *l = new QLabel(text, parent);
    name(l, objectName, text);
    if (!role.isEmpty())
        l->setProperty("role", role);
    l->setWordWrap(false);
    return l;
}

QLabel *MeasurementUi::valueLabel(QWidget *parent, const QString &objectName, const QString &text,
                                  const QString &role)
{
    QLabel *l = label(parent, objectName, text, role.isEmpty() ? QStringLiteral("value") : role);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

void MeasurementUi::setValue(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

QLabel *MeasurementUi::picture(QWidget *parent, const QString &objectName, const QString &artwork, QSize size,
                               const QString &heard)
{
    auto *l = new QLabel(parent);
    name(l, objectName, heard);
    l->setAlignment(Qt::AlignCenter);
    // Pictures that come and go (heart, PAD, markers) keep their place.
    QSizePolicy keep = l->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    l->setSizePolicy(keep);
    setPicture(l, artwork, size);
    return l;
}

void MeasurementUi::setPicture(QLabel *label, const QString &artwork, QSize size)
{
    label->setFixedSize(size);
    label->setPixmap(artwork.isEmpty() ? QPixmap()
                                       : Artwork::pixmap(artwork, size, label->devicePixelRatioF()));
    label->setProperty("artwork", artwork);
}

QPushButton *MeasurementUi::button(QWidget *parent, const QString &objectName, const QString &text,
                                   const QString &role)
{
    auto *b = new QPushButton(text, parent);
    name(b, objectName, text);
    b->setProperty("role", role);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QPushButton *MeasurementUi::pictureButton(QWidget *parent, const QString &objectName, const QString &artwork,
                                          QSize iconSize, const QString &heard)
{
    auto *b = new QPushButton(parent);
    name(b, objectName, heard);
    b->setProperty("role", QStringLiteral("picture"));
    b->setIcon(Artwork::icon(artwork));
    b->setIconSize(iconSize);
    b->setProperty("artwork", artwork);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolTip(heard);
    return b;
}

QString MeasurementUi::styleSheet(FormFactor form)
{
    const double s = scale(form);
    auto px = [s](double v) { return QString::number(qRound(v * s)) + QStringLiteral("px"); };
    // The artwork's palette: white cards on a pale grey ground, the brand
    // blue for actions, red kept for stopping.
    QString css = QStringLiteral(R"(
QWidget[panel="true"] { background: #F3F6F9; }
QLabel { color: #2B3A4A; background: transparent; }
QLabel[role="title"] { font-size: @title; font-weight: bold; color: #2B3A4A; }
QLabel[role="subtitle"] { font-size: @body; color: #5B6B7B; }
QLabel[role="body"] { font-size: @body; color: #3A4A5A; }
QLabel[role="caption"] { font-size: @small; color: #6B7B8B; }
QLabel[role="unit"] { font-size: @small; color: #6B7B8B; }
QLabel[role="value"] { font-size: @value; font-weight: bold; color: #2B3A4A; }
QLabel[role="bigvalue"] { font-size: @big; font-weight: bold; color: #1F8FD6; }
QLabel[role="rowvalue"] { font-size: @body; font-weight: bold; color: #2B3A4A; }
QLabel[role="steptitle"] { font-size: @body; font-weight: bold; color: #2B3A4A; }
QLabel[role="chevron"] { font-size: @title; color: #A9B6C3; }
QLabel[role="pagecount"] { font-size: @small; font-weight: bold; color: #5B6B7B; }
QLabel[role="rowhead"] { font-size: @small; font-weight: bold; color: #5B6B7B; }
QLabel[role="notice"] { font-size: @small; color: #1F8FD6; font-weight: bold; }
QFrame[card="true"] { background: #FFFFFF; border: 1px solid #D5DEE6; border-radius: @radius; }
QFrame[card="dark"] { background: #24313F; border-radius: @radius; }
QFrame[card="dark"] QLabel { color: #FFFFFF; }
QFrame[card="dark"] QLabel[role="unit"], QFrame[card="dark"] QLabel[role="caption"] { color: #A9B8C8; }
QPushButton { font-size: @body; border-radius: @btnradius; padding: @pad @padx; min-height: @btnh; }
QPushButton[role="primary"] { background: #1F8FD6; color: white; border: none; font-weight: bold; }
QPushButton[role="primary"]:pressed { background: #146BA6; }
QPushButton[role="secondary"] { background: #FFFFFF; color: #1F8FD6; border: 1px solid #A9D3F0; }
QPushButton[role="secondary"]:pressed { background: #E6F3FC; }
QPushButton[role="danger"] { background: #C62E3A; color: white; border: none; font-weight: bold; }
QPushButton[role="danger"]:pressed { background: #A1222D; }
QPushButton[role="link"] { background: transparent; color: #1F8FD6; border: none; padding: 0px; min-height: 0px; }
QPushButton[role="picture"] { background: transparent; border: none; padding: 0px; min-height: 0px; }
QPushButton[role="mode"] { background: #FFFFFF; border: 1px solid #D5DEE6; border-radius: @radius; padding: 0px;
                           min-height: @modeh; }
QPushButton[role="mode"]:pressed { background: #E6F3FC; border-color: #1F8FD6; }
QLineEdit { background: #FFFFFF; border: 1px solid #D5DEE6; border-radius: @btnradius; padding: @pad;
            font-size: @body; color: #3A4A5A; }
)");
    css.replace(QStringLiteral("@title"), px(19))
        .replace(QStringLiteral("@body"), px(13))
        .replace(QStringLiteral("@small"), px(11))
        .replace(QStringLiteral("@value"), px(26))
        .replace(QStringLiteral("@big"), px(54))
        .replace(QStringLiteral("@radius"), px(12))
        .replace(QStringLiteral("@btnradius"), px(8))
        .replace(QStringLiteral("@padx"), px(14))
        .replace(QStringLiteral("@pad"), px(6))
        .replace(QStringLiteral("@btnh"), px(24))
        .replace(QStringLiteral("@modeh"), px(66));
    return css;
}

} // namespace tonara
