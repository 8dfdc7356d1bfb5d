#include "users/ProfilePhoto.h"

#include <QBuffer>
#include <QPainter>
#include <QSaveFile>

namespace tonara {

QImage ProfilePhoto::narrow_image(const QImage &picture)
{
    QImage canvas(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(0, 0, kSide, kSide), picture);
    return canvas;
}

QByteArray ProfilePhoto::pngBytes(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

bool ProfilePhoto::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QPixmap ProfilePhoto::read(const QString &path)
{
    if (path.isEmpty())
        return {};
    QPixmap picture;
    picture.load(path);
    return picture;
}

} // namespace tonara
