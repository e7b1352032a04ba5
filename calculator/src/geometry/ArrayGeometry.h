#ifndef KCALC_ARRAY_GEOMETRY_H
#define KCALC_ARRAY_GEOMETRY_H

#include <vector>

namespace kcalc {

// A point in the job files' frame (m): z along the array axis from the cap's pole,
// the centre of curvature at (0, 0, R).
struct Point3 {
    double x = 0, y = 0, z = 0;
};

// Element centre in the plane of the job files (m), looking along the array axis.
struct ElementPosition {
    double x = 0, y = 0;
};

// The array as the job files describe it (SI units).
struct ArrayGeometry {
    double aperture = 0;        // m, rim diameter
    double curvatureRadius = 0; // m, R
    double elementRadius = 0;   // m, a
    double frequency = 0;       // Hz
    double holeRadius = 0;      // m
    std::vector<ElementPosition> elements;
};

// The propagation medium (SI units; absorption as the job files give it).
struct Medium {
    double density = 0;      // kg/m^3
    double soundSpeed = 0;   // m/s
    double heatCapacity = 0; // J/(kg K), carried along, unused by the field
    double absorption_dB_cm_MHz = 0;
};

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
