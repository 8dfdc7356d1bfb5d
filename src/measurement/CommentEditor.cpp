#include "measurement/CommentEditor.h"

#include <QSignalBlocker>
#include <QTextBoundaryFinder>
#include <QTextCursor>

namespace tonara {

CommentEditor::CommentEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &CommentEditor::textWasChanged);
}

int CommentEditor::visibleCharacters(const QString &text)
{
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

void CommentEditor::setComment(const QString &text)
{
    reverting_ = true;
    setPlainText(text);
    reverting_ = false;
    accepted_ = toPlainText();
    emit lengthChanged(visibleCharacters(accepted_));
}

void CommentEditor::textWasChanged()
{
    if (reverting_)
        return;
    QString now = toPlainText();
    if (now.contains(QLatin1Char('\n'))) {
        // One line everywhere else: a break typed or pasted here becomes a space.
        const int at = textCursor().position();
        now.replace(QLatin1Char('\n'), QLatin1Char(' '));
        reverting_ = true;
        setPlainText(now);
        QTextCursor c = textCursor();
        c.setPosition(qMin(at, int(now.size())));
        setTextCursor(c);
        reverting_ = false;
    }
    if (visibleCharacters(now) > kLimit) {
        // Back to the text before the change, the cursor where the change began.
        const int grew = int(now.size()) - int(accepted_.size());
        const int at = qBound(0, textCursor().position() - qMax(grew, 0), int(accepted_.size()));
        reverting_ = true;
        setPlainText(accepted_);
        QTextCursor c = textCursor();
        c.setPosition(at);
        setTextCursor(c);
        reverting_ = false;
        return;
    }
    accepted_ = now;
    emit lengthChanged(visibleCharacters(accepted_));
}

} // namespace tonara
