#include "measurement/core/WHOClassification.h"

#include <array>

namespace tonara {

namespace {

int clampCategory(int category)
{
    return category >= 1 && category <= 6 ? category : 1;
}

} // namespace

int WHOClassification::category(int sys, int dia)
{
    if (sys > 180 || dia > 110)
        return kGrade3;
    if (sys > 160 || dia > 100)
        return kGrade2;
    if (sys > 140 || dia > 90)
        return kGrade1;
    if (sys > 130 || dia > 85)
        return kHighNormal;
    if (sys > 120 || dia > 80)
        return kNormal;
    return kOptimal;
}

std::string WHOClassification::iconName(int category)
{
    return "icon_who_color0" + std::to_string(clampCategory(category)) + ".png";
}

WHOClassification::Rgb WHOClassification::barColour(int category)
{
    static constexpr std::array<Rgb, 6> colours = {{
        {140, 213, 0},   // optimal
        {20, 202, 67},   // normal
        {254, 227, 0},   // high normal
        {255, 140, 100}, // grade 1
        {254, 116, 20},  // grade 2
        {254, 20, 20},   // grade 3
    }};
    return colours[static_cast<std::size_t>(clampCategory(category) - 1)];
}

std::string WHOClassification::barPlotName(int category)
{
    return "Bar Plot " + std::to_string(7 - clampCategory(category));
}

std::string WHOClassification::name(int category)
{
    static const std::array<const char *, 6> names = {"optimal",
                                                      "normal",
                                                      "high normal",
                                                      "grade 1 hypertension",
                                                      "grade 2 hypertension",
                                                      "grade 3 hypertension"};
    return names[static_cast<std::size_t>(clampCategory(category) - 1)];
}

} // namespace tonara
