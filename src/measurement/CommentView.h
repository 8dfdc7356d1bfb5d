#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace tonara {

class CommentEditor;

// add_comments_view: the editor for a reading's comment, with its count of
// characters left and the save and cancel buttons.
class CommentView : public QWidget {
    Q_OBJECT
public:
    CommentView(FormFactor form, QWidget *parent = nullptr);

    CommentEditor *add_comments_text_view = nullptr;
    QLabel *comments_count = nullptr;
    QPushButton *comments_save = nullptr;
    QPushButton *comments_cancel = nullptr;

private:
    void showCount(int characters);
};

} // namespace tonara
