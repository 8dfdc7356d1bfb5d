#include "platform/Artwork.h"

#include <QCache>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace tonara {

namespace {

// One parsed picture. Parsing is the slow part, so each source is read once.
struct Source {
    std::unique_ptr<QSvgRenderer> renderer;
    // Backgrounds and frames are drawn to fill whatever rectangle they are given;
    // icons keep their proportions and are centred.
    bool stretch = false;
};

// The screens name pictures as the phone platform did ("Battery_01.png",
// "index_bk.jpg"); our sources are SVG files of the same base name.
QString resourcePath(const QString &name)
{
    QString base = name;
    for (const char *suffix : {".png", ".jpg", ".svg"}) {
        if (base.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            base.chop(4);
            break;
        }
    }
    // Only plain names: nothing that could reach outside the artwork folder.
    if (base.isEmpty() || base.contains(QLatin1Char('/')) || base.contains(QLatin1Char('\\')) ||
        base.startsWith(QLatin1Char('.')))
        return {};
    return QStringLiteral(":/artwork/") + base + QStringLiteral(".svg");
}

// Both caches live on the heap and are never destroyed at exit: the
// application may outlive ordinary statics, and it empties them when it goes.
QHash<QString, std::shared_ptr<Source>> &sources()
{
    static auto *parsed = new QHash<QString, std::shared_ptr<Source>>;
    return *parsed;
}

// Bounded so that zooming through many sizes cannot grow memory without end;
// the cost is in kilobytes.
QCache<QString, QPixmap> &renderedCache()
{
    static auto *cache = new QCache<QString, QPixmap>(32 * 1024);
    return *cache;
}

// Pixmaps and renderers belong to the GUI application: let them go with it
// rather than at process exit, after it is gone.
void releaseAll()
{
    renderedCache().clear();
    sources().clear();
}

const Source *source(const QString &name)
{
    static const bool releaseRegistered = [] {
        qAddPostRoutine(releaseAll);
        return true;
    }();
    Q_UNUSED(releaseRegistered);
    const QString path = resourcePath(name);
    if (path.isEmpty())
        return nullptr;
    if (auto it = sources().constFind(path); it != sources().constEnd())
        return it->get();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray data = file.readAll();
    auto parsed = std::make_shared<Source>();
    parsed->renderer = std::make_unique<QSvgRenderer>(data);
    if (!parsed->renderer->isValid())
        return nullptr;
    // Only the root element's attribute matters; it is always written on the <svg> line.
    const qsizetype rootEnd = data.indexOf('>', data.indexOf("<svg"));
    parsed->stretch = data.left(rootEnd).contains("preserveAspectRatio=\"none\"");
    sources().insert(path, parsed);
    return parsed.get();
}

QPixmap render(const Source &src, QSize size, qreal dpr)
{
    const QSize pixels = (QSizeF(size) * dpr).toSize();
    if (pixels.isEmpty())
        return {};
    QPixmap pm(pixels);
    pm.fill(Qt::transparent);
    QRectF target(QPointF(0, 0), QSizeF(pixels));
    if (!src.stretch) {
        const QSizeF fitted = QSizeF(src.renderer->defaultSize()).scaled(target.size(), Qt::KeepAspectRatio);
        target = QRectF(
            QPointF((pixels.width() - fitted.width()) / 2, (pixels.height() - fitted.height()) / 2), fitted);
    }
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    src.renderer->render(&painter, target);
    painter.end();
    pm.setDevicePixelRatio(dpr);
    return pm;
}

// Renders the picture afresh for every size a widget asks for, so icons stay
// sharp on any screen scale.
class ArtworkIconEngine : public QIconEngine {
public:
    explicit ArtworkIconEngine(QString name) : name_(std::move(name)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, dpr));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        QPixmap pm = Artwork::pixmap(name_, size, scale);
        if (mode == QIcon::Disabled && !pm.isNull()) {
            // A dimmed copy; the cached original stays untouched.
            QPixmap dimmed(pm.size());
            dimmed.setDevicePixelRatio(pm.devicePixelRatio());
            dimmed.fill(Qt::transparent);
            QPainter p(&dimmed);
            p.setOpacity(0.4);
            p.drawPixmap(0, 0, pm);
            return dimmed;
        }
        return pm;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return Artwork::naturalSize(name_).scaled(size, Qt::KeepAspectRatio);
    }

    QIconEngine *clone() const override { return new ArtworkIconEngine(name_); }
    QString key() const override { return QStringLiteral("tonara-artwork"); }
    QString iconName() override { return name_; }

private:
    QString name_;
};

} // namespace

namespace Artwork {

bool exists(const QString &name)
{
    return source(name) != nullptr;
}

QPixmap pixmap(const QString &name, QSize size, qreal devicePixelRatio)
{
    const Source *src = source(name);
    if (!src || devicePixelRatio <= 0)
        return {};
    if (size.isEmpty())
        size = src->renderer->defaultSize();

    QCache<QString, QPixmap> &cache = renderedCache();
    const QString key = QStringLiteral("%1|%2x%3|%4")
                            .arg(resourcePath(name))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (const QPixmap *hit = cache.object(key))
        return *hit;

    QPixmap pm = render(*src, size, devicePixelRatio);
    if (pm.isNull())
        return pm;
    const qsizetype cost = qMax<qsizetype>(1, qsizetype(pm.width()) * pm.height() * 4 / 1024);
    cache.insert(key, new QPixmap(pm), cost);
    return pm;
}

QIcon icon(const QString &name)
{
    if (!exists(name))
        return {};
    return QIcon(new ArtworkIconEngine(name));
}

QSize naturalSize(const QString &name)
{
    const Source *src = source(name);
    return src ? src->renderer->defaultSize() : QSize();
}

} // namespace Artwork

} // namespace tonara
