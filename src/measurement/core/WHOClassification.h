#pragma once

// The WHO (2003) blood-pressure class of a reading, used by every screen that
// shows one (result icons, the month list, the distribution chart).
//
//   int c = WHOClassification::category(sys, dia);    // 1 optimal .. 6 grade 3
//   std::string icon = WHOClassification::WHO_chack(sys, dia); // "icon_who_color0N.png"
//   WHOClassification::Rgb colour = WHOClassification::barColour(c);
//
// Bounds are inclusive whole mmHg and sit one above the published table's
// (120/80 is still optimal). The higher category wins when systolic and
// diastolic disagree. Every pair of integers has a category; pulse plays no part.

#include <string>

namespace tonara {

class WHOClassification {
public:
    static constexpr int kOptimal = 1;
    static constexpr int kNormal = 2;
    static constexpr int kHighNormal = 3;
    static constexpr int kGrade1 = 4;
    static constexpr int kGrade2 = 5;
    static constexpr int kGrade3 = 6;

    // Components 0..255; the charts use them divided by 255, alpha 1.
    struct Rgb {
        int r = 0;
        int g = 0;
        int b = 0;
        bool operator==(const Rgb &) const = default;
    };

    static int category(int sys, int dia);
    // "icon_who_color01.png" .. "icon_who_color06.png"; categories outside 1..6 count as 1.
    static std::string iconName(int category);
    // The icon of the pair's category, as the result screens and month list need it.
    static std::string WHO_chack(int sys, int dia) { return iconName(category(sys, dia)); }
    static Rgb barColour(int category);
    // The distribution chart's bar of the category: "Bar Plot 1" is grade 3 .. "Bar Plot 6" optimal.
    static std::string barPlotName(int category);
    // English name, e.g. "grade 1 hypertension".
    static std::string name(int category);
};

} // namespace tonara
