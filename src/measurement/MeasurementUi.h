#pragma once

#include "platform/FormFactor.h"

#include <QString>

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace tonara {

// Building blocks shared by the measurement tab's panels: every control gets
// its automation name (object name and accessible description) and what a
// screen reader should say, and one look across the tab.
class MeasurementUi {
public:
    // Sets the object name and accessible description to the control's name,
    // and the accessible name to what a person should hear.
    static void name(QWidget *w, const QString &objectName, const QString &heard);

    static QLabel *label(QWidget *parent, const QString &objectName, const QString &text,
                         const QString &role = {});
    // A label that shows a value: heard as that value.
    static QLabel *valueLabel(QWidget *parent, const QString &objectName, const QString &text,
                              const QString &role = {});
    // Updates a value label's text and what it is heard as.
    static void setValue(QLabel *label, const QString &text);
    static QLabel *picture(QWidget *parent, const QString &objectName, const QString &artwork, QSize size,
                           const QString &heard);
    static void setPicture(QLabel *label, const QString &artwork, QSize size);

    static QPushButton *button(QWidget *parent, const QString &objectName, const QString &text,
                               const QString &role = QStringLiteral("primary"));
    // A button showing a picture (and optionally a caption beside it).
    static QPushButton *pictureButton(QWidget *parent, const QString &objectName, const QString &artwork,
                                      QSize iconSize, const QString &heard);

    // The tab's style sheet, sized for the form factor.
    static QString styleSheet(FormFactor form);
    // Point size multiplier: the tablet reads from further away.
    static double scale(FormFactor form) { return isTablet(form) ? 1.7 : 1.0; }
};

} // namespace tonara
