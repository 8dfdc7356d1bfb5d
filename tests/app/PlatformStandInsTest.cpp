#include "app/QtLogRouter.h"
#include "base/Log.h"
#include "platform/AppLifecycle.h"
#include "platform/CallCenter.h"
#include "platform/DeviceFrame.h"
#include "platform/ScreenLockInhibitor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSignalSpy>

namespace tonara {
namespace {

TEST(ScreenLock, OneInhibitionHeldUntilReleased)
{
    ScreenLockInhibitor lock;
    QSignalSpy changes(&lock, &ScreenLockInhibitor::inhibitedChanged);
    lock.inhibit();
    lock.inhibit();
    EXPECT_TRUE(lock.isInhibited());
    EXPECT_EQ(changes.count(), 1);
    lock.release();
    lock.release();
    EXPECT_FALSE(lock.isInhibited());
    ASSERT_EQ(changes.count(), 2);
    EXPECT_FALSE(changes.at(1).at(0).toBool());
    // Again after a release, with whatever bus answers in between.
    lock.inhibit();
    QCoreApplication::processEvents();
    EXPECT_TRUE(lock.isInhibited());
}

TEST(Calls, TheSimulatedCallIsAnnouncedAndModemWatchingIsHarmless)
{
    CallCenter calls;
    QSignalSpy incoming(&calls, &CallCenter::incomingCall);
    calls.watchSystemModems(); // with or without a system bus
    calls.watchSystemModems();
    calls.simulateIncomingCall();
    EXPECT_EQ(incoming.count(), 1);
}

TEST(Lifecycle, BackgroundAndForegroundAreAnnouncedOnce)
{
    AppLifecycle life;
    QSignalSpy back(&life, &AppLifecycle::didEnterBackground);
    QSignalSpy front(&life, &AppLifecycle::willEnterForeground);
    life.enterForeground(); // already in front
    life.enterBackground();
    life.enterBackground();
    life.enterForeground();
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(front.count(), 1);
}

TEST(Lifecycle, ATaskLeftOpenExpires)
{
    AppLifecycle life;
    life.setBackgroundTaskLimitMs(10);
    int expired = 0;
    const AppLifecycle::TaskId kept = life.beginBackgroundTask([&] { ++expired; });
    const AppLifecycle::TaskId ended = life.beginBackgroundTask([&] { expired += 100; });
    ASSERT_NE(kept, AppLifecycle::kInvalidTask);
    ASSERT_NE(kept, ended);
    life.endBackgroundTask(ended);
    QElapsedTimer t;
    t.start();
    while (life.openTaskCount() > 0 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(expired, 1);
    life.setBackgroundTasksAvailable(false);
    EXPECT_EQ(life.beginBackgroundTask(), AppLifecycle::kInvalidTask);
}

TEST(DeviceFrameTurning, TheDisplayTurnsOnlyWhereThePolicyAllows)
{
    DeviceFrame frame(FormFactor::Phone568);
    EXPECT_EQ(frame.displayPoints(), QSize(320, 568));
    OrientationMask allowed = kPortraitOnly;
    frame.setOrientationPolicy([&](Orientation) { return allowed; });
    frame.turnLeft();
    EXPECT_EQ(frame.interfaceOrientation(), Orientation::Portrait);
    EXPECT_EQ(frame.deviceOrientation(), Orientation::Portrait) << "the desktop device snaps back";
    allowed = kAllOrientations;
    const QSize portraitFrame = frame.size();
    frame.turnLeft();
    EXPECT_EQ(frame.interfaceOrientation(), Orientation::LandscapeLeft);
    EXPECT_EQ(frame.displayPoints(), QSize(568, 320));
    EXPECT_EQ(frame.size(), portraitFrame.transposed()) << "the whole device lies on its side";
    frame.turnRight();
    EXPECT_EQ(frame.interfaceOrientation(), Orientation::Portrait);
}

TEST(LogRouting, LayerLinesLandInTheirQtCategory)
{
    static QStringList seen;
    seen.clear();
    QtLogRouter::install();
    QLoggingCategory::setFilterRules(QStringLiteral("tonara.*.info=true"));
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
            seen << QString::fromLatin1(context.category) + QLatin1Char('|') + message;
        });
    Log::write("device", "send command frame");
    Log::write("storage", "Db error no such table");
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("tonara.*.info=false"));
    Log::setSink({});
    EXPECT_EQ(seen,
              (QStringList{"tonara.device|send command frame", "tonara.storage|Db error no such table"}));
    EXPECT_EQ(&QtLogRouter::category("device"), &QtLogRouter::category("device"));
}

} // namespace
} // namespace tonara
