#include "scan/ScanOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "output/ResultFiles.h"

namespace kcalc::scan {

namespace {
std::size_t nearestIndex(double c, double start, double step, long count)
{
    const double k = std::round((c - start) / step);
    if (!(k > 0)) // also NaN
        return 0;
    if (k >= static_cast<double>(count - 1))
        return static_cast<std::size_t>(count - 1);
    return static_cast<std::size_t>(k);
}
} // namespace

std::size_t nearestPoint(const PlaneGrid &g, const Point3 &x)
{
    const bool axial = g.kind == PlaneKind::Axial;
    const double a = axial ? x.y : x.x, b = axial ? x.z : x.y;
    return nearestIndex(a, g.start1, g.step1, g.count1) * static_cast<std::size_t>(g.count2)
           + nearestIndex(b, g.start2, g.step2, g.count2);
}

std::size_t bestFocusPoint(const std::vector<double> &values, const PlaneGrid &grid)
{
    if (values.size() != grid.pointCount() || values.empty())
        throw std::invalid_argument("best focus: one value per focus position is needed");
    const std::size_t nx = appNx(grid), ny = appNy(grid);
    // Row maxima, then the first row holding the largest of them, then its first column holding it.
    std::size_t bestRow = 0;
    double bestRowMax = 0;
    for (std::size_t i = 0; i < nx; ++i) {
        double rowMax = values[flatFromApp(grid, i, 0)];
        for (std::size_t j = 1; j < ny; ++j)
            rowMax = std::max(rowMax, values[flatFromApp(grid, i, j)]);
        if (i == 0 || rowMax > bestRowMax) {
            bestRow = i;
            bestRowMax = rowMax;
        }
    }
    std::size_t bestColumn = 0;
    for (std::size_t j = 1; j < ny; ++j)
        if (values[flatFromApp(grid, bestRow, j)] > values[flatFromApp(grid, bestRow, bestColumn)])
            bestColumn = j;
    return flatFromApp(grid, bestRow, bestColumn);
}

std::string sideMaxesText(const PlaneGrid &focus, const PlaneGrid &field, const std::vector<FocusQuality> &results)
{
    if (results.size() != focus.pointCount())
        throw std::invalid_argument("side maxima: " + std::to_string(results.size()) + " results for "
                                    + std::to_string(focus.pointCount()) + " focus positions");
    const std::size_t n2 = static_cast<std::size_t>(field.count2);
    std::string text;
    std::size_t k = 0;
    for (long i1 = 0; i1 < focus.count1; ++i1)
        for (long i2 = 0; i2 < focus.count2; ++i2) {
            const FocusQuality &r = results[k++];
            appendResultNumber(text, focus.coord1(i1));
            text += ' ';
            appendResultNumber(text, focus.coord2(i2));
            if (r.hasSide) {
                text += ' ';
                appendResultNumber(text, field.coord1(static_cast<long>(r.sidePoint / n2)));
                text += ' ';
                appendResultNumber(text, field.coord2(static_cast<long>(r.sidePoint % n2)));
                text += ' ';
                appendResultNumber(text, r.sideValue);
            } else {
                text += " nan nan 0";
            }
            text += '\n';
        }
    return text;
}

} // namespace kcalc::scan
