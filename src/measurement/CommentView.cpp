#include "measurement/CommentView.h"

#include "measurement/CommentEditor.h"
#include "measurement/MeasurementUi.h"
#include "measurement/ResultWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

CommentView::CommentView(FormFactor form, QWidget *parent) : QWidget(parent)
{
    QVBoxLayout *col = ResultWidgets::page(this, QStringLiteral("add_comments_view"), tr("Comment"), form);
    const double s = MeasurementUi::scale(form);
    col->addWidget(
        MeasurementUi::label(this, QStringLiteral("comments_title"), tr("Comment"), QStringLiteral("title")));
    col->addWidget(MeasurementUi::label(this, QStringLiteral("comments_hint"),
                                        tr("A note for this reading: how you felt, what you did before."),
                                        QStringLiteral("subtitle")));
    findChild<QLabel *>(QStringLiteral("comments_hint"))->setWordWrap(true);

    add_comments_text_view = new CommentEditor(this);
    MeasurementUi::name(add_comments_text_view, QStringLiteral("add_comments_text_view"), tr("Comment"));
    add_comments_text_view->setPlaceholderText(tr("Add a comment"));
    // Rounded corners of radius 6, as the result cards have.
    add_comments_text_view->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: #FFFFFF; color: #2B3A4A; border: 1px solid #A9D3F0; "
                       "border-radius: 6px; padding: %1px; font-size: %2px; }"
                       "QPlainTextEdit:focus { border-color: #1F8FD6; }")
            .arg(qRound(6 * s))
            .arg(qRound(16 * s)));
    add_comments_text_view->setFixedHeight(qRound((isTablet(form) ? 150 : 120) * s));
    col->addWidget(add_comments_text_view);

    comments_count =
        MeasurementUi::valueLabel(this, QStringLiteral("comments_count"), {}, QStringLiteral("caption"));
    comments_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    col->addWidget(comments_count);
    ResultWidgets::cancelSave(this, col, form, QStringLiteral("comments_cancel"),
                              QStringLiteral("comments_save"), comments_cancel, comments_save);

    connect(add_comments_text_view, &CommentEditor::lengthChanged, this, &CommentView::showCount);
    showCount(0);
}

void CommentView::showCount(int characters)
{
    MeasurementUi::setValue(comments_count, tr("%1 / %2").arg(characters).arg(CommentEditor::kLimit));
}

} // namespace tonara
