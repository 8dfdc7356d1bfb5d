#pragma once

// The home blood-pressure threshold a week's average is compared with:
// 135/85 for most people, 130/80 where the doctor asks for the lower one.
//
//   HomeThreshold t = HomeThreshold::standard();
//   t.isAtOrAbove(135, 70);   // true: either value reaching its limit counts
//   t.isAtOrAbove(134, 84);   // false

namespace tonara {

class HomeThreshold {
public:
    static constexpr HomeThreshold standard() { return {135, 85}; }
    static constexpr HomeThreshold highRisk() { return {130, 80}; }
    // The stored pair, or the standard threshold for a pair that is neither.
    static HomeThreshold fromValues(int sys, int dia);

    int sys() const { return sys_; }
    int dia() const { return dia_; }
    bool isHighRisk() const { return sys_ == 130 && dia_ == 80; }

    // Systolic at or above its limit, or diastolic at or above its limit.
    bool isAtOrAbove(int sys, int dia) const { return sys >= sys_ || dia >= dia_; }

    bool operator==(const HomeThreshold &) const = default;

private:
    constexpr HomeThreshold(int sys, int dia) : sys_(sys), dia_(dia) {}

    int sys_;
    int dia_;
};

} // namespace tonara
