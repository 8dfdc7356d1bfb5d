#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace tonara {

// A profile's picture: drawn into 100 × 100, kept as PNG bytes, written to its
// file in one piece and read back for the lists and previews.
class ProfilePhoto {
public:
    static constexpr int kSide = 100;

    // The picture stretched to fill 100 × 100 (the aspect ratio is not kept).
    static QImage narrow_image(const QImage &picture);
    static QByteArray pngBytes(const QImage &picture);
    // Writes the bytes atomically: the file holds the old picture or the new
    // one, never part of either. False with the reason in *error.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
    // The picture at the path; null for an empty path or a file that cannot be read.
    static QPixmap read(const QString &path);
};

} // namespace tonara
