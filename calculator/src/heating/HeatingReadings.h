#ifndef KCALC_HEATING_READINGS_H
#define KCALC_HEATING_READINGS_H

#include <vector>

#include "params/JobInput.h"

namespace kcalc {

// Where a set of points reaches along one axis (m): from lo to hi; found false for an empty set.
struct AxisExtent {
    bool found = false;
    double lo = 0, hi = 0;
    double length() const { return found ? hi - lo : 0; }
};

// Extent along axis (0 x, 1 y, 2 z) of the points where values >= threshold: the outermost
// threshold crossings over all lines of the grid parallel to the axis, each found by linear
// interpolation of ln(value) between the neighbouring points (a run that reaches the box's edge
// ends at the edge point).
AxisExtent thresholdExtent(const VolumeGrid &grid, const std::vector<double> &values, double threshold, int axis);

// What a surgeon reads off a sonication (lengths in m, temperatures in degC).
struct HeatingReadings {
    double peakTemperature = 0; // the highest temperature anywhere in the box during the run
    Point3 peakAt;
    // Lesion: the points whose dose reaches the threshold (CEM43 minutes).
    bool lesion = false;
    double lesionLength = 0;                   // along the array axis z
    double lesionWidthX = 0, lesionWidthY = 0; // across it
    // The focal region: the ellipsoid about the field maximum with semi-axes kFocalRegionScale times
    // the -6 dB half-widths of |p| along x, y and z. Outside it: the highest temperature and where
    // (pre-focal heating, grating lobes); equal to the baseline when the box lies within the region.
    double focalSemiAxisX = 0, focalSemiAxisY = 0, focalSemiAxisZ = 0;
    double outsideTemperature = 0;
    Point3 outsideAt;
};
constexpr double kFocalRegionScale = 3;

// amplitude: |p| on the grid; peakTemperature and dose: the solver's per-point results.
HeatingReadings heatingReadings(const VolumeGrid &grid, const std::vector<double> &amplitude,
                                const std::vector<double> &peakTemperature, const std::vector<double> &dose,
                                double doseThreshold, double baseline);

// The index along axis (0 x, 1 y, 2 z) of the box point nearest to a coordinate, clamped into the box.
long nearestIndex(const VolumeGrid &grid, int axis, double coordinate);

// The plane of the box nearest to a calculation plane: a transverse plane z = fixed (axes x, y) or
// the axial plane x = fixed (axes y, z), clamped into the box; values in PlaneGrid::points order.
PlaneGrid boxSlice(const VolumeGrid &grid, PlaneKind kind, double fixed);
std::vector<double> sliceValues(const VolumeGrid &grid, const PlaneGrid &slice, const std::vector<double> &values);

} // namespace kcalc

#endif // KCALC_HEATING_READINGS_H
