#pragma once

#include <QWidget>

namespace tonara {

// A tab screen whose contents are still to come: it carries its title and
// tab icon and shows them quietly in the middle.
class PlaceholderScreen : public QWidget {
    Q_OBJECT
public:
    PlaceholderScreen(const QString &screenName, const QString &title, const QString &iconName,
                      QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString iconName_;
};

} // namespace tonara
