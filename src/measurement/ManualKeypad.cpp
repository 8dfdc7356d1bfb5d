#include "measurement/ManualKeypad.h"

#include "measurement/ManualNumberField.h"
#include "measurement/MeasurementUi.h"

#include <QGridLayout>
#include <QPushButton>

namespace tonara {

ManualKeypad::ManualKeypad(ManualNumberField *field, FormFactor form, QWidget *parent)
    : QWidget(parent), field_(field)
{
    const QString base = field->objectName() + QStringLiteral("_keypad");
    MeasurementUi::name(this, base, tr("Number keys"));
    // The height comes from the style sheet (role "key").
    const int keyWidth = isTablet(form) ? 120 : 72;

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(isTablet(form) ? 10 : 5);
    auto make = [&](int index, const QString &text, const QString &heard) {
        QPushButton *b =
            MeasurementUi::button(this, base + QStringLiteral("_") + text, text, QStringLiteral("key"));
        b->setAccessibleName(heard);
        b->setFixedWidth(keyWidth);
        // The field keeps the cursor and the keyboard.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(index == 10);
        keys_[index] = b;
        return b;
    };
    for (int d = 1; d <= 9; ++d) {
        QPushButton *b = make(d, QString::number(d), QString::number(d));
        grid->addWidget(b, (d - 1) / 3, (d - 1) % 3);
        connect(b, &QPushButton::clicked, this, [this, d] { field_->typeText(QString::number(d)); });
    }
    QPushButton *zero = make(0, QStringLiteral("0"), QStringLiteral("0"));
    grid->addWidget(zero, 3, 1);
    connect(zero, &QPushButton::clicked, this, [this] { field_->typeText(QStringLiteral("0")); });
    QPushButton *del = make(10, QStringLiteral("\u232B"), tr("Delete"));
    del->setObjectName(base + QStringLiteral("_delete"));
    del->setAccessibleDescription(del->objectName());
    grid->addWidget(del, 3, 2);
    connect(del, &QPushButton::clicked, this, [this] { field_->backspace(); });
}

QPushButton *ManualKeypad::key(int digit) const
{
    if (digit >= 0 && digit <= 9)
        return keys_[digit];
    return digit == -1 ? keys_[10] : nullptr;
}

} // namespace tonara
