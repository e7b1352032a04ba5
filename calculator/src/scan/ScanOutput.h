#ifndef KCALC_SCAN_SCAN_OUTPUT_H
#define KCALC_SCAN_SCAN_OUTPUT_H

// Geometry of the two grids of a scan job as the scan sees them, and the scan's own result files.
// Both grids are PlaneGrids of the eight-line grid files (grid_calc.txt: the focus-shift region,
// grid_scan.txt: the field region); points are stored with axis 1 outer, flat index
// i1 * count2 + i2, the order of the result files.

#include <cstddef>
#include <string>
#include <vector>

#include "params/JobInput.h"
#include "scan/MainLobe.h"
#include "scan/QualityScan.h"

namespace kcalc::scan {

inline GridShape gridShape(const PlaneGrid &g)
{
    return {static_cast<std::size_t>(g.count1), static_cast<std::size_t>(g.count2)};
}

// The point of a flat index.
inline Point3 gridPoint(const PlaneGrid &g, std::size_t flat)
{
    return g.point(static_cast<long>(flat / static_cast<std::size_t>(g.count2)),
                   static_cast<long>(flat % static_cast<std::size_t>(g.count2)));
}

// The grid point nearest to x within the plane (x's offset from the plane is ignored).
std::size_t nearestPoint(const PlaneGrid &g, const Point3 &x);

// The application's own axes of a scan result (appNx, appNy of the job files): X runs along z in
// the axial plane and along x in the transverse one; (i, j) an index on those axes.
using kjobs::appNx;
using kjobs::appNy;
inline std::size_t flatFromApp(const PlaneGrid &g, std::size_t i, std::size_t j)
{
    const std::size_t n2 = static_cast<std::size_t>(g.count2);
    return g.kind == PlaneKind::Axial ? j * n2 + i : i * n2 + j;
}

// The focus position with the largest value, found as the application finds it: in the
// application's (i, j) axes, the row i with the largest row maximum (first such row on ties),
// then the first column j of that row holding it. Returns the flat index in `grid`.
std::size_t bestFocusPoint(const std::vector<double> &values, const PlaneGrid &grid);

// side_maxes.txt: one line per focus position in the order of the binary result: its two
// coordinates, the two coordinates of its largest side maximum on the field grid, and s. A
// position whose whole field is main lobe has no side maximum: "nan nan 0" after its coordinates.
std::string sideMaxesText(const PlaneGrid &focus, const PlaneGrid &field, const std::vector<FocusQuality> &results);

} // namespace kcalc::scan

#endif // KCALC_SCAN_SCAN_OUTPUT_H
