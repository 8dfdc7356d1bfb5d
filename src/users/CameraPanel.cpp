#include "users/CameraPanel.h"

#include "measurement/MeasurementUi.h"
#include "users/CameraSource.h"

#include <QPushButton>

namespace tonara {

namespace {
constexpr int kBarHeight = 60;
}

CameraPanel::CameraPanel(CameraSource &camera, QWidget *parent) : QWidget(parent), camera_(camera)
{
    MeasurementUi::name(this, QStringLiteral("camera_panel"), tr("Camera"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#camera_panel { background: black; }"));
    take_ = MeasurementUi::button(this, QStringLiteral("camera_take"), tr("Take"));
    take_->setAccessibleName(tr("Take the photo"));
    cancel_ = MeasurementUi::button(this, QStringLiteral("camera_cancel"), tr("Cancel"),
                                    QStringLiteral("secondary"));
    cancel_->setAccessibleName(tr("Cancel: no photo"));

    connect(&camera_, &CameraSource::captured, this, [this](const QImage &picture) {
        end();
        emit taken(picture);
    });
    connect(&camera_, &CameraSource::failed, this, [this](const QString &why) {
        end();
        emit failed(why);
    });
    connect(take_, &QPushButton::clicked, this, [this] {
        take_->setEnabled(false); // one picture per press
        camera_.takePicture();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        end();
        emit cancelled();
    });

    view_ = camera_.start(this);
    running_ = true;
    if (view_) {
        MeasurementUi::name(view_, QStringLiteral("camera_view"), tr("What the camera sees"));
        view_->show();
    }
}

CameraPanel::~CameraPanel()
{
    end();
}

void CameraPanel::end()
{
    if (!running_)
        return;
    running_ = false;
    camera_.disconnect(this);
    camera_.stop();
    view_ = nullptr;
    take_->setEnabled(false);
    cancel_->setEnabled(false);
}

void CameraPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    if (view_)
        view_->setGeometry(0, 0, w, qMax(0, h - kBarHeight));
    cancel_->setGeometry(12, h - kBarHeight + 12, 96, 36);
    take_->setGeometry(w - 108, h - kBarHeight + 12, 96, 36);
}

} // namespace tonara
