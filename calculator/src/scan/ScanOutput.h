#ifndef KCALC_SCAN_SCAN_OUTPUT_H
#define KCALC_SCAN_SCAN_OUTPUT_H

// Geometry of the two grids of a scan job and the scan's own result files.

#include <cstddef>
#include <string>
#include <vector>

#include "geometry/ArrayGeometry.h"
#include "scan/MainLobe.h"
#include "scan/QualityScan.h"

namespace kcalc::scan {

// A regular plane grid in the eight-line form of the grid files:
//  transverse ("xy"): the plane z = fixed; first axis x, second axis y;
//  axial ("yz"):      the plane x = fixed (0 after the array's rotation); first axis y (across
//                     the array axis), second axis z (along it).
// Coordinate k along an axis is start + k * step. Points are stored with the first axis outer,
// flat index i1 * n2 + i2 (the order of the result files).
struct ScanPlane {
    bool axial = false;
    double fixed = 0;
    std::size_t n1 = 0, n2 = 0;
    double start1 = 0, start2 = 0;
    double step1 = 0, step2 = 0;

    GridShape shape() const { return {n1, n2}; }
    std::size_t size() const { return n1 * n2; }
    double coord1(std::size_t i1) const { return start1 + static_cast<double>(i1) * step1; }
    double coord2(std::size_t i2) const { return start2 + static_cast<double>(i2) * step2; }
    Point3 point(std::size_t i1, std::size_t i2) const;
    Point3 point(std::size_t flat) const { return point(flat / n2, flat % n2); }
    std::vector<Point3> points() const;
    // The grid point nearest to x within the plane (x's offset from the plane is ignored).
    std::size_t nearestPoint(const Point3 &x) const;

    // The application's own axes of a scan result: X runs along z in the axial plane and along
    // x in the transverse one. Nx, Ny are its counts; index (i, j) on those axes.
    std::size_t appNx() const { return axial ? n2 : n1; }
    std::size_t appNy() const { return axial ? n1 : n2; }
    std::size_t flatFromApp(std::size_t i, std::size_t j) const { return axial ? j * n2 + i : i * n2 + j; }
};

// The focus position with the largest value, found as the application finds it: in the
// application's (i, j) axes, the row i with the largest row maximum (first such row on ties),
// then the first column j of that row holding it. Returns the flat index in `plane`.
std::size_t bestFocusPoint(const std::vector<double> &values, const ScanPlane &plane);

// The binary scan result: 3 * Nx * Ny + 2 little-endian doubles. The two leading values are the
// application's Nx and Ny; then one triplet per focus position with the first axis outer and the
// second inner, each (first coordinate, second coordinate, value) in metres. On the application's
// axes this is, for the axial plane, (r, z, value) with the z index running fastest, and for the
// transverse plane (x, y, value) with the y index running fastest.
// Written under a temporary name and renamed, so the file is either complete or absent.
void writeScanBinary(const std::string &path, const ScanPlane &focusPlane, const std::vector<double> &values);

// side_maxes.txt: one line per focus position in the order of the binary result:
// its two coordinates, the two coordinates of its largest side maximum on the field grid, and s.
// A position whose whole field is main lobe has no side maximum: its side position is written as
// "nan nan" and s as 0.
void writeSideMaxes(const std::string &path, const ScanPlane &focusPlane, const ScanPlane &fieldPlane,
                    const std::vector<FocusQuality> &results);

// Writes `bytes` to `path` through a temporary file in the same folder and a rename.
void writeFileAtomically(const std::string &path, const std::string &bytes);

} // namespace kcalc::scan

#endif // KCALC_SCAN_SCAN_OUTPUT_H
