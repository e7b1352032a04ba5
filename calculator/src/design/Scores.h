#ifndef KCALC_DESIGN_SCORES_H
#define KCALC_DESIGN_SCORES_H

// Scores of one element layout: the figures by which layouts are compared and (later) optimised.
//
// Every field is the exact one of ElementFieldModel (|p| / p0, the array steered by phase
// conjugation as in field and scan jobs). Lengths in m.
//  - fill factor: N pi a^2 over the cap's surface between hole and rim (design/Layout.h);
//  - gain: |p(F)| / p0 = sum_n |h_n(F)| at the geometric focus F = (0, 0, R);
//  - -6 dB sizes, focused on F: the width along x of the line y = 0, z = R over -A/6..A/6 in 101
//    points (the middle row of the default transverse plane) and the length along the axis over
//    R/2..3R/2 in 241 points (the axis of the default axial plane), each measured through the
//    line's peak where it first falls below 10^(-6/20) of it, interpolated linearly between the
//    grid points around the crossing (the readings of a field result);
//  - side maximum of each steering point F_s: the array steered to F_s, the largest |p| outside
//    the main lobe over two planes through F_s, relative to |p(F_s)|: the transverse plane
//    z = z_s and the axial plane holding the axis and F_s (the x-z plane for a point on the
//    axis), each +-W across the axis in steps h (z of the axial plane from the smallest z_s - W to
//    the largest z_s + W in steps of lambda / 2), W = sideHalfWidth wavelengths, h = sideStep
//    wavelengths; the main lobe is the scans' (scan/MainLobe.h), grown from the grid point nearest
//    F_s;
//  - steerable area: over the focus-shift region of the default side-maxima scan of the axial
//    plane (z from R/2 to 3R/2 in 25 steps, r over +-A/6 in 11 points), the fraction of positions
//    with main-maximum ratio q >= mainLevel and side ratio s <= sideLevel (scan/QualityScan.h),
//    the field taken over the default side-maxima field region (z from 0.375 R to 1.625 R, r over
//    +-A/4) with steps `fieldRefinement` times finer than the focus steps.

#include <cstddef>
#include <functional>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {
struct RunControl;
}

namespace kcalc::design {

struct ScoreSettings {
    std::vector<Point3> steering; // empty: defaultSteering(R)
    double mainLevel = 0.9;       // q at least this counts as steerable
    double sideLevel = 0.32;      // and s at most this
    double sideHalfWidth = 16;    // wavelengths
    double sideStep = 0.4;        // wavelengths
    int fieldRefinement = 2;
};

// 0, 5, 10 and 15 mm off the axis along x at z = R, and 15 mm before and beyond R on the axis.
std::vector<Point3> defaultSteering(double curvatureRadius);

struct SteeringScore {
    Point3 focus;
    double gain = 0;      // |p(F_s)| / p0
    double side = 0;      // strongest side maximum over |p(F_s)| (0: none on the planes)
    Point3 sidePoint;     // where it lies
    double mainRatio = 0; // q over the same planes
};

struct Scores {
    std::size_t elementCount = 0;
    double fillFactor = 0;
    double gain = 0;
    double lateralWidth = 0, axialLength = 0; // -6 dB, m (0: not found on the line)
    std::vector<SteeringScore> steering;
    double worstSide = 0; // the largest side ratio over the steering points
    double steerableArea = 0;
    std::size_t steerablePositions = 0, positions = 0;
};

// The -6 dB width of a line profile through its peak (coordinates along the line, values), as
// described above; 0 when the profile does not fall to the level on both sides.
double halfPressureWidth(const std::vector<double> &coord, const std::vector<double> &value);

// Scores a layout (array.elements) in a medium. Progress on `control` in points of element fields;
// cancellation there throws JobCancelled. Throws JobError on an array the field model refuses.
Scores computeScores(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                     RunControl *control = nullptr);

// Work units computeScores reports in all (for the progress total).
std::size_t scoreWorkUnits(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings);

} // namespace kcalc::design

#endif // KCALC_DESIGN_SCORES_H
