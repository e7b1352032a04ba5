#include "heating/HeatingReadings.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace kcalc;

namespace {
VolumeGrid box()
{
    VolumeGrid g;
    g.nx = 41;
    g.ny = 31;
    g.nz = 61;
    g.dx = g.dy = 0.25e-3;
    g.dz = 0.5e-3;
    g.x0 = -5e-3;
    g.y0 = -3.75e-3;
    g.z0 = 0.1;
    return g;
}
} // namespace

TEST(HeatingReadings, LesionExtentsOfAGaussianDoseMatchTheThresholdEllipsoid)
{
    // dose = D0 exp(-(x/a)^2 - (y/b)^2 - ((z - zc)/c)^2) reaches the threshold on the ellipsoid with
    // semi-axes a, b, c times sqrt(ln(D0 / threshold)): the extents are twice that.
    const VolumeGrid g = box();
    const double a = 1e-3, b = 0.7e-3, c = 4e-3, zc = 0.115, D0 = 5000, threshold = 240;
    std::vector<double> dose(g.pointCount()), amplitude(g.pointCount()), peak(g.pointCount(), 37.0);
    for (long i = 0; i < g.nx; ++i)
        for (long j = 0; j < g.ny; ++j)
            for (long k = 0; k < g.nz; ++k) {
                const Point3 p = g.point(i, j, k);
                const double e = std::pow(p.x / a, 2) + std::pow(p.y / b, 2) + std::pow((p.z - zc) / c, 2);
                dose[g.index(i, j, k)] = D0 * std::exp(-e);
                amplitude[g.index(i, j, k)] = std::exp(-e);
                peak[g.index(i, j, k)] = 37 + 30 * std::exp(-e);
            }
    // A hot spot far from the focus: the highest temperature outside the focal region.
    peak[g.index(2, 3, 5)] = 45;
    const HeatingReadings r = heatingReadings(g, amplitude, peak, dose, threshold, 37);
    const double s = std::sqrt(std::log(D0 / threshold));
    ASSERT_TRUE(r.lesion);
    EXPECT_NEAR(r.lesionWidthX, 2 * a * s, 0.02 * 2 * a * s);
    EXPECT_NEAR(r.lesionWidthY, 2 * b * s, 0.02 * 2 * b * s);
    EXPECT_NEAR(r.lesionLength, 2 * c * s, 0.02 * 2 * c * s);
    EXPECT_NEAR(r.peakTemperature, 67, 1e-9);
    EXPECT_NEAR(r.peakAt.z, zc, 1e-12);
    // |p| halves at sqrt(ln 2) semi-axes: the focal region is kFocalRegionScale times that.
    EXPECT_NEAR(r.focalSemiAxisZ, kFocalRegionScale * c * std::sqrt(std::log(2.0)), 0.05 * c);
    EXPECT_DOUBLE_EQ(r.outsideTemperature, 45);
    EXPECT_NEAR(r.outsideAt.x, g.point(2, 3, 5).x, 1e-15);

    // No point reaching the threshold: no lesion.
    EXPECT_FALSE(heatingReadings(g, amplitude, peak, dose, 1e9, 37).lesion);
}
