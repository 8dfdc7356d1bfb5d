#include "simulator/CuffModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

namespace {
constexpr double kSystolicRatio = 0.55;
constexpr double kDiastolicRatio = 0.80;
constexpr double kPeakPhase = 0.12; // the upstroke takes about an eighth of a beat
} // namespace

CuffModel::CuffModel(int sys, int dia, int heartRate, std::uint32_t seed) : noiseState_(seed | 1u)
{
    sys = std::clamp(sys, 0, 255);
    dia = std::clamp(dia, 0, sys);
    peak_ = std::clamp(sys + 40, 180, 300);
    end_ = std::clamp(dia - 20, 30, peak_ - 20);
    map_ = dia + (sys - dia) / 3.0;
    widthAbove_ = std::max(5.0, (sys - map_) / std::sqrt(-std::log(kSystolicRatio)));
    widthBelow_ = std::max(5.0, (map_ - dia) / std::sqrt(-std::log(kDiastolicRatio)));
    // A wider pulse pressure swings the cuff harder.
    amplitude_ = 60.0 * std::clamp((sys - dia) / 40.0, 0.5, 1.5);
    inflateMs_ = peak_ / kInflateRate * 1000.0;
    deflateMs_ = (peak_ - end_) / kDeflateRate * 1000.0;
    periodMs_ = heartRate > 0 ? 60000.0 / heartRate : 0.0;
}

double CuffModel::pressureAt(double ms) const
{
    if (ms <= 0)
        return 0;
    if (ms < inflateMs_)
        return peak_ * ms / inflateMs_;
    const double p = peak_ - kDeflateRate * (ms - inflateMs_) / 1000.0;
    return std::max<double>(p, end_);
}

double CuffModel::envelope(double pressure) const
{
    const double w = pressure >= map_ ? widthAbove_ : widthBelow_;
    const double x = (pressure - map_) / w;
    return std::exp(-x * x);
}

double CuffModel::beatShape(double phase) const
{
    // Steep systolic upstroke, exponential run-off with a small dicrotic
    // bump, shifted so that a beat swings around the baseline.
    double v;
    if (phase < kPeakPhase)
        v = std::sin(std::numbers::pi / 2 * phase / kPeakPhase);
    else
        v = std::exp(-(phase - kPeakPhase) * 3.5) + 0.15 * std::exp(-std::pow((phase - 0.42) / 0.05, 2));
    return v - 0.3;
}

int CuffModel::noise()
{
    noiseState_ = noiseState_ * 1664525u + 1013904223u;
    return static_cast<int>((noiseState_ >> 16) % 3) - 1;
}

CuffModel::Sample CuffModel::sampleAt(double ms, double prevMs)
{
    Sample s;
    const double p = pressureAt(ms);
    s.pressure = static_cast<int>(std::lround(p));
    double wave = 0;
    if (periodMs_ > 0) {
        const double phase = std::fmod(ms, periodMs_) / periodMs_;
        wave = amplitude_ * envelope(p) * beatShape(phase);
        if (ms > inflateMs_) {
            // Counting the peaks up to each time (rather than locating the
            // latest one) flags every beat exactly once, rounding or not.
            auto peaks = [this](double t) { return std::floor(t / periodMs_ - kPeakPhase); };
            s.heartbeat = peaks(ms) > peaks(std::max(prevMs, inflateMs_));
        }
    }
    const long v = std::lround(kBaseline + wave) + noise();
    s.pulse = static_cast<std::uint16_t>(std::clamp<long>(v, 0, 65535));
    return s;
}

} // namespace tonara
