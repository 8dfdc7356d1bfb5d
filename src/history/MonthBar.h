#pragma once

// segmentedControl: the month bar, three titles with the middle one selected.
// It only displays; the arrows beside it move the month.

#include <QWidget>

#include <array>
#include <string>

class QLabel;

namespace tonara {

class MonthBar : public QWidget {
    Q_OBJECT
public:
    explicit MonthBar(double scale, QWidget *parent = nullptr);
    void setTitles(const std::array<std::string, 3> &titles);
    QString title(int segment) const;
    int selectedSegmentIndex() const { return 1; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QString, 3> titles_;
    double scale_;
};

} // namespace tonara
