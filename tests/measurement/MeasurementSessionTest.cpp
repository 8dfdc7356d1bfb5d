#include "measurement/core/MeasurementSession.h"
#include "base/VirtualScheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace tonara {
namespace {

using namespace std::chrono_literals;
using Phase = MeasurementSession::Phase;

// A TRIV series as the screen plays it, in virtual time: waves for a
// reading, its report, the 1-second pause ticks and, on Continue, the next
// reading's waves a little later. Every millisecond the test can ask the
// session what is going on.
class SeriesPlayer {
public:
    VirtualScheduler sched;
    MeasurementSession session;
    int continues = 0;
    int readings = 0;

    SeriesPlayer()
    {
        sched.repeating(1000ms, [this] {
            if (session.tick() == TrivPause::Tick::Continue) {
                ++continues;
                // The device pumps up again; its waves follow after a while.
                sched.singleShot(2500ms, [this] { reading(); });
            }
        });
    }
    // Waves for 30 s, then the report.
    void reading()
    {
        session.waveArrived();
        sched.singleShot(30s, [this] {
            ++readings;
            if (readings < 3)
                session.readingWithMoreToCome();
            else
                session.resultShown();
        });
    }
};

TEST(MeasurementSession, ATrivSeriesRunsFromItsFirstWaveToItsResultPausesIncluded)
{
    SeriesPlayer p;
    EXPECT_EQ(p.session.phase(), Phase::Idle);
    EXPECT_FALSE(p.session.measurementRunning());
    p.reading();
    std::vector<Phase> seen;
    while (!p.session.resultUnsaved() && p.sched.elapsed() < 300s) {
        ASSERT_TRUE(p.session.measurementRunning()) << "idle at " << p.sched.elapsed().count() << " ms";
        if (seen.empty() || seen.back() != p.session.phase())
            seen.push_back(p.session.phase());
        p.sched.advance(1ms);
    }
    EXPECT_EQ(p.readings, 3);
    EXPECT_EQ(p.continues, 2);
    EXPECT_EQ(seen, (std::vector<Phase>{Phase::Measuring, Phase::BetweenReadings, Phase::Measuring,
                                        Phase::BetweenReadings, Phase::Measuring}));
    EXPECT_FALSE(p.session.measurementRunning()) << "a result on show measures nothing";
    EXPECT_FALSE(p.session.pause().go());

    // Saved or dropped: nothing waits any more, and time changes nothing.
    p.session.ended();
    p.sched.advance(60s);
    EXPECT_EQ(p.session.phase(), Phase::Idle);
    EXPECT_EQ(p.continues, 2);
}

TEST(MeasurementSession, ThePauseCountsSixteenTicksThenContinuesOnce)
{
    SeriesPlayer p;
    p.session.readingWithMoreToCome();
    EXPECT_EQ(p.session.pause().count(), TrivPause::kStart);
    p.sched.advance(16s);
    EXPECT_EQ(p.session.pause().count(), 0);
    EXPECT_EQ(p.continues, 0);
    p.sched.advance(1s);
    EXPECT_EQ(p.continues, 1);
    EXPECT_EQ(p.session.phase(), Phase::BetweenReadings) << "running until the next reading's waves";
}

TEST(MeasurementSession, EndingOrHaltingThePauseKeepsTheSeriesFromResuming)
{
    // Ended mid-pause (a call, the background, undocking): idle, and the
    // series never continues.
    {
        SeriesPlayer p;
        p.session.readingWithMoreToCome();
        p.sched.advance(5s);
        p.session.ended();
        EXPECT_FALSE(p.session.measurementRunning());
        p.sched.advance(60s);
        EXPECT_EQ(p.continues, 0);
        EXPECT_EQ(p.session.pause().count(), TrivPause::kIdle);
    }
    // The stop command alone halts the count; the series still counts as
    // running until the screen has ended it.
    {
        SeriesPlayer p;
        p.session.readingWithMoreToCome();
        p.session.haltPause();
        p.sched.advance(60s);
        EXPECT_EQ(p.continues, 0);
        EXPECT_TRUE(p.session.measurementRunning());
    }
}

TEST(MeasurementSession, AResultIsUnsavedUntilEndedAndANewWaveReplacesIt)
{
    MeasurementSession s;
    s.waveArrived();
    s.resultShown();
    EXPECT_TRUE(s.resultUnsaved());
    EXPECT_FALSE(s.measurementRunning());
    s.ended();
    EXPECT_FALSE(s.resultUnsaved());
    s.resultShown();
    s.waveArrived();
    EXPECT_FALSE(s.resultUnsaved());
    EXPECT_TRUE(s.measurementRunning());
}

} // namespace
} // namespace tonara
