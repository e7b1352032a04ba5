// Scan result files and the grid geometry of scan jobs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "scan/ScanOutput.h"

using namespace kcalc::scan;
using kcalc::PlaneGrid;
using kcalc::PlaneKind;
using kcalc::Point3;

namespace {

std::vector<double> doublesLE(const std::string &b)
{
    std::vector<double> v(b.size() / 8);
    for (std::size_t k = 0; k < v.size(); ++k) {
        std::uint64_t u = 0;
        for (int i = 0; i < 8; ++i)
            u |= std::uint64_t(static_cast<unsigned char>(b[k * 8 + i])) << (8 * i);
        std::memcpy(&v[k], &u, 8);
    }
    return v;
}

// The application's reading of a binary scan result into [plane][i][j] (i along its X axis).
std::vector<std::vector<std::vector<double>>> readLikeApplication(const std::vector<double> &v, int nx, int ny,
                                                                  bool axial)
{
    std::vector<std::vector<std::vector<double>>> out(3, std::vector<std::vector<double>>(nx, std::vector<double>(ny)));
    int i = 0, j = 0;
    for (int k = 0; k < nx * ny; ++k) {
        const double a = v[2 + 3 * k], b = v[3 + 3 * k], c = v[4 + 3 * k];
        if (axial) {
            out[1][i][j] = a;
            out[0][i][j] = b;
            out[2][i][j] = c;
            if (++i == nx) {
                i = 0;
                ++j;
            }
        } else {
            out[0][i][j] = a;
            out[1][i][j] = b;
            out[2][i][j] = c;
            if (++j == ny) {
                j = 0;
                ++i;
            }
        }
    }
    return out;
}

} // namespace

TEST(ScanBinary, AxialTwoByThreeLayout)
{
    // Axial focus-shift region: 3 points across (r = -0.001, 0, 0.001), 2 along z (0.06, 0.065):
    // the application's Nx = 2 (z), Ny = 3 (r).
    const PlaneGrid plane{PlaneKind::Axial, 0.0, 3, 2, -0.001, 0.06, 0.001, 0.005};
    ASSERT_EQ(appNx(plane), 2u);
    ASSERT_EQ(appNy(plane), 3u);
    std::vector<double> q(6);
    for (std::size_t p = 0; p < 6; ++p)
        q[p] = 0.1 * static_cast<double>(p + 1); // q at (r index p / 2, z index p % 2)
    const std::string bytes = scanResultBytes(plane, q);
    ASSERT_EQ(bytes.size(), 20u * 8);
    const std::vector<double> v = doublesLE(bytes);
    EXPECT_EQ(v[0], 2.0);
    EXPECT_EQ(v[1], 3.0);
    // Triplet 0 -> point (0, 0); triplet 1 -> (1, 0): next z, same r; triplet 2 -> (0, 1).
    EXPECT_DOUBLE_EQ(v[2], -0.001);
    EXPECT_DOUBLE_EQ(v[3], 0.06);
    EXPECT_DOUBLE_EQ(v[4], 0.1);
    EXPECT_DOUBLE_EQ(v[5], -0.001);
    EXPECT_DOUBLE_EQ(v[6], 0.065);
    EXPECT_DOUBLE_EQ(v[7], 0.2);
    EXPECT_DOUBLE_EQ(v[8], 0.0);
    EXPECT_DOUBLE_EQ(v[9], 0.06);
    EXPECT_DOUBLE_EQ(v[10], 0.3);

    const auto a = readLikeApplication(v, 2, 3, true);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
            EXPECT_DOUBLE_EQ(a[0][i][j], plane.coord2(i)); // z
            EXPECT_DOUBLE_EQ(a[1][i][j], plane.coord1(j)); // r
            EXPECT_DOUBLE_EQ(a[2][i][j], q[flatFromApp(plane, i, j)]);
            EXPECT_DOUBLE_EQ(a[2][i][j], q[j * 2 + i]);
        }
}

TEST(ScanBinary, TransverseTwoByThreeLayout)
{
    // Transverse: Nx = 2 (x = -0.002, 0.002), Ny = 3 (y = -0.001, 0, 0.001); the y index runs fastest.
    const PlaneGrid plane{PlaneKind::Transverse, 0.13, 2, 3, -0.002, -0.001, 0.004, 0.001};
    std::vector<double> q = {0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    const std::vector<double> v = doublesLE(scanResultBytes(plane, q));
    ASSERT_EQ(v.size(), 20u);
    EXPECT_EQ(v[0], 2.0);
    EXPECT_EQ(v[1], 3.0);
    const auto a = readLikeApplication(v, 2, 3, false);
    // Triplet 1 -> point (0, 1), triplet 3 -> point (1, 0).
    EXPECT_DOUBLE_EQ(v[2 + 3 * 1 + 2], a[2][0][1]);
    EXPECT_DOUBLE_EQ(a[2][0][1], 0.6);
    EXPECT_DOUBLE_EQ(a[2][1][0], 0.8);
    EXPECT_DOUBLE_EQ(v[2 + 3 * 3 + 0], 0.002);
    EXPECT_DOUBLE_EQ(v[2 + 3 * 3 + 1], -0.001);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_DOUBLE_EQ(a[0][i][j], plane.coord1(i));
            EXPECT_DOUBLE_EQ(a[1][i][j], plane.coord2(j));
            EXPECT_DOUBLE_EQ(a[2][i][j], q[i * 3 + j]);
        }
    EXPECT_THROW(scanResultBytes(plane, {1.0}), std::invalid_argument);
    EXPECT_EQ(scanResultName(plane.kind), "AbsField_XY.bin");
}

TEST(BestFocus, TiesResolveAsTheApplicationDoes)
{
    // Axial: the application's rows are z positions. Two equal best values: at (z 1, r 2) and at
    // (z 2, r 0). The row with the largest maximum comes first in z, so (z 1, r 2) wins although
    // (z 2, r 0) comes first in the file order (r outer).
    const PlaneGrid axial{PlaneKind::Axial, 0.0, 3, 4, -0.001, 0.05, 0.001, 0.001}; // 3 r x 4 z
    std::vector<double> q(12, 0.2);
    q[2 * 4 + 1] = 1.0; // r 2, z 1
    q[0 * 4 + 2] = 1.0; // r 0, z 2
    EXPECT_EQ(bestFocusPoint(q, axial), 2u * 4 + 1);
    // Within the winning row, the first column (smallest r) holding the maximum.
    q[1 * 4 + 1] = 1.0; // r 1, z 1
    EXPECT_EQ(bestFocusPoint(q, axial), 1u * 4 + 1);

    // Transverse: rows are x positions; equal maxima in rows 1 and 2 -> row 1, first y.
    const PlaneGrid transverse{PlaneKind::Transverse, 0.1, 3, 4, -0.001, -0.001, 0.001, 0.001};
    std::vector<double> t(12, 0.0);
    t[2 * 4 + 0] = 0.9;
    t[1 * 4 + 3] = 0.9;
    t[1 * 4 + 2] = 0.9;
    EXPECT_EQ(bestFocusPoint(t, transverse), 1u * 4 + 2);
    t[0 * 4 + 3] = 0.95; // a strictly larger value wins wherever it is
    EXPECT_EQ(bestFocusPoint(t, transverse), 3u);
}

TEST(PlaneGrid, PointsAndNearestPoint)
{
    const PlaneGrid axial{PlaneKind::Axial, 0.0, 3, 4, -0.002, 0.05, 0.002, 0.01};
    const Point3 p = axial.point(2, 3);
    EXPECT_DOUBLE_EQ(p.x, 0.0);
    EXPECT_DOUBLE_EQ(p.y, 0.002);
    EXPECT_DOUBLE_EQ(p.z, 0.08);
    EXPECT_EQ(axial.points().size(), 12u);
    EXPECT_DOUBLE_EQ(axial.points()[7].z, 0.08); // (1, 3)
    EXPECT_EQ(nearestPoint(axial, {0, 0.0009, 0.0649}), 1u * 4 + 1);
    EXPECT_EQ(nearestPoint(axial, {0, 0.0011, 0.0651}), 2u * 4 + 2);
    EXPECT_EQ(nearestPoint(axial, {0, -1.0, 9.0}), 0u * 4 + 3); // clamped to the grid
    EXPECT_EQ(nearestPoint(axial, {0, NAN, 0.05}), 0u);

    const PlaneGrid transverse{PlaneKind::Transverse, 0.13, 3, 4, -0.002, -0.003, 0.002, 0.002};
    const Point3 t = transverse.point(1, 2);
    EXPECT_DOUBLE_EQ(t.x, 0.0);
    EXPECT_DOUBLE_EQ(t.y, 0.001);
    EXPECT_DOUBLE_EQ(t.z, 0.13);
    // Off-plane focus: only the in-plane offset counts.
    EXPECT_EQ(nearestPoint(transverse, {0.0001, 0.0012, 0.2}), 1u * 4 + 2);
}

TEST(SideMaxes, OneLinePerFocusPosition)
{
    const PlaneGrid focus{PlaneKind::Transverse, 0.1, 1, 2, 0.0, -0.001, 0.001, 0.002};
    const PlaneGrid field{PlaneKind::Transverse, 0.1, 3, 3, -0.004, -0.004, 0.004, 0.004};
    std::vector<FocusQuality> r(2);
    r[0].hasSide = true;
    r[0].sidePoint = 2 * 3 + 1; // (0.004, 0)
    r[0].sideValue = 0.25;
    r[1].hasSide = false;
    std::istringstream in(sideMaxesText(focus, field, r));
    double a, b, c, d, s;
    ASSERT_TRUE(in >> a >> b >> c >> d >> s);
    EXPECT_DOUBLE_EQ(a, 0.0);
    EXPECT_DOUBLE_EQ(b, -0.001);
    EXPECT_DOUBLE_EQ(c, 0.004);
    EXPECT_DOUBLE_EQ(d, 0.0);
    EXPECT_DOUBLE_EQ(s, 0.25);
    std::string rest;
    std::getline(in, rest);
    std::getline(in, rest);
    EXPECT_EQ(rest, "0 0.001 nan nan 0");
    EXPECT_FALSE(std::getline(in, rest));
}
