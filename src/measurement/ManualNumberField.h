#pragma once

#include <QLineEdit>

namespace tonara {

// One of the wizard's number fields (step1_4_test, step2_4_text,
// step3_4_test). Takes at most three characters, digits only; typing over a
// selection and deleting always work. Every way text gets in (keys, input
// methods, paste, drops) goes through shouldChangeCharacters.
class ManualNumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit ManualNumberField(QWidget *parent = nullptr);

    // Whether replacing `length` characters at `location` by `replacement` is taken.
    bool shouldChangeCharacters(int location, int length, const QString &replacement) const;
    // Replaces the selection (or inserts at the cursor) if the rules allow; true when it did.
    bool typeText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    // The range an insertion would replace: the selection, or the cursor.
    void editRange(int *location, int *length) const;
};

} // namespace tonara
