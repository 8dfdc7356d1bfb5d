#pragma once

#include "platform/FormFactor.h"

#include <QString>

#include <functional>

class QBoxLayout;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tonara {

class CommentField;

// Pieces the result panels (and the comment page they open) are made of.
class ResultWidgets {
public:
    // Names the page, gives it the tab's ground and returns its column, with
    // the margins and spacing every result page shares.
    static QVBoxLayout *page(QWidget *panel, const QString &objectName, const QString &heard,
                             FormFactor form);
    // A white card to group values in.
    static QFrame *card(QWidget *parent, const QString &objectName);
    // The date and time labels side by side, left-aligned; callers may add
    // more to the right.
    static QHBoxLayout *whenRow(QWidget *parent, FormFactor form, const QString &dateName,
                                const QString &timeName, QLabel *&date, QLabel *&time);
    // SYS, DIA and PULSE tiles side by side.
    static void readingTiles(QWidget *parent, QBoxLayout *into, const QString &sysName,
                             const QString &diaName, const QString &pulseName, QLabel *&sys, QLabel *&dia,
                             QLabel *&pulse);
    // The WHO button, then the comment field; activating the field (a tap,
    // a key, a screen reader's press) calls openEditor.
    static void whoAndComment(QWidget *parent, QBoxLayout *into, FormFactor form, const QString &whoName,
                              const QString &commentName, QPushButton *&who, QLineEdit *&comment,
                              const std::function<void()> &openEditor);
    // Cancel and Save side by side, pushed to the bottom of the column.
    static void cancelSave(QWidget *parent, QBoxLayout *into, FormFactor form, const QString &cancelName,
                           const QString &saveName, QPushButton *&cancel, QPushButton *&save);
    // A column of caption, value and unit; returns the value label.
    static QLabel *valueTile(QWidget *parent, QBoxLayout *into, const QString &valueName,
                             const QString &caption, const QString &unit, const QString &role);
    // The WHO button: category icon and a "WHO class" caption.
    static QPushButton *whoButton(QWidget *parent, const QString &name, FormFactor form);
    static QPushButton *padButton(QWidget *parent, const QString &name, FormFactor form);
    // The one-line comment field, read-only until a caller makes it editable.
    static CommentField *commentField(QWidget *parent, const QString &name);
    // Shows the category's icon and name on a WHO button; empty icon clears it.
    static void setWho(QPushButton *who, const QString &icon, int category, FormFactor form);
    static QString categoryName(int category);
};

} // namespace tonara
