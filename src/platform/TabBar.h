#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QWidget>

namespace tonara {

class TabBarItem;

// The tab bar along the bottom of the screen: one item per tab, the selected
// one highlighted. Arrow keys move between items; Return or Space selects.
class TabBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 49;
    static constexpr int kMaxItemWidth = 128;

    explicit TabBar(QWidget *parent = nullptr);

    int addTab(const QString &title, const QIcon &icon);
    int count() const { return int(items_.size()); }
    QString tabTitle(int index) const;
    QIcon tabIcon(int index) const;
    void setTabTitle(int index, const QString &title);
    void setTabIcon(int index, const QIcon &icon);
    TabBarItem *item(int index) const;

    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);

    // A picture behind the items instead of the plain light bar.
    void setBackgroundImage(const QPixmap &picture);

    QSize sizeHint() const override { return {320, kHeight}; }

signals:
    // The person chose a tab.
    void tabTapped(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<TabBarItem *> items_;
    int current_ = -1;
    bool tappedCurrent_ = false; // the press began on the tab already shown
    QPixmap background_;
};

} // namespace tonara
