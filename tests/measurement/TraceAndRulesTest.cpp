// The pure pieces under the measurement tab: the trace buffer and its
// drawing, the battery picture, the TRIV pause and the error table.

#include "measurement/BatteryGauge.h"
#include "measurement/DeviceErrorTable.h"
#include "measurement/Oscilloscope.h"
#include "measurement/SignalBuffer.h"
#include "measurement/core/TrivPause.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using namespace tonara;

TEST(TraceBuffer, KeepsAtMostItsCapacityDroppingTheOldest)
{
    Oscilloscope trace(QRect(0, 0, 280, 80));
    EXPECT_EQ(trace.BufferSize(), 280u);
    for (int i = 0; i < 280; ++i)
        trace.addSignalData(float(i));
    EXPECT_EQ(trace.signal().size(), 280u);
    EXPECT_EQ(trace.signal().oldest(0), 0.0f);

    trace.addSignalData(280.0f);
    EXPECT_EQ(trace.signal().size(), 280u);
    EXPECT_EQ(trace.signal().oldest(0), 1.0f) << "the 281st sample pushes out the first";
    EXPECT_EQ(trace.signal().newest(0), 280.0f);

    for (int i = 0; i < 1000; ++i)
        trace.addSignalData(float(1000 + i));
    EXPECT_EQ(trace.signal().size(), 280u);
    EXPECT_EQ(trace.signal().newest(0), 1999.0f);
    EXPECT_EQ(trace.signal().oldest(0), 1720.0f);
}

TEST(TraceBuffer, NewBufferSizeStartsEmpty)
{
    Oscilloscope trace(QRect(0, 0, 100, 40));
    for (int i = 0; i < 50; ++i)
        trace.addSignalData(float(i));
    trace.initSignalBufferSize(10);
    EXPECT_EQ(trace.BufferSize(), 10u);
    EXPECT_TRUE(trace.signal().empty());
    for (int i = 0; i < 15; ++i)
        trace.addSignalData(float(i));
    EXPECT_EQ(trace.signal().size(), 10u);
    EXPECT_EQ(trace.signal().oldest(0), 5.0f);
}

TEST(TraceDrawing, NewestAtTheRightEdgeScaledAboutTheMovedCentreLine)
{
    Oscilloscope trace(QRect(0, 0, 200, 60));
    EXPECT_TRUE(trace.tracePolyline().isEmpty()) << "nothing to draw without samples";
    trace.setReference(-1);
    trace.setMultiple(-1);
    trace.addSignalData(10);
    trace.addSignalData(-4);
    const QPolygonF line = trace.tracePolyline();
    ASSERT_EQ(line.size(), 2);
    // Newest (-4) at x = W; Multiple -1 draws larger samples lower.
    EXPECT_DOUBLE_EQ(line[0].x(), 200.0);
    EXPECT_DOUBLE_EQ(line[0].y(), -1 + 30 - (-4) * -1.0);
    EXPECT_DOUBLE_EQ(line[1].x(), 199.0);
    EXPECT_DOUBLE_EQ(line[1].y(), -1 + 30 - 10 * -1.0);
}

TEST(TraceDrawing, ResolutionTwoPutsTheOlderHalfOfAFullBufferOutsideTheView)
{
    Oscilloscope trace(QRect(0, 0, 120, 40));
    trace.setResolution(2);
    for (unsigned i = 0; i < trace.BufferSize(); ++i)
        trace.addSignalData(0);
    const QPolygonF line = trace.tracePolyline();
    ASSERT_EQ(line.size(), 120);
    int inside = 0;
    for (const QPointF &p : line)
        inside += p.x() >= 0 ? 1 : 0;
    EXPECT_EQ(inside, 61) << "x = 120, 118, ..., 0";
    EXPECT_DOUBLE_EQ(line.back().x(), 120.0 - 2 * 119);
}

namespace {

void styleLikeTheScreen(Oscilloscope &trace)
{
    QPalette pal = trace.palette();
    pal.setColor(QPalette::Window, QColor(0x33, 0x3F, 0x4C));
    trace.setPalette(pal);
    trace.setLineColor(QColor(0x3D, 0xDC, 0x84));
    trace.setLineWidth(2);
    trace.setMultiple(-1);
    trace.setReference(-1);
}

float wave(int i)
{
    return float(int(28 * std::sin(i * 0.21)) + (i % 17 == 0 ? 9 : 0));
}

// Pixels of a and b that differ noticeably in any channel.
int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 60 || std::abs(qGreen(p) - qGreen(q)) > 60 ||
                std::abs(qBlue(p) - qBlue(q)) > 60)
                ++n;
        }
    return n;
}

} // namespace

TEST(TraceDrawing, ScrollingTheLineMatchesDrawingItWhole)
{
    // Painted after every few samples, as the live screen does...
    Oscilloscope live(QRect(0, 0, 280, 80));
    styleLikeTheScreen(live);
    for (int i = 0; i < 700; ++i) {
        live.addSignalData(wave(i));
        if (i % 3 == 0 || i > 690)
            live.grab();
    }
    const QImage scrolled = live.grab().toImage();
    EXPECT_LE(live.fullRedraws(), 2) << "the line scrolls rather than being redrawn";

    // ... it shows what one drawing of the whole buffer shows.
    Oscilloscope whole(QRect(0, 0, 280, 80));
    styleLikeTheScreen(whole);
    for (int i = 0; i < 700; ++i)
        whole.addSignalData(wave(i));
    const QImage drawn = whole.grab().toImage();
    ASSERT_EQ(scrolled.size(), drawn.size());
    // Only antialiased edge pixels may differ where segments were joined.
    EXPECT_LT(differingPixels(scrolled, drawn), 280 * 80 / 100);

    // A change of scale redraws the whole line.
    const int before = live.fullRedraws();
    live.setMultiple(-2);
    live.grab();
    EXPECT_EQ(live.fullRedraws(), before + 1);
}

TEST(BatteryPicture, QuarterBoundsAndOutOfRange)
{
    EXPECT_EQ(BatteryGauge::pictureFor(0), "Battery_04.png");
    EXPECT_EQ(BatteryGauge::pictureFor(25), "Battery_04.png");
    EXPECT_EQ(BatteryGauge::pictureFor(26), "Battery_03.png");
    EXPECT_EQ(BatteryGauge::pictureFor(50), "Battery_03.png");
    EXPECT_EQ(BatteryGauge::pictureFor(51), "Battery_02.png");
    EXPECT_EQ(BatteryGauge::pictureFor(75), "Battery_02.png");
    EXPECT_EQ(BatteryGauge::pictureFor(76), "Battery_01.png");
    EXPECT_EQ(BatteryGauge::pictureFor(100), "Battery_01.png");
    EXPECT_EQ(BatteryGauge::pictureFor(101), "");
    EXPECT_EQ(BatteryGauge::pictureFor(-1), "");
    EXPECT_TRUE(BatteryGauge::isLow(10));
    EXPECT_FALSE(BatteryGauge::isLow(11));
}

TEST(TrivPauseCounter, CountsFifteenDownToZeroThenContinuesOnTheSeventeenthTick)
{
    TrivPause pause;
    EXPECT_EQ(pause.tick(), TrivPause::Tick::Nothing) << "idle at 17";
    pause.setGo(true);
    EXPECT_EQ(pause.tick(), TrivPause::Tick::Nothing) << "17 is idle even when allowed";
    pause.begin();
    std::vector<int> shown;
    int ticks = 0;
    TrivPause::Tick t;
    while ((t = pause.tick()) == TrivPause::Tick::Counted) {
        shown.push_back(pause.count());
        ++ticks;
    }
    EXPECT_EQ(t, TrivPause::Tick::Continue);
    EXPECT_EQ(ticks + 1, 17);
    ASSERT_EQ(shown.size(), 16u);
    EXPECT_EQ(shown.front(), 15);
    EXPECT_EQ(shown.back(), 0);
    EXPECT_EQ(pause.count(), TrivPause::kIdle);
}

TEST(TrivPauseCounter, StopsWhenNotAllowed)
{
    TrivPause pause;
    pause.begin();
    EXPECT_EQ(pause.tick(), TrivPause::Tick::Nothing) << "not counting until allowed";
    pause.setGo(true);
    EXPECT_EQ(pause.tick(), TrivPause::Tick::Counted);
    pause.setGo(false);
    EXPECT_EQ(pause.tick(), TrivPause::Tick::Nothing);
    EXPECT_EQ(pause.count(), 15);
}

TEST(DeviceErrors, CodesWithAlertsAndSilentCodes)
{
    for (int code : {1, 2, 3, 5, 6, 7, 11})
        EXPECT_NE(DeviceErrorTable::find(code), nullptr) << code;
    for (int code : {0, 4, 8, 9, 10, 12, 13, 14, 15, -1, 16})
        EXPECT_EQ(DeviceErrorTable::find(code), nullptr) << code;
    EXPECT_STREQ(DeviceErrorTable::find(2)->title, "Arm movement");
    EXPECT_STREQ(DeviceErrorTable::find(11)->message, DeviceErrorTable::kStoppedMessage);
    // The stop-button wording breaks the line one word earlier.
    EXPECT_STRNE(DeviceErrorTable::kStoppedMessage, DeviceErrorTable::kStoppedByButtonMessage);
}
