#include "scan/ScanOutput.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kcalc::scan {

Point3 ScanPlane::point(std::size_t i1, std::size_t i2) const
{
    const double a = coord1(i1), b = coord2(i2);
    return axial ? Point3{fixed, a, b} : Point3{a, b, fixed};
}

std::vector<Point3> ScanPlane::points() const
{
    std::vector<Point3> out;
    out.reserve(size());
    for (std::size_t i1 = 0; i1 < n1; ++i1)
        for (std::size_t i2 = 0; i2 < n2; ++i2)
            out.push_back(point(i1, i2));
    return out;
}

namespace {
std::size_t nearestIndex(double c, double start, double step, std::size_t count)
{
    const double k = std::round((c - start) / step);
    if (!(k > 0))  // also NaN
        return 0;
    if (k >= static_cast<double>(count - 1))
        return count - 1;
    return static_cast<std::size_t>(k);
}
} // namespace

std::size_t ScanPlane::nearestPoint(const Point3 &x) const
{
    const double a = axial ? x.y : x.x, b = axial ? x.z : x.y;
    return nearestIndex(a, start1, step1, n1) * n2 + nearestIndex(b, start2, step2, n2);
}

std::size_t bestFocusPoint(const std::vector<double> &values, const ScanPlane &plane)
{
    if (values.size() != plane.size() || values.empty())
        throw std::invalid_argument("best focus: one value per focus position is needed");
    const std::size_t nx = plane.appNx(), ny = plane.appNy();
    // Row maxima, then the first row holding the largest of them, then its first column holding it.
    std::size_t bestRow = 0;
    double bestRowMax = 0;
    for (std::size_t i = 0; i < nx; ++i) {
        double rowMax = values[plane.flatFromApp(i, 0)];
        for (std::size_t j = 1; j < ny; ++j)
            rowMax = std::max(rowMax, values[plane.flatFromApp(i, j)]);
        if (i == 0 || rowMax > bestRowMax) {
            bestRow = i;
            bestRowMax = rowMax;
        }
    }
    std::size_t bestColumn = 0;
    for (std::size_t j = 1; j < ny; ++j)
        if (values[plane.flatFromApp(bestRow, j)] > values[plane.flatFromApp(bestRow, bestColumn)])
            bestColumn = j;
    return plane.flatFromApp(bestRow, bestColumn);
}

void writeFileAtomically(const std::string &path, const std::string &bytes)
{
    const std::string temporary = path + ".part";
    std::FILE *f = std::fopen(temporary.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + temporary + ": " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + temporary + ": " + std::strerror(errno));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int e = errno;
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot rename " + temporary + " to " + path + ": " + std::strerror(e));
    }
}

void writeScanBinary(const std::string &path, const ScanPlane &focusPlane, const std::vector<double> &values)
{
    static_assert(sizeof(double) == 8, "binary scan results hold IEEE 754 binary64 values");
    if (values.size() != focusPlane.size())
        throw std::invalid_argument("binary scan result: " + std::to_string(values.size()) + " values for "
                                    + std::to_string(focusPlane.size()) + " focus positions");
    std::vector<double> out;
    out.reserve(3 * values.size() + 2);
    out.push_back(static_cast<double>(focusPlane.appNx()));
    out.push_back(static_cast<double>(focusPlane.appNy()));
    for (std::size_t i1 = 0; i1 < focusPlane.n1; ++i1)
        for (std::size_t i2 = 0; i2 < focusPlane.n2; ++i2) {
            out.push_back(focusPlane.coord1(i1));
            out.push_back(focusPlane.coord2(i2));
            out.push_back(values[i1 * focusPlane.n2 + i2]);
        }
    // Little-endian on disk: swap on a big-endian host.
    std::string bytes(out.size() * 8, '\0');
    for (std::size_t k = 0; k < out.size(); ++k) {
        std::uint64_t u;
        std::memcpy(&u, &out[k], 8);
        for (int b = 0; b < 8; ++b)
            bytes[k * 8 + b] = static_cast<char>((u >> (8 * b)) & 0xff);
    }
    writeFileAtomically(path, bytes);
}

namespace {
// The shortest C-locale text that reads back to the same double.
void appendShortest(std::string &out, double v)
{
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, v);
    out.append(text, r.ptr);
}
} // namespace

void writeSideMaxes(const std::string &path, const ScanPlane &focusPlane, const ScanPlane &fieldPlane,
                    const std::vector<FocusQuality> &results)
{
    if (results.size() != focusPlane.size())
        throw std::invalid_argument("side maxima: " + std::to_string(results.size()) + " results for "
                                    + std::to_string(focusPlane.size()) + " focus positions");
    std::string text;
    for (std::size_t i1 = 0; i1 < focusPlane.n1; ++i1)
        for (std::size_t i2 = 0; i2 < focusPlane.n2; ++i2) {
            const FocusQuality &r = results[i1 * focusPlane.n2 + i2];
            appendShortest(text, focusPlane.coord1(i1));
            text += ' ';
            appendShortest(text, focusPlane.coord2(i2));
            if (r.hasSide) {
                text += ' ';
                appendShortest(text, fieldPlane.coord1(r.sidePoint / fieldPlane.n2));
                text += ' ';
                appendShortest(text, fieldPlane.coord2(r.sidePoint % fieldPlane.n2));
                text += ' ';
                appendShortest(text, r.sideValue);
            } else {
                text += " nan nan 0";
            }
            text += '\n';
        }
    writeFileAtomically(path, text);
}

} // namespace kcalc::scan
