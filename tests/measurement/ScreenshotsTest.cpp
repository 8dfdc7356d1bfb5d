// Pictures of every panel and alert of the measurement tab, phone and
// tablet, for people to look at. Run with the "screenshots" label; they land
// in $TONARA_SCREENSHOT_DIR (default: screenshots/ in the working folder).

#include "ScreenRig.h"

#include "measurement/CommentEditor.h"
#include "measurement/CommentView.h"
#include "measurement/WhoLegendView.h"

#include <QDir>
#include <QImage>

#include <set>

using namespace tonara;
using namespace screentest;

namespace {

class Shooter {
public:
    Shooter(ScreenRig &rig, const QString &form) : rig_(rig), form_(form)
    {
        dir_ = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
        QDir().mkpath(dir_);
        // The phone frame the shell gives: the tab's area, alerts over it.
        frame_.resize(rig.screen->size());
        rig.screen->setParent(&frame_);
        rig.screen->move(0, 0);
        rig.alerts.setAnimationsEnabled(false);
        rig.alerts.setHost(&frame_);
        frame_.show();
        rig.screen->show();
    }

    ~Shooter()
    {
        // The rig owns the screen; the frame must not take it along.
        rig_.alerts.setHost(nullptr);
        rig_.screen->setParent(nullptr);
    }

    void shot(const QString &name)
    {
        QApplication::processEvents();
        const QImage image = frame_.grab().toImage();
        const QString path =
            dir_ + QLatin1Char('/') + form_ + QLatin1Char('_') + name + QStringLiteral(".png");
        ASSERT_TRUE(image.save(path)) << path.toStdString();
        // A blank picture means a panel that drew nothing.
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 4u) << name.toStdString();
        ++count;
    }

    // Each waiting alert pictured, then answered.
    void shootAlerts(const QString &prefix)
    {
        int i = 0;
        while (rig_.alerts.hasAlert()) {
            shot(prefix + (i ? QStringLiteral("_%1").arg(i + 1) : QString()));
            rig_.alerts.answer(0);
            ++i;
        }
    }

    int count = 0;

private:
    ScreenRig &rig_;
    QString form_;
    QString dir_;
    QWidget frame_;
};

void shootEverything(FormFactor form, const QString &formName)
{
    ScreenRig rig(form);
    Shooter s(rig, formName);
    rig.sim.setPatient({138, 88, 72, true});

    s.shot("mode_choice");

    rig.sim.undock();
    rig.settle(100ms);
    rig.screen->one_tonara();
    s.shot("not_connected");
    rig.sim.dock();
    ASSERT_TRUE(rig.until([&] { return rig.screen->device_yes_no() == 1; }, 5s));

    for (int page = 0; page < InstructionPages::kPages; ++page) {
        rig.screen->instructionPages()->pageTurn(page);
        s.shot(QStringLiteral("instructions_%1").arg(page + 1));
    }

    // Real time for the live pictures, so the trace shows a few beats.
    rig.sim.setSpeed(1);
    const int reports = rig.singleReports;
    rig.screen->go_measuring();
    ASSERT_TRUE(rig.untilMeasuring());
    rig.until([&] { return rig.sim.phase() == TonaraSimulator::Phase::Deflating; });
    rig.settle(5200ms);
    s.shot("single_live");
    ASSERT_TRUE(rig.untilSingleResult(reports));
    s.shot("single_result");

    rig.screen->singleResultPanel()->WHO_bt->click();
    s.shot("who_legend");
    rig.screen->whoLegendView()->whoscrollView->setZoomScale(2.5);
    s.shot("who_legend_zoomed");
    rig.screen->WHO_Back_Touch();

    rig.sim.setPatient({164, 102, 80, false});
    rig.start(true);
    rig.until([&] { return rig.sim.phase() == TonaraSimulator::Phase::Deflating; });
    rig.settle(5200ms);
    s.shot("triv_live");
    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
    for (int i = 0; i < 4; ++i)
        rig.nextTick();
    s.shot("triv_countdown");
    ASSERT_TRUE(rig.untilTrivResult());
    s.shot("triv_result");

    // The comment editor over the result, the comment back on it, and the
    // saved indicator over the start view.
    rig.screen->add_comments();
    rig.screen->add_comments_view()->add_comments_text_view->insertPlainText(
        QString::fromUtf8("After the morning walk, coffee at 8 \xE2\x98\x95 \xE2\x80\x94 a little tired"));
    s.shot("comment_view");
    rig.screen->comments_save();
    s.shot("triv_result_commented");
    rig.screen->trivResultPanel()->triv3_result_save->click();
    s.shot("saved");
    rig.sim.setSpeed(25);

    // Every device error as the person sees it.
    for (int code : {1, 2, 3, 5, 6, 7, 11, 12}) {
        rig.sim.injectError(code);
        rig.start(false);
        ASSERT_TRUE(rig.untilSingleResult());
        s.shootAlerts(QStringLiteral("error_%1").arg(code, 2, 10, QLatin1Char('0')));
    }
    rig.sim.injectError(6);
    rig.start(true);
    ASSERT_TRUE(rig.until([&] { return rig.alerts.hasAlert(); }));
    s.shootAlerts(QStringLiteral("triv_error"));

    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.screen->measurement_stop();
    s.shootAlerts(QStringLiteral("stopped"));

    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.calls.simulateIncomingCall();
    QApplication::processEvents();
    s.shootAlerts(QStringLiteral("phone_call"));

    rig.setBattery(7);
    rig.screen->one_tonara();
    s.shootAlerts(QStringLiteral("battery_too_low"));
    rig.setBattery(90, false, true);
    rig.screen->one_tonara();
    rig.screen->go_measuring();
    ASSERT_TRUE(rig.untilSingleResult());
    s.shootAlerts(QStringLiteral("battery_malfunction"));

    rig.screen->measurement_canael();
    s.shootAlerts(QStringLiteral("abort_reading"));

    EXPECT_GE(s.count, 28);
}

} // namespace

TEST(Screenshots, Phone480)
{
    shootEverything(FormFactor::Phone480, QStringLiteral("phone480"));
}

TEST(Screenshots, Tablet)
{
    shootEverything(FormFactor::Tablet, QStringLiteral("tablet"));
}

TEST(Screenshots, Phone568)
{
    shootEverything(FormFactor::Phone568, QStringLiteral("phone568"));
}
