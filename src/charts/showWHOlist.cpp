#include "charts/showWHOlist.h"

#include "measurement/MeasurementUi.h"
#include "measurement/WhoLegendView.h"
#include "platform/Artwork.h"

#include <QPushButton>

namespace tonara {

showWHOlist::showWHOlist(QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("showWHOlist"), tr("WHO classification legend"));
    hide();
}

void showWHOlist::addwho(QWidget *parent)
{
    setParent(parent);
    setGeometry(parent->rect());
    blackview = new QWidget(this);
    MeasurementUi::name(blackview, QStringLiteral("blackview"), tr("Backdrop"));
    blackview->setAutoFillBackground(true);
    QPalette pal = blackview->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 0, 128));
    blackview->setPalette(pal);

    WHO_imageView = new WhoLegendPicture(QStringLiteral("TonaraDock_4-3.png"));
    MeasurementUi::name(WHO_imageView, QStringLiteral("WHO_imageView"),
                        tr("WHO 2003 blood pressure classes: optimal, normal, high normal, grade 1, 2 and 3 "
                           "hypertension"));
    whoscrollView = new WhoScrollView(WHO_imageView, QSize(480, 360), this);
    MeasurementUi::name(whoscrollView, QStringLiteral("whoscrollView"),
                        tr("Legend, zoom with Ctrl and the wheel"));

    backButton = new QPushButton(whoscrollView);
    MeasurementUi::name(backButton, QStringLiteral("backButton"), tr("Close the legend"));
    backButton->setFlat(true);
    backButton->setStyleSheet(QStringLiteral("border: none; background: transparent"));
    connect(backButton, &QPushButton::clicked, this, &showWHOlist::back_button_touch);
    resizeEvent(nullptr);
    show();
    raise();
    backButton->raise();
    if (WhoDelegate)
        WhoDelegate->showWho();
}

void showWHOlist::resizeEvent(QResizeEvent *)
{
    if (!blackview)
        return;
    blackview->setGeometry(rect());
    whoscrollView->setGeometry(rect());
    // Near the top right corner, as big as a finger needs on a tablet too.
    const double s = width() / 480.0;
    const int side = int(20 * std::max(1.0, s) + 8);
    backButton->setGeometry(width() - int(110 * s) - 4, int(5 * s), side, side);
    backButton->setIcon(Artwork::icon(QStringLiteral("Close_icon_01.png")));
    backButton->setIconSize(QSize(side - 4, side - 4));
}

void showWHOlist::back_button_touch()
{
    hide();
    delete backButton;
    backButton = nullptr;
    delete whoscrollView; // takes the picture with it
    whoscrollView = nullptr;
    WHO_imageView = nullptr;
    delete blackview;
    blackview = nullptr;
    if (WhoDelegate)
        WhoDelegate->releaseview();
}

} // namespace tonara
