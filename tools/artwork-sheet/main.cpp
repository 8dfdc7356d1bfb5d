// artwork-sheet [OUT.png] [--scale N] [--filter TEXT]
//
// Draws every picture of the artwork at its own size times the scale, with its
// name and size under it, on a checkerboard so transparent parts show.
#include "platform/Artwork.h"

#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString out = QStringLiteral("artwork-sheet.png");
    qreal scale = 2.0;
    QString filter;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--scale") && i + 1 < args.size())
            scale = args[++i].toDouble();
        else if (args[i] == QLatin1String("--filter") && i + 1 < args.size())
            filter = args[++i];
        else if (args[i] == QLatin1String("--help")) {
            std::puts("usage: artwork-sheet [OUT.png] [--scale N] [--filter TEXT]");
            return 0;
        } else
            out = args[i];
    }
    if (scale <= 0) {
        std::fputs("artwork-sheet: the scale must be positive\n", stderr);
        return 2;
    }

    QStringList names;
    for (const QString &file :
         QDir(QStringLiteral(":/artwork")).entryList({QStringLiteral("*.svg")}, QDir::Files))
        if (filter.isEmpty() || file.contains(filter, Qt::CaseInsensitive))
            names << file.chopped(4) + QStringLiteral(".png");
    if (names.isEmpty()) {
        std::fputs("artwork-sheet: no pictures found\n", stderr);
        return 1;
    }

    // Flow layout: left to right, wrapping at the sheet width.
    const int sheetWidth = qMax(1600, int(500 * scale));
    const int gap = 16, labelHeight = 30;
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    struct Item {
        QString name;
        QRect box;
    };
    QList<Item> items;
    int x = gap, y = gap, rowHeight = 0;
    for (const QString &name : names) {
        const QSize natural = tonara::Artwork::naturalSize(name);
        const QSize shown = (QSizeF(natural) * scale).toSize();
        const int w = qMax(shown.width(), fm.horizontalAdvance(name));
        const int h = shown.height() + labelHeight;
        if (x + w > sheetWidth - gap && x > gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        items.append({name, QRect(x, y, w, h)});
        x += w + gap;
        rowHeight = qMax(rowHeight, h);
    }

    QImage sheet(sheetWidth, y + rowHeight + gap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xFF, 0xFF, 0xFF));
    QPainter p(&sheet);
    p.setFont(font);
    for (const Item &item : items) {
        const QSize natural = tonara::Artwork::naturalSize(item.name);
        const QSize shown = (QSizeF(natural) * scale).toSize();
        const QRect pic(item.box.topLeft(), shown);
        for (int cy = 0; cy < pic.height(); cy += 8)
            for (int cx = 0; cx < pic.width(); cx += 8)
                p.fillRect(QRect(pic.x() + cx, pic.y() + cy, 8, 8).intersected(pic),
                           ((cx + cy) / 8) % 2 ? QColor(0xE4, 0xE4, 0xE4) : QColor(0xF6, 0xF6, 0xF6));
        p.drawPixmap(pic, tonara::Artwork::pixmap(item.name, natural, scale));
        p.setPen(Qt::black);
        p.drawText(QRect(pic.left(), pic.bottom() + 3, item.box.width(), 14), Qt::AlignLeft, item.name);
        p.setPen(Qt::darkGray);
        p.drawText(QRect(pic.left(), pic.bottom() + 16, item.box.width(), 14), Qt::AlignLeft,
                   QStringLiteral("%1 x %2").arg(natural.width()).arg(natural.height()));
    }
    p.end();
    if (!sheet.save(out)) {
        std::fprintf(stderr, "artwork-sheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    QTextStream(stdout) << "wrote " << out << " (" << items.size() << " pictures)" << Qt::endl;
    return 0;
}
