#pragma once

#include <QImage>
#include <QWidget>

class QPushButton;

namespace tonara {

class CameraSource;

// The camera's capture panel over the profile screen: the live view, "Take"
// and "Cancel". The camera runs while the panel is up and stops with it.
class CameraPanel : public QWidget {
    Q_OBJECT
public:
    CameraPanel(CameraSource &camera, QWidget *parent);
    ~CameraPanel() override;

    QWidget *liveView() const { return view_; }
    QPushButton *takeButton() const { return take_; }
    QPushButton *cancelButton() const { return cancel_; }

signals:
    void taken(const QImage &picture);
    void cancelled();
    void failed(const QString &why);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void end();

    CameraSource &camera_;
    QWidget *view_ = nullptr;
    QPushButton *take_ = nullptr;
    QPushButton *cancel_ = nullptr;
    bool running_ = false;
};

} // namespace tonara
