#include "measurement/CommentView.h"

#include "measurement/CommentEditor.h"
#include "measurement/MeasurementUi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

CommentView::CommentView(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("add_comments_view"), tr("Comment"));
    setProperty("panel", true);
    setAttribute(Qt::WA_StyledBackground);
    const double s = MeasurementUi::scale(form);
    const int margin = isTablet(form) ? 54 : 18;

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(margin, qRound(24 * s), margin, qRound(16 * s));
    col->setSpacing(qRound(10 * s));
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
    col->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(qRound(10 * s));
    comments_cancel = MeasurementUi::button(this, QStringLiteral("comments_cancel"), tr("Cancel"),
                                            QStringLiteral("secondary"));
    comments_save = MeasurementUi::button(this, QStringLiteral("comments_save"), tr("Save"));
    buttons->addWidget(comments_cancel, 1);
    buttons->addWidget(comments_save, 1);
    col->addLayout(buttons);

    connect(add_comments_text_view, &CommentEditor::lengthChanged, this, &CommentView::showCount);
    showCount(0);
}

void CommentView::showCount(int characters)
{
    MeasurementUi::setValue(comments_count, tr("%1 / %2").arg(characters).arg(CommentEditor::kLimit));
}

} // namespace tonara
