#include "info/StarOutline.h"

#include <cmath>

QPolygon creditsStarOutline()
{
    // The angle accumulates in single precision, as it always has, so the outline
    // stays the same pixel for pixel.
    const float step = static_cast<float>(6.2831853 / 26);
    float angle = static_cast<float>(3.14159265 / 2);
    const auto px = [](double v) { return static_cast<int>(std::lrint(v)); };

    QPolygon outline;
    outline.reserve(26);
    for (int i = 0; i < 13; ++i) {
        outline << QPoint(px(std::cos(double(angle)) * 100 + 200), px(std::sin(double(angle)) * 75 + 150));
        angle += step;
        outline << QPoint(px(std::cos(double(angle)) * 200 + 200), px(std::sin(double(angle)) * 150 + 150));
        angle += step;
    }
    return outline;
}
