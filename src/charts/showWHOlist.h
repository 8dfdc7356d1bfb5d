#pragma once

#include <QPointer>
#include <QWidget>

class QPushButton;

namespace tonara {

class WhoLegendPicture;
class WhoScrollView;

// The owner of a legend overlay: told when it is up and when it is gone.
class showWHOlistDelegate {
public:
    virtual ~showWHOlistDelegate() = default;
    virtual void showWho() = 0;
    // The overlay has been taken down; the owner lets go of it.
    virtual void releaseview() = 0;
};

// The WHO legend over the landscape chart view: a half-dark backdrop, the
// legend picture zooming from 1x to 5x, and a close button.
class showWHOlist : public QWidget {
    Q_OBJECT
public:
    explicit showWHOlist(QWidget *parent = nullptr);

    showWHOlistDelegate *WhoDelegate = nullptr;

    // Builds the overlay over the parent, covering it, and tells the delegate.
    void addwho(QWidget *parent);

    QWidget *blackview = nullptr;
    WhoScrollView *whoscrollView = nullptr;
    WhoLegendPicture *WHO_imageView = nullptr;
    QPushButton *backButton = nullptr;

public slots:
    void back_button_touch();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace tonara
