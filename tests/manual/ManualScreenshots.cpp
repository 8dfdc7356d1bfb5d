// Pictures of the manual entry for people to look at: each step, the picker,
// a refused number, the result and the WHO legend, on a phone and a tablet.
// Written to $TONARA_SCREENSHOT_DIR (or ./screenshots) as manual_<form>_<view>.png.

#include "ManualFixture.h"

#include <QDir>
#include <QPixmap>

namespace tonara::test {
namespace {

struct Form {
    FormFactor factor;
    const char *name;
};

class ManualScreenshots : public ManualFixture, public ::testing::WithParamInterface<Form> {
protected:
    void SetUp() override
    {
        ManualFixture::SetUp();
        outDir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
        QDir().mkpath(outDir);
        // Rebuilt for the form factor; the fixture's phone-sized one goes.
        delete manual;
        ctx.formFactor = GetParam().factor;
        alerts.setHost(&host);
        alerts.setAnimationsEnabled(false);
        const QSize screen = portraitPoints(ctx.formFactor);
        // The tab's area: the screen less the status bar and, unless hidden, the tab bar.
        withTabBar = QSize(screen.width(), screen.height() - 20 - 49);
        withoutTabBar = QSize(screen.width(), screen.height() - 20);
        host.resize(withTabBar);
        host.setStyleSheet(QStringLiteral("background: #F3F6F9;"));
        manual = new ManualEntryController(ctx, &host);
        QObject::connect(manual, &ManualEntryController::tabBarHiddenRequested, &host,
                         [this](bool hidden) { host.resize(hidden ? withoutTabBar : withTabBar); });
    }

    void shoot(const char *view)
    {
        QCoreApplication::processEvents();
        const QPixmap picture = host.grab();
        ASSERT_FALSE(picture.isNull());
        const QString file = QStringLiteral("%1/manual_%2_%3.png")
                                 .arg(outDir, QLatin1String(GetParam().name), QLatin1String(view));
        ASSERT_TRUE(picture.save(file)) << file.toStdString();
    }

    QString outDir;
    QSize withTabBar;
    QSize withoutTabBar;
};

TEST_P(ManualScreenshots, EveryStepThePickerAndTheResult)
{
    manual->maual_tonara();
    type(manual->step1_4_test(), "128");
    shoot("1_systolic");

    manual->step1_4_test()->clear();
    type(manual->step1_4_test(), "310");
    manual->manual_step1_4()->next->click();
    shoot("1_out_of_range");
    alerts.answer(0);
    manual->step1_4_test()->clear();
    type(manual->step1_4_test(), "128");
    manual->manual_step1_4()->next->click();

    type(manual->step2_4_text(), "84");
    shoot("2_diastolic");
    manual->manual_step2_4()->next->click();

    type(manual->step3_4_test(), "71");
    shoot("3_pulse");
    manual->manual_step3_4()->next->click();

    shoot("4_picker_now");
    pick(2026, 3, 9, 23, 30);
    shoot("4_picker_yesterday");
    manual->manual_step4_4()->next->click();

    manual->setComment(QStringLiteral("After the evening walk"));
    shoot("5_result");
    manual->Manual_whoTouch();
    shoot("6_who_legend");
    manual->WHO_Back_Touch();
    manual->manual_result()->manul_result_cencel->click();
    shoot("7_cancel_confirmation");
    alerts.answer(1);
}

INSTANTIATE_TEST_SUITE_P(Forms, ManualScreenshots,
                         ::testing::Values(Form{FormFactor::Phone480, "phone480"},
                                           Form{FormFactor::Tablet, "tablet"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tonara::test
