#include "heating/HeatingReadings.h"

#include <algorithm>
#include <cmath>

namespace kcalc {

namespace {

long axisCount(const VolumeGrid &g, int axis)
{
    return axis == 0 ? g.nx : axis == 1 ? g.ny : g.nz;
}
double axisStart(const VolumeGrid &g, int axis)
{
    return axis == 0 ? g.x0 : axis == 1 ? g.y0 : g.z0;
}
double axisStep(const VolumeGrid &g, int axis)
{
    return axis == 0 ? g.dx : axis == 1 ? g.dy : g.dz;
}

// Index of point (i along axis, the other two from (a, b) in axis order).
std::size_t lineIndex(const VolumeGrid &g, int axis, long i, long a, long b)
{
    if (axis == 0)
        return g.index(i, a, b);
    if (axis == 1)
        return g.index(a, i, b);
    return g.index(a, b, i);
}

double logOf(double v)
{
    return std::log(std::max(v, 1e-300));
}

// Position (in steps) between points i and j = i +- 1 where ln(value) crosses ln(threshold).
double crossing(double vi, double vj, double threshold)
{
    const double li = logOf(vi), lj = logOf(vj), lt = logOf(threshold);
    return li == lj ? 0 : (li - lt) / (li - lj);
}

} // namespace

AxisExtent thresholdExtent(const VolumeGrid &grid, const std::vector<double> &values, double threshold, int axis)
{
    AxisExtent e;
    const long n = axisCount(grid, axis);
    const long na = axis == 0 ? grid.ny : grid.nx;
    const long nb = axis == 2 ? grid.ny : grid.nz;
    const double x0 = axisStart(grid, axis), h = axisStep(grid, axis);
    double lo = 0, hi = 0;
    for (long a = 0; a < na; ++a)
        for (long b = 0; b < nb; ++b) {
            long first = -1, last = -1;
            for (long i = 0; i < n; ++i)
                if (values[lineIndex(grid, axis, i, a, b)] >= threshold) {
                    if (first < 0)
                        first = i;
                    last = i;
                }
            if (first < 0)
                continue;
            double l = static_cast<double>(first), u = static_cast<double>(last);
            if (first > 0)
                l -= crossing(values[lineIndex(grid, axis, first, a, b)],
                              values[lineIndex(grid, axis, first - 1, a, b)], threshold);
            if (last < n - 1)
                u += crossing(values[lineIndex(grid, axis, last, a, b)], values[lineIndex(grid, axis, last + 1, a, b)],
                              threshold);
            if (!e.found || l < lo)
                lo = l;
            if (!e.found || u > hi)
                hi = u;
            e.found = true;
        }
    if (e.found) {
        e.lo = x0 + lo * h;
        e.hi = x0 + hi * h;
    }
    return e;
}

namespace {

// Half-width at half the maximum along one axis through point (ix, iy, iz): the mean distance of
// the two crossings of 0.5 max (linear interpolation), a side without a crossing counting to the edge.
double halfWidth(const VolumeGrid &g, const std::vector<double> &v, long ix, long iy, long iz, int axis)
{
    const long centre = axis == 0 ? ix : axis == 1 ? iy : iz;
    const long a = axis == 0 ? iy : ix, b = axis == 2 ? iy : iz;
    const long n = axisCount(g, axis);
    const double top = v[g.index(ix, iy, iz)], half = 0.5 * top;
    double sum = 0;
    for (int dir : {-1, 1}) {
        long i = centre;
        while (i + dir >= 0 && i + dir < n && v[lineIndex(g, axis, i + dir, a, b)] > half)
            i += dir;
        double reach = static_cast<double>(std::abs(i - centre));
        if (i + dir >= 0 && i + dir < n) {
            const double vi = v[lineIndex(g, axis, i, a, b)], vj = v[lineIndex(g, axis, i + dir, a, b)];
            reach += vi == vj ? 0 : (vi - half) / (vi - vj);
        }
        sum += reach;
    }
    return 0.5 * sum * axisStep(g, axis);
}

} // namespace

HeatingReadings heatingReadings(const VolumeGrid &grid, const std::vector<double> &amplitude,
                                const std::vector<double> &peakTemperature, const std::vector<double> &dose,
                                double doseThreshold, double baseline)
{
    HeatingReadings r;
    const auto hottest = std::max_element(peakTemperature.begin(), peakTemperature.end());
    const auto coords = [&grid](std::size_t p, long &ix, long &iy, long &iz) {
        iz = static_cast<long>(p % static_cast<std::size_t>(grid.nz));
        iy = static_cast<long>(p / static_cast<std::size_t>(grid.nz) % static_cast<std::size_t>(grid.ny));
        ix = static_cast<long>(p / static_cast<std::size_t>(grid.nz) / static_cast<std::size_t>(grid.ny));
    };
    long ix, iy, iz;
    if (hottest != peakTemperature.end()) {
        r.peakTemperature = *hottest;
        coords(static_cast<std::size_t>(hottest - peakTemperature.begin()), ix, iy, iz);
        r.peakAt = grid.point(ix, iy, iz);
    }

    const AxisExtent ex = thresholdExtent(grid, dose, doseThreshold, 0);
    const AxisExtent ey = thresholdExtent(grid, dose, doseThreshold, 1);
    const AxisExtent ez = thresholdExtent(grid, dose, doseThreshold, 2);
    r.lesion = ez.found;
    r.lesionWidthX = ex.length();
    r.lesionWidthY = ey.length();
    r.lesionLength = ez.length();

    const auto loudest = std::max_element(amplitude.begin(), amplitude.end());
    r.outsideTemperature = baseline;
    r.outsideAt = r.peakAt;
    if (loudest == amplitude.end() || *loudest <= 0)
        return r;
    coords(static_cast<std::size_t>(loudest - amplitude.begin()), ix, iy, iz);
    const Point3 centre = grid.point(ix, iy, iz);
    r.focalSemiAxisX = kFocalRegionScale * halfWidth(grid, amplitude, ix, iy, iz, 0);
    r.focalSemiAxisY = kFocalRegionScale * halfWidth(grid, amplitude, ix, iy, iz, 1);
    r.focalSemiAxisZ = kFocalRegionScale * halfWidth(grid, amplitude, ix, iy, iz, 2);
    for (long i = 0; i < grid.nx; ++i)
        for (long j = 0; j < grid.ny; ++j)
            for (long k = 0; k < grid.nz; ++k) {
                const Point3 p = grid.point(i, j, k);
                const double u = (p.x - centre.x) / r.focalSemiAxisX, v = (p.y - centre.y) / r.focalSemiAxisY,
                             w = (p.z - centre.z) / r.focalSemiAxisZ;
                if (u * u + v * v + w * w <= 1)
                    continue;
                const double T = peakTemperature[grid.index(i, j, k)];
                if (T > r.outsideTemperature) {
                    r.outsideTemperature = T;
                    r.outsideAt = p;
                }
            }
    return r;
}

long nearestIndex(const VolumeGrid &grid, int axis, double coordinate)
{
    const long i = std::lround((coordinate - axisStart(grid, axis)) / axisStep(grid, axis));
    return std::clamp(i, 0L, axisCount(grid, axis) - 1);
}

namespace {

// The axis across a slice: z for a transverse plane (axes x, y), x for the axial one (axes y, z).
int acrossAxis(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? 2 : 0;
}

} // namespace

PlaneGrid boxSlice(const VolumeGrid &grid, PlaneKind kind, double fixed)
{
    const int across = acrossAxis(kind), first = across == 2 ? 0 : 1, second = first + 1;
    const double at =
        axisStart(grid, across) + static_cast<double>(nearestIndex(grid, across, fixed)) * axisStep(grid, across);
    return PlaneGrid{kind,
                     at,
                     axisCount(grid, first),
                     axisCount(grid, second),
                     axisStart(grid, first),
                     axisStart(grid, second),
                     axisStep(grid, first),
                     axisStep(grid, second)};
}

std::vector<double> sliceValues(const VolumeGrid &grid, const PlaneGrid &slice, const std::vector<double> &values)
{
    const int across = acrossAxis(slice.kind);
    const long k = nearestIndex(grid, across, slice.fixed);
    std::vector<double> out;
    out.reserve(slice.pointCount());
    for (long i1 = 0; i1 < slice.count1; ++i1)
        for (long i2 = 0; i2 < slice.count2; ++i2)
            out.push_back(values[lineIndex(grid, across, k, i1, i2)]);
    return out;
}

} // namespace kcalc
