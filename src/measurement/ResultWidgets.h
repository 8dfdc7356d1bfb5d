#pragma once

#include "platform/FormFactor.h"

#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tonara {

// Pieces both result panels are made of.
class ResultWidgets {
public:
    // A column of caption, value and unit; returns the value label.
    static QLabel *valueTile(QWidget *parent, QBoxLayout *into, const QString &valueName,
                             const QString &caption, const QString &unit, const QString &role);
    // The WHO button: category icon and a "WHO class" caption.
    static QPushButton *whoButton(QWidget *parent, const QString &name, FormFactor form);
    static QPushButton *padButton(QWidget *parent, const QString &name, FormFactor form);
    // The one-line comment field; tapping it asks for the comment editor.
    static QLineEdit *commentField(QWidget *parent, const QString &name);
    // Shows the category's icon and name on a WHO button; empty icon clears it.
    static void setWho(QPushButton *who, const QString &icon, int category, FormFactor form);
    static QString categoryName(int category);
};

} // namespace tonara
