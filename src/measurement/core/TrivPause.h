#pragma once

namespace tonara {

// The pause between the readings of a TRIV series, driven by a 1-second tick.
// The counter rests at 17; a reading that leaves more to come sets it to 16,
// the ticks show 15 down to 0, and the tick after 0 resumes the series.
class TrivPause {
public:
    static constexpr int kIdle = 17;
    static constexpr int kStart = 16;

    enum class Tick {
        Nothing,  // not counting
        Counted,  // count() went down by one; show it
        Continue, // the pause is over: resume the series
    };

    int count() const { return count_; }
    bool go() const { return go_; }

    void setGo(bool go) { go_ = go; }
    void setCount(int count) { count_ = count; }
    void begin() { count_ = kStart; }
    void reset() { count_ = kIdle; }
    bool counting() const { return go_ && count_ < kIdle; }

    Tick tick();

private:
    int count_ = kIdle;
    bool go_ = false;
};

} // namespace tonara
