#pragma once

// scrollview: the month's readings as cards under their day headers, with the
// month bar and its arrows at the top of the content.
//
// Cards are painted, and only those in view: their controls (delete, PAD,
// TRIV, pen, WHO, "more") are real buttons, taken from a small pool and moved
// to whichever cards are visible as the list scrolls, so a month of hundreds of
// readings costs no more than the few cards on screen.

#include "history/core/CardLayout.h"

#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <QVector>

#include <functional>

class QPushButton;
class QVariantAnimation;

namespace tonara {

class MonthHistory;

class MonthListView : public QScrollArea {
    Q_OBJECT
public:
    // Room for the month bar above the first card, in edit mode too, so the
    // bar never covers a reading.
    static constexpr int kTopOffset = 40;

    // scale 1 on phones, 2 on tablets; the month drawn is read, not copied.
    MonthListView(const MonthHistory &month, double scale, QWidget *parent = nullptr);

    // Draws the month afresh (Painting_objects): the edit flag adds the delete buttons.
    void Painting_objects(bool edit, const QString &emptyText,
                          const std::function<QString(const std::string &date)> &dayAverage);
    // The widgets scrolled with the cards (month bar, arrows, year label), at content coordinates.
    void addHeaderWidget(QWidget *w);

    bool editing() const { return edit_; }
    int cardCount() const { return n_; }
    // Content height in points, as the card geometry gives it.
    int contentHeight() const;
    // The button pool (for tests): every button currently showing a card's control.
    QList<QPushButton *> visibleButtons() const;
    // Brings card i into view.
    void scrollToCard(int i);
    // Whether the delete buttons slide in and out (off under test: at once).
    void setAnimated(bool on) { animated_ = on; }
    // How far the delete buttons are in: 0 out beside the card, 1 in place.
    double deleteSlide() const { return slide_; }

signals:
    void deleteTouched(int index);
    void moreTouched(int index);
    void whoTouched(int index);
    void iconTouched(CardLayout::Icon icon, int index);

private:
    class Content;
    friend class Content;
    void paintCards(QWidget &on, QRect exposed);
    struct Slot {
        int card = -1;
        QPushButton *buttons[6] = {};
    };
    void placeButtons();
    Slot &slotFor(int card, QVector<bool> &used);
    QPushButton *makeButton(int kind);
    void fill(QPushButton *b, CardLayout::Icon icon, int card, QRect at);
    QRect toPixels(QRect at) const;
    QRect deleteRect(int card) const;
    void slideDeletes(bool in);
    void moveDeletes();

    const MonthHistory &month_;
    double scale_;
    Content *content_ = nullptr;
    QVector<Slot> slots_;
    QStringList averages_;
    QString emptyText_;
    bool edit_ = false;
    int n_ = 0;
    bool animated_ = false;
    // The delete buttons' way in; while it runs out they stay on the cards.
    double slide_ = 0;
    QVariantAnimation *slider_ = nullptr;
};

} // namespace tonara
