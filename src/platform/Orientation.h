#pragma once

namespace tonara {

// How the device is held, and which ways a screen may be shown.
enum class Orientation { Portrait, PortraitUpsideDown, LandscapeLeft, LandscapeRight };

using OrientationMask = unsigned;

constexpr OrientationMask maskOf(Orientation o)
{
    return 1u << static_cast<unsigned>(o);
}
inline constexpr OrientationMask kPortraitOnly = maskOf(Orientation::Portrait);
inline constexpr OrientationMask kPortraitBothWays =
    maskOf(Orientation::Portrait) | maskOf(Orientation::PortraitUpsideDown);
inline constexpr OrientationMask kAllOrientations = 0xFu;

constexpr bool isLandscape(Orientation o)
{
    return o == Orientation::LandscapeLeft || o == Orientation::LandscapeRight;
}

} // namespace tonara
