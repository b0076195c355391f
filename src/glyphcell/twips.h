#pragma once

#include <QRect>

#include <cmath>

// Positions and sizes are defined in twips (1/1440 inch). Qt's logical pixels are 1/96 inch,
// so one logical pixel is 15 twips; Qt's high-DPI scaling maps them to the device.
inline constexpr double TwipsPerPixel = 15.0;

inline int px(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline QRect twipsRect(double left, double top, double width, double height)
{
    return {px(left), px(top), px(width), px(height)};
}
