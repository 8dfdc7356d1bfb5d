#pragma once

#include <QWidget>

namespace tonara {

// page_control: one dot per page, the current one filled; a tap on a dot
// asks for that page.
class PageControl : public QWidget {
    Q_OBJECT
public:
    // scale: dot size relative to the phone's.
    explicit PageControl(int pages, double scale = 1.0, QWidget *parent = nullptr);

    int currentPage() const { return current_; }
    int numberOfPages() const { return pages_; }
    void setCurrentPage(int page);
    QSize sizeHint() const override;

signals:
    void pageRequested(int page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRectF dotRect(int i) const;
    int pages_;
    double dot_;
    double gap_;
    int current_ = 0;
};

} // namespace tonara
