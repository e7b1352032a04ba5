#ifndef KCALC_FIELD_PLANE_H
#define KCALC_FIELD_PLANE_H

#include <vector>

#include "field/ElementFieldModel.h"
#include "params/JobInput.h"

namespace kcalc {

struct RunControl;

// The field of a job's array, focused on the job's focus, over the job's grid.
struct FieldPlaneResult {
    std::vector<double> values;  // |p| / p0 per grid point, index i1 * count2 + i2 (PlaneGrid::points order)
    double focusPressure = 0;    // |p(F)| / p0 = sum_n |h_n(F)|
    double maximum = 0;          // largest of values
    std::size_t maximumIndex = 0;
};

// Steers the array on input.focus by phase conjugation and evaluates |sum_n w_n h_n(x)| at every
// grid point (ElementFieldModel::steeredAmplitude). Progress: one unit per grid point.
FieldPlaneResult computeFieldPlane(const JobInput &input, RunControl *control = nullptr);

} // namespace kcalc

#endif // KCALC_FIELD_PLANE_H
