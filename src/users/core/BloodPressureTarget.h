#pragma once

// The person's blood-pressure target that the trend chart draws, kept in the
// settings row so it survives a restart.
//
//   BloodPressureTarget target(store);
//   target.load();                         // 180 / 60 when nothing is stored
//   chart.drawLines(target.target_high(), target.target_low());
//   target.save(120, 80);                  // both checked by TargetEntryRules first
//
// The chart reads the target through this class whenever it draws, so it
// always shows what is stored.

namespace tonara {

class DataBaseforCD;

class BloodPressureTarget {
public:
    static constexpr int kDefaultHigh = 180;
    static constexpr int kDefaultLow = 60;

    explicit BloodPressureTarget(DataBaseforCD &store);

    // Reads the settings row. A row without a target (the active user is
    // written with -1 for both) or with a value outside 1..300 gives the defaults.
    void load();
    // Stores both values in the settings row without touching the active user;
    // true when the row was written. The values held here change only then.
    bool save(int high, int low);

    int target_high() const { return high_; }
    int target_low() const { return low_; }

private:
    DataBaseforCD &store_;
    int high_ = kDefaultHigh;
    int low_ = kDefaultLow;
};

} // namespace tonara
