#ifndef KCALC_FIELD_PLANE_H
#define KCALC_FIELD_PLANE_H

#include <vector>

#include "field/ElementFieldModel.h"
#include "params/JobInput.h"

namespace kcalc {

struct RunControl;

// The field of a job's array, focused on the job's focus, over the job's grid.
struct FieldPlaneResult {
    std::vector<double> values; // |p| / p0 per grid point, index i1 * count2 + i2 (PlaneGrid::points order)
    double focusPressure = 0;   // |p(F)| / p0 = sum_n |h_n(F)|
    double maximum = 0;         // largest of values
    std::size_t maximumIndex = 0;
    std::size_t behindCap = 0; // grid points behind the plane of at least one element
};

// How many points lie behind the plane of at least one element of the model: outside the medium,
// behind the radiating cap, where those elements contribute nothing. Only points outside the
// sphere of the cap can be (every element's plane is tangent to it).
std::size_t countPointsBehindElements(const ElementFieldModel &model, double curvatureRadius,
                                      const std::vector<Point3> &points);

// Steers the array on input.focus by phase conjugation and evaluates |sum_n w_n h_n(x)| at every
// grid point (ElementFieldModel::steeredAmplitude). Progress: one unit per grid point.
FieldPlaneResult computeFieldPlane(const JobInput &input, RunControl *control = nullptr);

} // namespace kcalc

#endif // KCALC_FIELD_PLANE_H
