#include "measurement/CommentField.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tonara {

namespace {

// A read-only line edit offers a screen reader nothing to do. This one reads
// as the text field it is, with the comment as its value, and can be pressed.
class CommentFieldAccessible : public QAccessibleWidget {
public:
    explicit CommentFieldAccessible(CommentField *field) : QAccessibleWidget(field, QAccessible::EditableText)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return field()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = field()->isReadOnly();
        s.editable = !field()->isReadOnly();
        return s;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (field()->isReadOnly() && field()->isEnabled())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && field()->isReadOnly() && field()->isEnabled())
            emit field()->activated();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    CommentField *field() const { return static_cast<CommentField *>(widget()); }
};

QAccessibleInterface *commentFieldAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(CommentField::staticMetaObject.className()))
        return nullptr;
    return new CommentFieldAccessible(static_cast<CommentField *>(object));
}

} // namespace

CommentField::CommentField(QWidget *parent) : QLineEdit(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(commentFieldAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setReadOnly(true);
}

void CommentField::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (isReadOnly() && event->button() == Qt::LeftButton)
        emit activated();
}

void CommentField::keyPressEvent(QKeyEvent *event)
{
    const int k = event->key();
    if (isReadOnly() && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space)) {
        emit activated();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace tonara
