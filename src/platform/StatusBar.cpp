#include "platform/StatusBar.h"

#include <QPainter>
#include <QPainterPath>
#include <QTime>
#include <QTimer>

namespace tonara {

StatusBar::StatusBar(QWidget *parent) : QWidget(parent), tick_(new QTimer(this))
{
    setObjectName(QStringLiteral("statusBar"));
    setAccessibleDescription(objectName());
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    tick_->setInterval(10 * 1000);
    connect(tick_, &QTimer::timeout, this, &StatusBar::refresh);
    tick_->start();
    refresh();
}

void StatusBar::setTimeText(const QString &text)
{
    fixedTime_ = text;
    refresh();
}

QString StatusBar::timeText() const
{
    return fixedTime_.isEmpty() ? QTime::currentTime().toString(QStringLiteral("HH:mm")) : fixedTime_;
}

void StatusBar::refresh()
{
    setAccessibleName(tr("Status bar, %1").arg(timeText()));
    update();
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0x0b, 0x0b, 0x0d));
    p.setPen(Qt::white);
    p.setBrush(Qt::white);

    // Signal strength: five dots, four filled.
    for (int i = 0; i < 5; ++i) {
        const QRectF dot(6 + i * 7, height() / 2.0 - 2.5, 5, 5);
        if (i < 4)
            p.drawEllipse(dot);
        else {
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
            p.setBrush(Qt::white);
        }
    }
    QFont f = font();
    f.setPixelSize(12);
    p.setFont(f);
    p.drawText(QRect(44, 0, 80, height()), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tonara"));

    f.setBold(true);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, timeText());

    // Battery, full.
    const QRectF body(width() - 32, height() / 2.0 - 5, 22, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawRoundedRect(body, 2.5, 2.5);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(body.adjusted(2, 2, -2, -2), 1, 1);
    p.drawRoundedRect(QRectF(body.right() + 1, body.center().y() - 2, 2, 4), 1, 1);
    f.setBold(false);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(width() - 78, 0, 42, height()), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("100%"));
}

} // namespace tonara
