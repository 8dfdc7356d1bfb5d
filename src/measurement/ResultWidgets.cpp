#include "measurement/ResultWidgets.h"

#include "measurement/CommentField.h"
#include "measurement/MeasurementUi.h"
#include "platform/Artwork.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tonara {

QVBoxLayout *ResultWidgets::page(QWidget *panel, const QString &objectName, const QString &heard,
                                 FormFactor form)
{
    MeasurementUi::name(panel, objectName, heard);
    panel->setProperty("panel", true);
    panel->setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 54 : 18;

    auto *col = new QVBoxLayout(panel);
    col->setContentsMargins(margin, qRound(24 * s), margin, qRound(16 * s));
    col->setSpacing(qRound(10 * s));
    return col;
}

QFrame *ResultWidgets::card(QWidget *parent, const QString &objectName)
{
    auto *card = new QFrame(parent);
    card->setObjectName(objectName);
    card->setProperty("card", true);
    return card;
}

QHBoxLayout *ResultWidgets::whenRow(QWidget *parent, FormFactor form, const QString &dateName,
                                    const QString &timeName, QLabel *&date, QLabel *&time)
{
    auto *when = new QHBoxLayout;
    when->setSpacing(qRound(8 * MeasurementUi::scale(form)));
    date = MeasurementUi::valueLabel(parent, dateName, {}, QStringLiteral("subtitle"));
    time = MeasurementUi::valueLabel(parent, timeName, {}, QStringLiteral("subtitle"));
    when->addWidget(date);
    when->addWidget(time);
    when->addStretch(1);
    return when;
}

void ResultWidgets::readingTiles(QWidget *parent, QBoxLayout *into, const QString &sysName,
                                 const QString &diaName, const QString &pulseName, QLabel *&sys, QLabel *&dia,
                                 QLabel *&pulse)
{
    auto tr = [](const char *text) { return QCoreApplication::translate("tonara::ResultWidgets", text); };
    sys = valueTile(parent, into, sysName, tr("SYS"), tr("mmHg"), QStringLiteral("value"));
    dia = valueTile(parent, into, diaName, tr("DIA"), tr("mmHg"), QStringLiteral("value"));
    pulse = valueTile(parent, into, pulseName, tr("PULSE"), tr("beats/min"), QStringLiteral("value"));
}

void ResultWidgets::whoAndComment(QWidget *parent, QBoxLayout *into, FormFactor form, const QString &whoName,
                                  const QString &commentName, QPushButton *&who, QLineEdit *&comment,
                                  const std::function<void()> &openEditor)
{
    who = whoButton(parent, whoName, form);
    into->addWidget(who);
    CommentField *field = commentField(parent, commentName);
    QObject::connect(field, &CommentField::activated, parent, openEditor);
    comment = field;
    into->addWidget(comment);
}

void ResultWidgets::cancelSave(QWidget *parent, QBoxLayout *into, FormFactor form, const QString &cancelName,
                               const QString &saveName, QPushButton *&cancel, QPushButton *&save)
{
    into->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(qRound(10 * MeasurementUi::scale(form)));
    cancel = MeasurementUi::button(parent, cancelName,
                                   QCoreApplication::translate("tonara::ResultWidgets", "Cancel"),
                                   QStringLiteral("secondary"));
    save =
        MeasurementUi::button(parent, saveName, QCoreApplication::translate("tonara::ResultWidgets", "Save"));
    buttons->addWidget(cancel, 1);
    buttons->addWidget(save, 1);
    into->addLayout(buttons);
}

QLabel *ResultWidgets::valueTile(QWidget *parent, QBoxLayout *into, const QString &valueName,
                                 const QString &caption, const QString &unit, const QString &role)
{
    auto *col = new QVBoxLayout;
    col->setSpacing(0);
    QLabel *cap = MeasurementUi::label(parent, valueName + QStringLiteral("_caption"), caption,
                                       QStringLiteral("rowhead"));
    cap->setAlignment(Qt::AlignCenter);
    col->addWidget(cap);
    QLabel *value = MeasurementUi::valueLabel(parent, valueName, QStringLiteral("0"), role);
    col->addWidget(value);
    QLabel *u =
        MeasurementUi::label(parent, valueName + QStringLiteral("_unit"), unit, QStringLiteral("unit"));
    u->setAlignment(Qt::AlignCenter);
    col->addWidget(u);
    into->addLayout(col, 1);
    return value;
}

QPushButton *ResultWidgets::whoButton(QWidget *parent, const QString &name, FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    QPushButton *b =
        MeasurementUi::button(parent, name, QCoreApplication::translate("tonara::ResultWidgets", "WHO"),
                              QStringLiteral("secondary"));
    b->setIconSize(QSize(qRound(22 * s), qRound(22 * s)));
    return b;
}

QPushButton *ResultWidgets::padButton(QWidget *parent, const QString &name, FormFactor form)
{
    const double s = MeasurementUi::scale(form);
    QPushButton *b = MeasurementUi::pictureButton(
        parent, name, QStringLiteral("icon_pad.png"), QSize(qRound(30 * s), qRound(30 * s)),
        QCoreApplication::translate("tonara::ResultWidgets", "Irregular pulse detected"));
    QSizePolicy keep = b->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    b->setSizePolicy(keep);
    b->setVisible(false);
    return b;
}

CommentField *ResultWidgets::commentField(QWidget *parent, const QString &name)
{
    auto *edit = new CommentField(parent);
    MeasurementUi::name(edit, name, QCoreApplication::translate("tonara::ResultWidgets", "Comment"));
    edit->setPlaceholderText(QCoreApplication::translate("tonara::ResultWidgets", "Add a comment"));
    return edit;
}

QString ResultWidgets::categoryName(int category)
{
    switch (category) {
    case 1:
        return QCoreApplication::translate("tonara::ResultWidgets", "Optimal");
    case 2:
        return QCoreApplication::translate("tonara::ResultWidgets", "Normal");
    case 3:
        return QCoreApplication::translate("tonara::ResultWidgets", "High normal");
    case 4:
        return QCoreApplication::translate("tonara::ResultWidgets", "Grade 1 hypertension");
    case 5:
        return QCoreApplication::translate("tonara::ResultWidgets", "Grade 2 hypertension");
    case 6:
        return QCoreApplication::translate("tonara::ResultWidgets", "Grade 3 hypertension");
    }
    return {};
}

void ResultWidgets::setWho(QPushButton *who, const QString &icon, int category, FormFactor)
{
    who->setIcon(icon.isEmpty() ? QIcon() : Artwork::icon(icon));
    who->setProperty("artwork", icon);
    const QString name = categoryName(category);
    who->setText(name.isEmpty()
                     ? QCoreApplication::translate("tonara::ResultWidgets", "WHO")
                     : QCoreApplication::translate("tonara::ResultWidgets", "WHO class: %1").arg(name));
    who->setAccessibleName(
        QCoreApplication::translate("tonara::ResultWidgets", "WHO class %1, show the legend").arg(name));
}

} // namespace tonara
