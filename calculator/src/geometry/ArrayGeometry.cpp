#include "geometry/ArrayGeometry.h"

#include <algorithm>
#include <cmath>

namespace kcalc {

ElementFrame elementFrame(const ElementPosition &position, double curvatureRadius)
{
    const double R = curvatureRadius;
    // Height of the cap above the element centre's foot, measured from the centre of curvature.
    const double h = std::sqrt(std::max(0.0, R * R - position.x * position.x - position.y * position.y));
    ElementFrame frame;
    frame.centre = Point3{position.x, position.y, R - h};
    frame.normal = Point3{-position.x / R, -position.y / R, h / R};
    return frame;
}

} // namespace kcalc
