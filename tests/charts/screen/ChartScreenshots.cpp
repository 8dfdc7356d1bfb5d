// Pictures of the landscape chart view for people to look at, written to
// $TONARA_SCREENSHOT_DIR (or ./screenshots) as charts/<form>_<page>_<period>.png.

#include "ChartShell.h"
#include "ChartViewFixture.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

const char *periodSuffix(int code)
{
    static const char *names[] = {"", "day", "week", "month", "3months", "year", "all"};
    return names[code];
}

class ChartScreenshots : public ChartViewTest, public ::testing::WithParamInterface<FormFactor> {
protected:
    QString prefix() const
    {
        switch (GetParam()) {
        case FormFactor::Phone480:
            return QStringLiteral("phone480_");
        case FormFactor::Phone568:
            return QStringLiteral("phone568_");
        case FormFactor::Tablet:
            return QStringLiteral("tablet_");
        }
        return {};
    }
    void shot(const QString &name)
    {
        const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots")) +
                            QStringLiteral("/charts");
        QDir().mkpath(dir);
        scheduler.advance(Millis(HorizontalView::kPageTickMillis)); // the page indicator follows
        QApplication::processEvents();
        const QImage image = host.grab().toImage();
        const QString path = dir + QLatin1Char('/') + prefix() + name + QStringLiteral(".png");
        ASSERT_TRUE(image.save(path)) << path.toStdString();
        // A picture of nothing is one colour: the chart must be in it.
        const QRgb middle = image.pixel(image.width() / 2, image.height() / 2);
        bool varied = false;
        for (int y = 0; y < image.height() && !varied; y += 5)
            for (int x = 0; x < image.width() && !varied; x += 5)
                varied = image.pixel(x, y) != middle;
        EXPECT_TRUE(varied) << path.toStdString();
    }
    // Four hundred days of mornings and three readings today.
    void fill()
    {
        for (int i = 0; i < 400; i += 1 + i / 20)
            add(0, daysAgo(i), "08:00:00", 112 + (i * 7) % 48, 72 + (i * 5) % 30, 70);
        for (auto [h, s, d] : {std::tuple{7, 124, 80}, {12, 135, 88}, {19, 142, 92}})
            add(0, daysAgo(0), QStringLiteral("%1:15:00").arg(h, 2, 10, QLatin1Char('0')).toStdString(), s, d,
                70);
    }
};

TEST_P(ChartScreenshots, BothPagesOfEveryPeriodTheLegendAndTheNoDataPanel)
{
    fill();
    open(GetParam());
    for (int code = 1; code <= 6; ++code) {
        view->scrollToPage(0);
        tap(QStringLiteral("buttonArray_%1").arg(code));
        shot(QStringLiteral("trend_%1").arg(periodSuffix(code)));
        view->scrollToPage(1);
        tap(QStringLiteral("buttonArray2_%1").arg(code));
        shot(QStringLiteral("who_%1").arg(periodSuffix(code)));
    }
    tap("i_button_touch");
    scheduler.advance(Millis(HorizontalView::kFlipMillis));
    ASSERT_NE(view->whoList(), nullptr);
    shot(QStringLiteral("legend"));
    view->whoList()->backButton->click();

    // Nothing today: the panel over each page, the old charts behind it.
    clock.set({2014, 6, 16, 0, 5, 0});
    view->scrollToPage(0);
    tap("buttonArray_1");
    shot(QStringLiteral("trend_nodata"));
    view->scrollToPage(1);
    tap("buttonArray2_1");
    shot(QStringLiteral("who_nodata"));
}

INSTANTIATE_TEST_SUITE_P(FormFactors, ChartScreenshots,
                         ::testing::Values(FormFactor::Phone480, FormFactor::Phone568, FormFactor::Tablet));

// The composer of the chart mail over the chart, in the whole application.
TEST_P(ChartScreenshots, TheComposerOverTheChart)
{
    ShellHarness::Setup setup = ShellHarness::on(GetParam());
    setup.seed = seedAnnasWeek;
    ShellHarness h(setup);
    ASSERT_NE(turnToTheChart(h), nullptr);
    MailComposer *composer = openComposer(h);
    ASSERT_NE(composer, nullptr);
    h.app().window()->adjustSize();
    ShellHarness::settle();
    const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots")) +
                        QStringLiteral("/charts");
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + prefix() + QStringLiteral("composer.png");
    EXPECT_TRUE(h.app().window()->grab().save(path)) << path.toStdString();
    // The composer lists its attachment by name; the picture itself, as it goes out.
    composer->save();
    QFile attached(dir + QLatin1Char('/') + prefix() + QStringLiteral("composer_view.png"));
    ASSERT_TRUE(attached.open(QIODevice::WriteOnly));
    attached.write(readDraft(composer->lastDraft()).attachment);
}

} // namespace
} // namespace tonara::test
