#include "measurement/ManualNumberField.h"

#include "measurement/core/ManualEntryRules.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace tonara {

ManualNumberField::ManualNumberField(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(ManualEntryRules::kMaxCharacters);
    setAlignment(Qt::AlignCenter);
    setInputMethodHints(Qt::ImhDigitsOnly);
    // The last guard for paths that reach QLineEdit::insert() directly, such
    // as the middle-click selection paste on X11.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(ManualEntryRules::kMaxCharacters)), this));
    // Pasting goes through the key handler below; the menu's paste and drops
    // would bypass it.
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
}

void ManualNumberField::editRange(int *location, int *length) const
{
    if (hasSelectedText()) {
        *location = selectionStart();
        *length = int(selectedText().size());
    } else {
        *location = cursorPosition();
        *length = 0;
    }
}

bool ManualNumberField::shouldChangeCharacters(int location, int length, const QString &replacement) const
{
    return ManualEntryRules::shouldChangeCharacters(int(text().size()), location, length,
                                                    replacement.toStdString());
}

bool ManualNumberField::typeText(const QString &typed)
{
    int location = 0, length = 0;
    editRange(&location, &length);
    if (!shouldChangeCharacters(location, length, typed))
        return false;
    insert(typed);
    return true;
}

void ManualNumberField::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        typeText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (printable) {
        typeText(typed);
        event->accept();
        return;
    }
    // Editing and moving keys (backspace, delete, arrows, undo ...) as usual.
    QLineEdit::keyPressEvent(event);
}

void ManualNumberField::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        int location = 0, length = 0;
        editRange(&location, &length);
        if (event->replacementLength() > 0) {
            location = cursorPosition() + event->replacementStart();
            length = event->replacementLength();
        }
        if (!shouldChangeCharacters(location, length, commit)) {
            event->accept();
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}

} // namespace tonara
