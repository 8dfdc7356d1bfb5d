#include "platform/Artwork.h"

#include "platform/QtTestApp.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace tonara {
namespace {

struct Listed {
    QString name;
    QSize size;
    bool fills = false;
};

// The picture table of the artwork folder's README is the list the screens rely
// on; reading it keeps the test and the documentation from drifting apart.
QList<Listed> listedPictures()
{
    const auto readme = std::filesystem::path(TONARA_SOURCE_DIR) / "resources/artwork/README.md";
    QFile file(QString::fromStdString(readme.string()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression row(
        QStringLiteral(R"(^\| `([^`]+\.(?:png|jpg))` \|[^|]*\| (\d+) × (\d+) \|([^|]*)\|)"));
    QList<Listed> out;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const auto m = row.match(line);
        if (m.hasMatch())
            out.append({m.captured(1), QSize(m.captured(2).toInt(), m.captured(3).toInt()),
                        m.captured(4).contains(QLatin1String("fills"))});
    }
    return out;
}

QImage imageOf(const QPixmap &pm)
{
    return pm.toImage().convertToFormat(QImage::Format_ARGB32);
}

int countPixels(const QImage &img, const std::function<bool(QRgb)> &pred)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pred(img.pixel(x, y)) ? 1 : 0;
    return n;
}

int countColour(const QImage &img, QColor c)
{
    return countPixels(img,
                       [c](QRgb p) { return qAlpha(p) == 255 && (p & 0xFFFFFF) == (c.rgb() & 0xFFFFFF); });
}

class ArtworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::qtApp(); }
};

TEST_F(ArtworkTest, EveryListedPictureExistsHasItsSizeAndDraws)
{
    const QList<Listed> listed = listedPictures();
    ASSERT_GE(listed.size(), 50) << "the picture table could not be read";
    for (const Listed &pic : listed) {
        SCOPED_TRACE(pic.name.toStdString());
        ASSERT_TRUE(Artwork::exists(pic.name));
        EXPECT_EQ(Artwork::naturalSize(pic.name), pic.size);

        const QPixmap pm = Artwork::pixmap(pic.name, pic.size);
        ASSERT_FALSE(pm.isNull());
        EXPECT_EQ(pm.size(), pic.size);
        const QImage img = imageOf(pm);
        const int visible = countPixels(img, [](QRgb p) { return qAlpha(p) > 0; });
        EXPECT_GT(visible, img.width() * img.height() / 10) << "almost nothing drawn";
        // Drawn twice as wide: backgrounds stretch to the edges, icons stay centred.
        const QImage wide =
            imageOf(Artwork::pixmap(pic.name, QSize(pic.size.width() * 2, pic.size.height())));
        const auto columnDrawn = [&wide](int x) {
            for (int y = 0; y < wide.height(); ++y)
                if (qAlpha(wide.pixel(x, y)) > 0)
                    return true;
            return false;
        };
        if (pic.fills) {
            EXPECT_TRUE(columnDrawn(wide.width() / 50));
            EXPECT_TRUE(columnDrawn(wide.width() - 1 - wide.width() / 50));
        } else {
            for (int x = 0; x < wide.width() / 5; ++x)
                ASSERT_FALSE(columnDrawn(x)) << "stretched, column " << x;
        }
        // A stand-in for a JPEG must cover its whole rectangle: a JPEG has no transparency.
        if (pic.name.endsWith(QLatin1String(".jpg"))) {
            EXPECT_EQ(countPixels(img, [](QRgb p) { return qAlpha(p) < 250; }), 0) << "has holes";
        }
    }
}

TEST_F(ArtworkTest, FolderAndTableAgree)
{
    QStringList listed;
    for (const Listed &pic : listedPictures())
        listed << pic.name.chopped(4);
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(listed.size(), QSet<QString>(listed.begin(), listed.end()).size()) << "a name is listed twice";
    for (const QString &file : QDir(QStringLiteral(":/artwork")).entryList({QStringLiteral("*.svg")}))
        EXPECT_TRUE(listed.contains(file.chopped(4))) << file.toStdString() << " is not in the table";
}

TEST_F(ArtworkTest, NamesResolveWhateverTheirOldExtension)
{
    const QSize natural = Artwork::naturalSize(QStringLiteral("Battery_01.png"));
    ASSERT_TRUE(natural.isValid());
    for (const char *alias : {"Battery_01", "Battery_01.jpg", "Battery_01.PNG", "Battery_01.svg"}) {
        SCOPED_TRACE(alias);
        EXPECT_TRUE(Artwork::exists(QString::fromLatin1(alias)));
        EXPECT_EQ(Artwork::naturalSize(QString::fromLatin1(alias)), natural);
    }
}

TEST_F(ArtworkTest, UnknownAndUnsafeNamesGiveNothing)
{
    for (const char *name :
         {"", ".png", "no_such_picture.png", "../CMakeLists.txt", "../artwork/Battery_01.png",
          "/artwork/Battery_01.png", ":/artwork/Battery_01.svg", "artwork\\Battery_01.png", "README.md"}) {
        SCOPED_TRACE(name);
        const QString n = QString::fromLatin1(name);
        EXPECT_FALSE(Artwork::exists(n));
        EXPECT_TRUE(Artwork::pixmap(n).isNull());
        EXPECT_TRUE(Artwork::pixmap(n, QSize(20, 20), 2.0).isNull());
        EXPECT_TRUE(Artwork::icon(n).isNull());
        EXPECT_FALSE(Artwork::naturalSize(n).isValid());
    }
}

TEST_F(ArtworkTest, RendersAtTheScreenScaleAndSizeAsked)
{
    const QString name = QStringLiteral("Tab_Bar_icon_cronometer_30x30.png");
    const QPixmap natural = Artwork::pixmap(name);
    EXPECT_EQ(natural.size(), QSize(30, 30));

    const QPixmap sharp = Artwork::pixmap(name, QSize(30, 30), 2.0);
    EXPECT_EQ(sharp.size(), QSize(60, 60)) << "device pixels";
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_TRUE(Artwork::pixmap(name, QSize(30, 30), 0.0).isNull());
    EXPECT_TRUE(Artwork::pixmap(name, QSize(30, 30), -1.0).isNull());

    // Same request, same cached pixmap; another scale is drawn separately.
    EXPECT_EQ(Artwork::pixmap(name, QSize(30, 30), 2.0).cacheKey(), sharp.cacheKey());
    EXPECT_NE(Artwork::pixmap(name, QSize(30, 30), 3.0).cacheKey(), sharp.cacheKey());
    EXPECT_EQ(Artwork::pixmap(QStringLiteral("Tab_Bar_icon_cronometer_30x30"), QSize(30, 30), 2.0).cacheKey(),
              sharp.cacheKey());
}

TEST_F(ArtworkTest, IconsKeepTheirShapeAndBackgroundsFill)
{
    // A square icon in a wide box stays square and centred: the side strips stay clear.
    const QImage icon = imageOf(Artwork::pixmap(QStringLiteral("3-1-1_20.png"), QSize(90, 30)));
    ASSERT_EQ(icon.size(), QSize(90, 30));
    const auto clearColumns = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 0; y < icon.height(); ++y)
                if (qAlpha(icon.pixel(x, y)) != 0)
                    return false;
        return true;
    };
    EXPECT_TRUE(clearColumns(0, 30));
    EXPECT_TRUE(clearColumns(60, 90));
    EXPECT_FALSE(clearColumns(30, 60));

    // A screen background is sized to the screen, whatever its proportions.
    const QImage bk = imageOf(Artwork::pixmap(QStringLiteral("index_bk_2.jpg"), QSize(768, 1024)));
    EXPECT_EQ(countPixels(bk, [](QRgb p) { return qAlpha(p) < 250; }), 0);
    const QImage tabBar = imageOf(Artwork::pixmap(QStringLiteral("Tab_Bar_background.png"), QSize(768, 49)));
    EXPECT_EQ(countPixels(tabBar, [](QRgb p) { return qAlpha(p) < 250; }), 0);
}

TEST_F(ArtworkTest, QIconDrawsAtAnyRequestedSize)
{
    const QIcon icon = Artwork::icon(QStringLiteral("3-1-1_26.png"));
    ASSERT_FALSE(icon.isNull());
    const QPixmap small = icon.pixmap(QSize(24, 24));
    const QPixmap large = icon.pixmap(QSize(96, 96));
    ASSERT_FALSE(small.isNull());
    ASSERT_FALSE(large.isNull());
    EXPECT_EQ(large.size(), QSize(96, 96));
    EXPECT_GT(countPixels(imageOf(large), [](QRgb p) { return qAlpha(p) > 0; }), 96 * 96 / 10);
    EXPECT_FALSE(icon.pixmap(QSize(30, 30), QIcon::Disabled).isNull());
}

// The class colours are the application's colours for the six WHO classes; the
// face, the legend rows and the distribution bars must agree on them.
TEST_F(ArtworkTest, WhoIconsAndLegendsCarryTheClassColours)
{
    const QColor classColour[6] = {QColor(140, 213, 0),   QColor(20, 202, 67),  QColor(254, 227, 0),
                                   QColor(255, 140, 100), QColor(254, 116, 20), QColor(254, 20, 20)};
    const QImage landscape = imageOf(Artwork::pixmap(QStringLiteral("TonaraDock_4-3.png")));
    const QImage upright = imageOf(Artwork::pixmap(QStringLiteral("TonaraDock_3-4.png")));
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k + 1);
        const QString name = QStringLiteral("icon_who_color%1.png").arg(k + 1, 2, 10, QLatin1Char('0'));
        const QImage face = imageOf(Artwork::pixmap(name));
        // The face is mostly its class colour, and no other class's colour.
        EXPECT_GT(countColour(face, classColour[k]), face.width() * face.height() / 3);
        for (int other = 0; other < 6; ++other)
            if (other != k) {
                EXPECT_LT(countColour(face, classColour[other]), 4) << "colour of class " << other + 1;
            }
        EXPECT_GT(countColour(landscape, classColour[k]), 100);
        EXPECT_GT(countColour(upright, classColour[k]), 100);
    }
}

TEST_F(ArtworkTest, BatteryPicturesShowFallingCharge)
{
    const auto charge = [](const char *name) {
        const QImage img = imageOf(Artwork::pixmap(QString::fromLatin1(name), {}, 4.0));
        return countPixels(img, [](QRgb p) { return qAlpha(p) == 255 && QColor(p).hsvSaturation() > 150; });
    };
    const int full = charge("Battery_01.png"), threeQuarters = charge("Battery_02.png"),
              half = charge("Battery_03.png"), low = charge("Battery_04.png");
    EXPECT_GT(full, threeQuarters);
    EXPECT_GT(threeQuarters, half);
    EXPECT_GT(half, low);
    EXPECT_GT(low, 0);
}

} // namespace
} // namespace tonara
