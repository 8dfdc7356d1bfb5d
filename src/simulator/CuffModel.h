#pragma once

#include <cstdint>

namespace tonara {

// The physics of one oscillometric reading: the cuff inflates to a little
// above the systolic pressure, then deflates linearly while the artery under
// it pulses. The oscillation amplitude follows the usual envelope: largest
// at the mean arterial pressure, about 55 % of that at the systolic and 80 %
// at the diastolic pressure, which is how a real monitor finds them.
class CuffModel {
public:
    struct Sample {
        int pressure = 0;        // cuff pressure, mmHg
        std::uint16_t pulse = 0; // oscillation sample around kBaseline
        bool heartbeat = false;  // a beat peaked since the previous sample
    };

    static constexpr int kBaseline = 200;
    static constexpr double kInflateRate = 80.0; // mmHg per second
    static constexpr double kDeflateRate = 5.0;  // mmHg per second

    CuffModel(int sys, int dia, int heartRate, std::uint32_t seed);

    int peakPressure() const { return peak_; }
    int endPressure() const { return end_; }
    double meanArterialPressure() const { return map_; }
    double inflationMs() const { return inflateMs_; }
    // From the pump start to the last sample, which carries the end bit.
    double durationMs() const { return inflateMs_ + deflateMs_; }

    double pressureAt(double ms) const;
    // Envelope of the oscillation at a cuff pressure, 0..1.
    double envelope(double pressure) const;
    // The sample at ms; prevMs is the previous sample's time (heartbeats
    // are flagged only while the cuff deflates).
    Sample sampleAt(double ms, double prevMs);

private:
    double beatShape(double phase) const;
    int noise();

    int peak_;
    int end_;
    double map_;
    double widthAbove_;
    double widthBelow_;
    double amplitude_;
    double inflateMs_;
    double deflateMs_;
    double periodMs_; // 0 without a pulse
    std::uint32_t noiseState_;
};

} // namespace tonara
