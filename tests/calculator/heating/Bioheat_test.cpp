// The bioheat solver against independent answers: the closed-form time integral of the heat
// kernel for a Gaussian source in an infinite medium (with and without perfusion), the deposited
// energy (no perfusion), CEM43 of piecewise-constant temperatures, and the absorbed power against
// the decay of a plane wave's intensity.
#include "heating/Bioheat.h"

#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "heating/ThermalDose.h"

using namespace kcalc;

namespace {

// Liver-like tissue; perfusion as a parameter.
ThermalProperties tissue(double perfusion)
{
    ThermalProperties t;
    t.density = 1079;
    t.heatCapacity = 3540;
    t.conductivity = 0.52;
    t.perfusion = perfusion;
    t.bloodHeatCapacity = 3617;
    return t;
}

// q0 exp(-|x - c|^2 / (2 sigma^2)) on the region.
std::vector<double> gaussianSource(const VolumeGrid &g, const Point3 &c, double sigma, double q0)
{
    std::vector<double> q(g.pointCount());
    for (long i = 0; i < g.nx; ++i)
        for (long j = 0; j < g.ny; ++j)
            for (long k = 0; k < g.nz; ++k) {
                const Point3 p = g.point(i, j, k);
                const double r2 = (p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) + (p.z - c.z) * (p.z - c.z);
                q[g.index(i, j, k)] = q0 * std::exp(-r2 / (2 * sigma * sigma));
            }
    return q;
}

// The infinite-medium rise at distance r from the centre of the Gaussian source at time t: the
// source switched on at 0 and off at th contributes, for every moment of emission, the heat kernel
// after the delay s,
//   u(r, t) = Integral_{max(0, t - th)}^{t} q0 / (rho C) e^(-beta s) (sigma^2 / (sigma^2 + 2 D s))^(3/2)
//             exp(-r^2 / (2 (sigma^2 + 2 D s))) ds,
// evaluated by composite Simpson's rule on 2000 intervals.
double referenceRise(double r, double t, double th, double sigma, double q0, const ThermalProperties &m)
{
    const double D = m.diffusivity(), beta = m.perfusionRate(), rhoC = m.density * m.heatCapacity;
    const double a = std::max(0.0, t - th), b = t;
    if (b <= a)
        return 0;
    const auto f = [&](double s) {
        const double w = sigma * sigma + 2 * D * s;
        return q0 / rhoC * std::exp(-beta * s) * std::pow(sigma * sigma / w, 1.5) * std::exp(-r * r / (2 * w));
    };
    const int n = 2000;
    const double h = (b - a) / n;
    double sum = f(a) + f(b);
    for (int i = 1; i < n; ++i)
        sum += f(a + i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

struct GaussianCase {
    const char *name;
    double perfusion;  // kg/(m^3 s)
    Point3 centreCell; // source centre in cells from the region's first point
    double sigma;      // m
};

} // namespace

class GaussianSource : public ::testing::TestWithParam<GaussianCase>
{};

TEST_P(GaussianSource, MatchesClosedFormTimeIntegralWithinOnePercentOfPeakRise)
{
    // A 33^3 region of 0.4 mm cells, 4 s on and 4 s off. The probe curve at the source centre and
    // the temperature map at the end of heating across the region are compared; a narrow source
    // 3.5 sigma from the region's edge shows what the padding leaves of the periodic images.
    const GaussianCase c = GetParam();
    const ThermalProperties m = tissue(c.perfusion);
    VolumeGrid g;
    g.nx = g.ny = g.nz = 33;
    g.dx = g.dy = g.dz = 0.4e-3;
    const Point3 centre{c.centreCell.x * g.dx, c.centreCell.y * g.dy, c.centreCell.z * g.dz};
    const double sigma = c.sigma, q0 = 2e7 * std::pow(1.2e-3 / sigma, 2);
    Sonication s;
    s.heatingTime = 4;
    s.coolingTime = 4;
    s.doseStep = 0.1;
    const BioheatLayout layout = bioheatLayout(g, m, s);
    const std::size_t probe = g.index(long(c.centreCell.x), long(c.centreCell.y), long(c.centreCell.z));
    const BioheatResult r = solveBioheat(layout, gaussianSource(g, centre, sigma, q0), m, s, probe);

    double peakRise = 0;
    for (double t : r.times)
        peakRise = std::max(peakRise, referenceRise(0, t, s.heatingTime, sigma, q0, m));
    double worstCurve = 0;
    for (std::size_t n = 0; n < r.times.size(); ++n)
        worstCurve = std::max(
            worstCurve, std::fabs(r.probe[n] - s.baseline - referenceRise(0, r.times[n], s.heatingTime, sigma, q0, m)));
    double worstMap = 0;
    for (long i = 0; i < g.nx; i += 4)
        for (long j = 0; j < g.ny; j += 4)
            for (long k = 0; k < g.nz; k += 2) {
                const Point3 p = g.point(i, j, k);
                const double d = std::sqrt((p.x - centre.x) * (p.x - centre.x) + (p.y - centre.y) * (p.y - centre.y)
                                           + (p.z - centre.z) * (p.z - centre.z));
                const double ref = referenceRise(d, s.heatingTime, s.heatingTime, sigma, q0, m);
                worstMap = std::max(worstMap, std::fabs(r.endOfHeating[g.index(i, j, k)] - s.baseline - ref));
            }
    std::printf("%s: padding %.2f mm, box %ld x %ld x %ld, peak rise %.3f K, largest error %.2e K (curve), %.2e K "
                "(map)\n",
                c.name, paddingLength(m, s) * 1e3, layout.nx, layout.ny, layout.nz, peakRise, worstCurve, worstMap);
    EXPECT_GT(peakRise, 5);
    EXPECT_LT(worstCurve, 0.01 * peakRise);
    EXPECT_LT(worstMap, 0.01 * peakRise);
    ASSERT_EQ(r.times.size(), 81u);
    EXPECT_NEAR(r.times.back(), 8, 1e-12);

    // The dose at the centre against the reference curve integrated finely (Simpson, 0.005 s).
    double refDose = 0;
    const int n = 1600;
    const double h = 8.0 / n;
    for (int i = 0; i <= n; ++i) {
        const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
        refDose += w * cem43Minutes(s.baseline + referenceRise(0, i * h, s.heatingTime, sigma, q0, m), h / 3);
    }
    EXPECT_NEAR(r.dose[probe], refDose, 0.01 * refDose);
}

INSTANTIATE_TEST_SUITE_P(Bioheat, GaussianSource,
                         ::testing::Values(GaussianCase{"no perfusion, centred", 0, {16, 16, 16}, 1.2e-3},
                                           GaussianCase{"liver perfusion, centred", 16, {16, 16, 16}, 1.2e-3},
                                           GaussianCase{
                                               "no perfusion, near the region's edge", 0, {7, 16, 25}, 0.8e-3}),
                         [](const auto &info) { return std::to_string(info.index); });

TEST(Bioheat, DepositedEnergyIsConservedWithoutPerfusion)
{
    // Integral of rho C (T - 37) over the region at the end of heating equals the energy the source
    // deposited, q summed over the cells times the heating time (the region holds all but a
    // negligible tail of the heat after 3 s).
    const ThermalProperties m = tissue(0);
    VolumeGrid g;
    g.nx = 31;
    g.ny = 25;
    g.nz = 37;
    g.dx = 0.4e-3;
    g.dy = 0.5e-3;
    g.dz = 0.45e-3;
    Sonication s;
    s.heatingTime = 3;
    s.coolingTime = 0;
    const std::vector<double> q = gaussianSource(g, g.point(15, 12, 18), 1e-3, 2e6);
    const BioheatResult r = solveBioheat(bioheatLayout(g, m, s), q, m, s, g.index(15, 12, 18));
    const double cell = g.dx * g.dy * g.dz;
    double deposited = 0, held = 0;
    for (std::size_t i = 0; i < q.size(); ++i) {
        deposited += q[i] * cell * s.heatingTime;
        held += m.density * m.heatCapacity * (r.endOfHeating[i] - s.baseline) * cell;
    }
    std::printf("deposited %.6g J, held in the region %.6g J\n", deposited, held);
    EXPECT_NEAR(held, deposited, 1e-3 * deposited);
}

TEST(ThermalDose, Cem43IsExactForPiecewiseConstantTemperatures)
{
    struct Piece {
        double T, seconds;
    };
    const struct {
        std::vector<Piece> pieces;
        double minutes;
    } table[] = {
        {{{44, 120}}, 4},
        {{{43, 60}}, 1},
        {{{42, 60}}, 0.25},
        {{{50, 1}}, 128.0 / 60},
        {{{37, 600}, {44, 120}, {40, 240}}, 10 * std::pow(0.25, 6) + 4 + 4 * std::pow(0.25, 3)},
    };
    for (const auto &row : table) {
        double dose = 0;
        for (const Piece &p : row.pieces)
            dose += cem43Minutes(p.T, p.seconds);
        EXPECT_NEAR(dose, row.minutes, 1e-12 * row.minutes);
    }
}

TEST(AbsorbedPower, EqualsTheDecayOfAPlaneWavesIntensity)
{
    // |p| = p0 exp(-alpha z): I = |p|^2 / (2 rho c) and the power absorbed per volume is -dI/dz.
    const double alpha = 5.76, p0 = 1e6, rho = 1060, c = 1595, h = 1e-5;
    std::vector<double> amplitude;
    for (int i = 0; i < 3; ++i)
        amplitude.push_back(std::exp(-alpha * (0.05 + (i - 1) * h)));
    const std::vector<double> q = absorbedPower(amplitude, p0, alpha, rho, c);
    const auto I = [&](int i) { return std::pow(p0 * amplitude[i], 2) / (2 * rho * c); };
    EXPECT_NEAR(q[1], -(I(2) - I(0)) / (2 * h), 1e-6 * q[1]);
}
