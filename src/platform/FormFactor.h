#pragma once

#include <QSize>
#include <QString>

namespace tonara {

// The three screen classes the screens lay themselves out for.
enum class FormFactor { Phone480, Phone568, Tablet };

inline bool isTablet(FormFactor f)
{
    return f == FormFactor::Tablet;
}

// Portrait size in points.
inline QSize portraitPoints(FormFactor f)
{
    switch (f) {
    case FormFactor::Phone480:
        return {320, 480};
    case FormFactor::Phone568:
        return {320, 568};
    case FormFactor::Tablet:
        return {768, 1024};
    }
    return {320, 480};
}

// "phone480", "phone568", "tablet"; false for anything else.
inline bool parseFormFactor(const QString &text, FormFactor *out)
{
    if (text == QLatin1String("phone480"))
        *out = FormFactor::Phone480;
    else if (text == QLatin1String("phone568"))
        *out = FormFactor::Phone568;
    else if (text == QLatin1String("tablet"))
        *out = FormFactor::Tablet;
    else
        return false;
    return true;
}

} // namespace tonara
