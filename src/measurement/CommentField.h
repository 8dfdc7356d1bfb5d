#pragma once

#include <QLineEdit>

namespace tonara {

// The one-line comment of a result. It is read-only: activating it opens the
// comment editor. A tap, Enter, Return or Space, and an assistive
// technology's press action all activate it; while it is editable in place
// (the manual entry's while typing) it is an ordinary field.
class CommentField : public QLineEdit {
    Q_OBJECT
public:
    explicit CommentField(QWidget *parent = nullptr);

signals:
    void activated();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace tonara
