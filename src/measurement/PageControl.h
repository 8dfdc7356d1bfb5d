#pragma once

#include <QWidget>

namespace tonara {

// page_control: one dot per page, the current one filled; a tap on a dot
// asks for that page.
class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(int pages, QWidget *parent = nullptr);

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
    int current_ = 0;
};

} // namespace tonara
