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
    double aperture = 0;         // m, rim diameter
    double curvatureRadius = 0;  // m, R
    double elementRadius = 0;    // m, a
    double frequency = 0;        // Hz
    double holeRadius = 0;       // m
    std::vector<ElementPosition> elements;
};

// The propagation medium (SI units; absorption as the job files give it).
struct Medium {
    double density = 0;            // kg/m^3
    double soundSpeed = 0;         // m/s
    double heatCapacity = 0;       // J/(kg K), carried along, unused by the field
    double absorption_dB_cm_MHz = 0;
};

} // namespace kcalc

#endif // KCALC_ARRAY_GEOMETRY_H
