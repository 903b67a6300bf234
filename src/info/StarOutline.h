#pragma once

#include <QPolygon>

// The outline of the credits page's thirteen-pointed star: 26 points in window pixels,
// inner and outer vertices in turn, starting straight below the centre (200, 150).
QPolygon creditsStarOutline();
