#pragma once

#include <QPlainTextEdit>

namespace tonara {

// add_comments_text_view: the multi-line comment editor. It holds at most
// kLimit characters as a person sees them (an accented letter built from two
// code points, or an emoji made of several, is one), so a comment never loses
// its end when it is stored or shown. A change that would pass the limit is
// refused whole; line breaks become spaces, since every place a comment is
// shown afterwards has one line.
class CommentEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kLimit = 140;

    explicit CommentEditor(QWidget *parent = nullptr);

    // Characters a person sees (grapheme clusters), not bytes or UTF-16 units.
    static int visibleCharacters(const QString &text);

    // Replaces the text without the limit's check; the caller knows it fits.
    void setComment(const QString &text);

signals:
    // The text was changed, with its length in visible characters.
    void lengthChanged(int characters);

private:
    void textWasChanged();

    QString accepted_;
    bool reverting_ = false;
};

} // namespace tonara
