#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace tonara {

// The application's pictures, looked up by the names the screens use
// ("icon_who_color03.png", "Tab_Bar_icon_cronometer_30x30.png", ...). Each is
// drawn from an SVG source among the resources, at the size asked for: icons
// keep their proportions and are centred, backgrounds stretch to fill (see
// resources/artwork/README.md). Rendered pixmaps are cached; GUI thread only.
namespace Artwork {

bool exists(const QString &name);
// Rendered at size (device-independent pixels) times devicePixelRatio; a null
// pixmap for an unknown name. An empty size uses the picture's own size.
QPixmap pixmap(const QString &name, QSize size = {}, qreal devicePixelRatio = 1.0);
QIcon icon(const QString &name);
// The picture's own size in points.
QSize naturalSize(const QString &name);

} // namespace Artwork

} // namespace tonara
