#pragma once

#include <QAbstractButton>

namespace tonara {

// One tab of the tab bar: its icon drawn as a silhouette over its title,
// blue when selected and grey otherwise.
class TabBarItem : public QAbstractButton {
    Q_OBJECT
public:
    explicit TabBarItem(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {64, 49}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tonara
