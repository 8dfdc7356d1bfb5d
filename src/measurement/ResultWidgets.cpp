#include "measurement/ResultWidgets.h"

#include "measurement/MeasurementUi.h"
#include "platform/Artwork.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tonara {

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

QLineEdit *ResultWidgets::commentField(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    MeasurementUi::name(edit, name, QCoreApplication::translate("tonara::ResultWidgets", "Comment"));
    edit->setReadOnly(true);
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
