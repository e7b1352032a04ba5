#ifndef KCALC_ARRAY_GEOMETRY_H
#define KCALC_ARRAY_GEOMETRY_H

#include <vector>

#include "JobProtocol.h"

namespace kcalc {

// The array, the medium and points are the job files' records (Point3, ElementPosition,
// ArrayGeometry, Medium).
using namespace kjobs;

// Where an element sits: the centre of its flat disc on the cap and its unit normal, which points
// from the centre towards the centre of curvature (0, 0, R):
//   centre = (x, y, R - sqrt(R^2 - x^2 - y^2)),  normal = (-x, -y, sqrt(R^2 - x^2 - y^2)) / R.
struct ElementFrame {
    Point3 centre;
    Point3 normal;
};

// The frame of an element at `position` on a cap of radius of curvature R (m). Requires
// x^2 + y^2 <= R^2 (checked when a job is read).
ElementFrame elementFrame(const ElementPosition &position, double curvatureRadius);

} // namespace kcalc

#endif // KCALC_ARRAY_GEOMETRY_H
