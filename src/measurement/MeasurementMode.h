#pragma once

namespace tonara {

// Values the measurement, manual entry and saving screens share for the
// whole run.
struct MeasurementMode {
    static constexpr int kSingle = 0;
    static constexpr int kTriv = 1;
    static constexpr int kManual = 2;

    // The current mode: kSingle, kTriv or kManual.
    static inline int measure_mode = kSingle;
    // 1 for good once the person has chosen single or TRIV mode.
    static inline int mode_chosen = 0;

    // Back to the start of a run (tests).
    static void reset()
    {
        measure_mode = kSingle;
        mode_chosen = 0;
    }
};

} // namespace tonara
