#ifndef KCALC_VOLUME_FIELD_H
#define KCALC_VOLUME_FIELD_H

#include <cstddef>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

struct RunControl;

// The steered field of the array in a box, |p| / p0 = |sum_n w_n h_n(x)| with the phase-conjugation
// weights of `focus` (ElementFieldModel::focusWeights) and the medium's absorption, computed as a
// stack of transverse planes z = z0 + iz dz through the same kernel as the plane jobs.
struct VolumeFieldResult {
    std::vector<double> values; // |p| / p0, VolumeGrid layout
    double focusPressure = 0;   // |p(F)| / p0
    double maximum = 0;
    std::size_t maximumIndex = 0;
};

// Progress: one unit per point (control->total is set here unless the caller has set it). Throws
// JobCancelled when cancelled.
VolumeFieldResult computeVolumeField(const ArrayGeometry &array, const Medium &medium, const Point3 &focus,
                                     const VolumeGrid &grid, RunControl *control = nullptr);

} // namespace kcalc

#endif // KCALC_VOLUME_FIELD_H
