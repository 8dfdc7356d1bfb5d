// Pictures of the home-monitoring week on the measurement tab, phone 480 and
// tablet, into $TONARA_SCREENSHOT_DIR (default: screenshots/).

#include "WeekRig.h"

#include <QDir>

using namespace tonara;
using namespace screentest;

namespace {

void shot(WeekRig &r, const QString &form, const QString &name)
{
    const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    QApplication::processEvents();
    const QImage image = r.rig.screen->grab().toImage();
    const QString path =
        dir + QLatin1Char('/') + form + QStringLiteral("_home_week_") + name + QStringLiteral(".png");
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

void shootWeek(FormFactor form, const QString &formName)
{
    WeekRig r(form);
    shot(r, formName, QStringLiteral("none"));
    r.week->card()->click();
    shot(r, formName, QStringLiteral("start"));
    r.week->home_week_start_standard->click();

    // Days 1 to 3 measured (day 2's evening only half, day 3's morning one
    // TRIV reading), and now the morning of day 4 with one reading in.
    r.measure(1, 7, 2, 131, 83);
    r.measure(1, 20, 2, 136, 85);
    r.measure(2, 7, 2, 134, 86);
    r.measure(2, 21, 1, 139, 87);
    r.measure(3, 6, 1, 133, 84, true);
    r.measure(3, 19, 2, 137, 88);
    r.measure(4, 7, 1, 135, 86);
    r.week->closePanel();
    shot(r, formName, QStringLiteral("card"));
    r.week->openPanel();
    shot(r, formName, QStringLiteral("progress"));

    r.measure(4, 7, 1, 140, 88);
    for (int day = 4; day <= 7; ++day) {
        if (day > 4)
            r.measure(day, 8, 2, 141, 87);
        r.measure(day, 20, 2, 139, 86);
    }
    r.at(8, 9);
    r.rig.settle(std::chrono::seconds(61));
    shot(r, formName, QStringLiteral("result"));
    r.week->closePanel();
    shot(r, formName, QStringLiteral("result_card"));
}

TEST(Screenshots, HomeWeek)
{
    shootWeek(FormFactor::Phone480, QStringLiteral("phone480"));
    shootWeek(FormFactor::Tablet, QStringLiteral("tablet"));
}

} // namespace
