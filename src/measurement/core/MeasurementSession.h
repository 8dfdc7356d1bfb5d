#pragma once

#include "measurement/core/TrivPause.h"

namespace tonara {

// What the measurement tab is in the middle of, in the terms every
// interruption asks about. The screen tells it what happens; the phone-call
// handler, the background step, undocking and the device's start requests
// ask it instead of working it out from the screen's flags.
//
// A TRIV series runs from its first wave to its last report: between its
// readings (the pause, and the moment after it until the next reading's
// waves) nothing arrives from the device, yet the cuff is about to inflate
// again. A result is unsaved from its report until it is saved or dropped.
class MeasurementSession {
public:
    enum class Phase {
        Idle,
        Measuring,       // wave frames are arriving
        BetweenReadings, // a TRIV series waits for its next reading
        ResultUnsaved,   // a result is on show, not yet saved or dropped
    };

    Phase phase() const { return phase_; }
    // The cuff inflates, or will again without anyone asking.
    bool measurementRunning() const { return phase_ == Phase::Measuring || phase_ == Phase::BetweenReadings; }
    bool resultUnsaved() const { return phase_ == Phase::ResultUnsaved; }
    const TrivPause &pause() const { return pause_; }

    void waveArrived();
    // A TRIV reading with more to come: the pause begins.
    void readingWithMoreToCome();
    // A result with values is on show (the single one, or the series' averages).
    void resultShown();
    // Stopped, failed, saved, dropped or abandoned: nothing runs, nothing waits.
    void ended();
    // The stop command went out; the pause must not resume the series.
    void haltPause() { pause_.setGo(false); }

    // The 1-second tick of the pause. Continue means: ask the device for the
    // next reading (the series is still running until its waves arrive).
    TrivPause::Tick tick() { return pause_.tick(); }

private:
    Phase phase_ = Phase::Idle;
    TrivPause pause_;
};

} // namespace tonara
