// The quality scan engine: quality values on fields one can reason about, the fast path against
// direct summation, single against double precision, threading variants, cancellation.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "ScanTestSupport.h"

using namespace kcalc::scan;
using kcalc::PlaneGrid;
using kcalc::PlaneKind;
using kcalc::Point3;
using scantest::PointSourceArray;

namespace {

// With one element steered by w = conj(h(F)) / |h(F)| = 1 (h(F) real, positive) the field is
// h itself: a way to put any amplitude map on the grid.
FieldMatrix<double> oneElementField(const std::vector<double> &amplitude)
{
    FieldMatrix<double> h(amplitude.size(), 1);
    for (std::size_t p = 0; p < amplitude.size(); ++p)
        h.at(p, 0) = amplitude[p];
    return h;
}

FieldMatrix<double> focusRows(const std::vector<double> &values)
{
    FieldMatrix<double> h(values.size(), 1);
    for (std::size_t m = 0; m < values.size(); ++m)
        h.at(m, 0) = values[m];
    return h;
}

// Two bumps on a 9 x 9 grid: a peak of 1 at (2,2) and one of 0.3 at (6,6).
std::vector<double> twoPeaks()
{
    std::vector<double> a(81);
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) {
            const double d1 = (i - 2) * (i - 2) + (j - 2) * (j - 2), d2 = (i - 6) * (i - 6) + (j - 6) * (j - 6);
            a[i * 9 + j] = std::exp(-d1 / 2.0) + 0.3 * std::exp(-d2 / 2.0);
        }
    // Exact peak heights: add what the other bump contributes there.
    return a;
}

ScanSettings sideSettings(ScanSettings::Threads t = ScanSettings::Threads::PerThreadProducts)
{
    ScanSettings s;
    s.sideLobes = true;
    s.threads = t;
    return s;
}

} // namespace

TEST(QualityScan, TwoPeakFieldGivesExpectedValues)
{
    const std::vector<double> a = twoPeaks();
    const std::size_t big = 2 * 9 + 2, small = 6 * 9 + 6;
    const FieldMatrix<double> h = oneElementField(a);
    // Two focus positions, each exactly on one of the peaks (|h(F)| = the peak height there).
    const FieldMatrix<double> hF = focusRows({a[big], a[small]});
    const auto r = scanFocusQuality(h, {9, 9}, hF, {big, small}, sideSettings());
    ASSERT_EQ(r.size(), 2u);

    EXPECT_NEAR(r[0].mainValue, 1.0, 1e-15); // the focus is the global maximum
    EXPECT_EQ(r[0].peakPoint, big);
    ASSERT_TRUE(r[0].hasSide);
    EXPECT_EQ(r[0].sidePoint, small);
    EXPECT_NEAR(r[0].sideValue, a[small] / a[big], 1e-15);
    EXPECT_NEAR(r[0].sideValue, 0.3, 1e-3);

    EXPECT_NEAR(r[1].mainValue, a[small] / a[big], 1e-15); // a stronger point elsewhere
    EXPECT_EQ(r[1].peakPoint, small);
    EXPECT_EQ(r[1].sidePoint, big);
    EXPECT_NEAR(r[1].sideValue, a[big] / a[small], 1e-15);
}

TEST(QualityScan, FocusBetweenGridPointsUsesPressureAtTheFocusItself)
{
    // |p(F)| larger than anything on the grid (the focus falls between grid points): q = 1, and
    // s is measured against |p(F)|, not against the nearest grid value.
    const std::vector<double> a = twoPeaks();
    const FieldMatrix<double> h = oneElementField(a);
    const FieldMatrix<double> hF = focusRows({2.0, 0.5});
    const auto r = scanFocusQuality(h, {9, 9}, hF, {2 * 9 + 2, 2 * 9 + 2}, sideSettings());
    EXPECT_DOUBLE_EQ(r[0].mainValue, 1.0);
    EXPECT_DOUBLE_EQ(r[0].focusAmplitude, 2.0);
    EXPECT_NEAR(r[0].sideValue, a[6 * 9 + 6] / 2.0, 1e-15);
    EXPECT_NEAR(r[1].mainValue, 0.5 / a[2 * 9 + 2], 1e-15);
}

TEST(QualityScan, PhaseConjugateFocusOfUnitFieldsIsTheGlobalMaximum)
{
    // Elements whose fields have modulus 1 everywhere (plane waves): |p(x)| <= N = |p(F)| for
    // every x, with equality at F, so q = 1 at every focus position in either precision.
    const std::size_t n = 16, n1 = 7, n2 = 9;
    PlaneGrid grid{PlaneKind::Axial, 0.0, n1, n2, -3e-3, 0.05, 1e-3, 1e-3};
    const auto pts = grid.points();
    FieldMatrix<double> h(pts.size(), n);
    for (std::size_t p = 0; p < pts.size(); ++p)
        for (std::size_t e = 0; e < n; ++e) {
            const double angle = 0.4 * static_cast<double>(e) - 3.0;
            h.at(p, e) = std::polar(1.0, 4000.0 * (pts[p].y * std::sin(angle) + pts[p].z * std::cos(angle)));
        }
    FieldMatrix<double> hF(4, n);
    const std::size_t at[4] = {0, 17, 31, pts.size() - 1};
    for (std::size_t m = 0; m < 4; ++m)
        std::copy(h.row(at[m]), h.row(at[m]) + n, hF.row(m));
    FieldMatrix<float> hf(h.rows, n);
    for (std::size_t k = 0; k < h.values.size(); ++k)
        hf.values[k] = std::complex<float>(h.values[k]);
    ScanSettings full;
    full.pruneByBound = false;
    const auto rd = scanFocusQuality(h, gridShape(grid), hF, {}, full);
    const auto rf = scanFocusQuality(hf, gridShape(grid), hF, {}, full);
    // Pruned: no grid point can exceed |p(F)| = N, so none is even computed.
    const auto rp = scanFocusQuality(hf, gridShape(grid), hF, {}, ScanSettings{});
    for (std::size_t m = 0; m < 4; ++m) {
        EXPECT_EQ(rd[m].mainValue, 1.0);
        EXPECT_NEAR(rd[m].focusAmplitude, 16.0, 1e-12);
        EXPECT_NEAR(rd[m].gridMax, 16.0, 1e-12);
        EXPECT_EQ(rf[m].mainValue, 1.0);
        EXPECT_EQ(rp[m].mainValue, 1.0);
        EXPECT_EQ(rp[m].gridMax, 0.0);
    }
}

TEST(QualityScan, ZeroFieldGivesZeroNotNaN)
{
    const FieldMatrix<double> h = oneElementField(std::vector<double>(12, 0.0));
    const FieldMatrix<double> hF = focusRows({0.0});
    const auto r = scanFocusQuality(h, {3, 4}, hF, {5}, sideSettings());
    EXPECT_EQ(r[0].mainValue, 0.0);
    EXPECT_EQ(r[0].sideValue, 0.0);
    EXPECT_FALSE(r[0].hasSide); // a flat field is all main lobe
}

namespace {
// An axial scan of a 64-element point-source cap: a field region around the focal zone and a
// focus-shift region inside it, both off the grid points of each other.
struct CapScan {
    PointSourceArray array = PointSourceArray::cap(0.06, 0.08, 0.006, 0.008);
    PlaneGrid field{PlaneKind::Axial, 0.0, 31, 41, -0.0075, 0.065, 0.0005, 0.00075};
    PlaneGrid focus{PlaneKind::Axial, 0.0, 7, 9, -0.0031, 0.0712, 0.001, 0.0021};
    FieldMatrix<double> hGrid = array.matrix<double>(field.points());
    FieldMatrix<double> hFocus = array.matrix<double>(focus.points());
    std::vector<std::size_t> start = scantest::nearestPoints(field, focus.points());
};
} // namespace

TEST(QualityScan, FastPathMatchesDirectSummation)
{
    const CapScan c;
    ASSERT_GT(c.array.sources.size(), 40u);
    const auto ref = scantest::directScan(c.hGrid, c.field, c.hFocus, c.start);
    int withSide = 0, notFocal = 0;
    for (auto threads : {ScanSettings::Threads::PerThreadProducts, ScanSettings::Threads::SharedProducts}) {
        ScanSettings s = sideSettings(threads);
        s.blockColumns = 5; // several blocks and a short last one
        const auto r = scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, c.start, s);
        ASSERT_EQ(r.size(), ref.size());
        for (std::size_t m = 0; m < r.size(); ++m) {
            SCOPED_TRACE(m);
            EXPECT_NEAR(r[m].focusAmplitude, ref[m].focusAmplitude, 1e-12 * ref[m].focusAmplitude);
            EXPECT_NEAR(r[m].gridMax, ref[m].gridMax, 1e-12 * ref[m].gridMax);
            EXPECT_NEAR(r[m].mainValue, ref[m].mainValue, 1e-12);
            EXPECT_EQ(r[m].peakPoint, ref[m].peakPoint);
            EXPECT_EQ(r[m].hasSide, ref[m].hasSide);
            EXPECT_EQ(r[m].sidePoint, ref[m].sidePoint);
            EXPECT_NEAR(r[m].sideValue, ref[m].sideValue, 1e-12);
            withSide += r[m].hasSide;
            notFocal += r[m].mainValue < 0.999;
        }
    }
    // The case must exercise what it claims: side maxima exist and q varies.
    EXPECT_GT(withSide, 0);
    EXPECT_GT(notFocal, 0);
}

TEST(QualityScan, SinglePrecisionStaysWithin1e4OfDouble)
{
    const CapScan c;
    FieldMatrix<float> hf(c.hGrid.rows, c.hGrid.cols);
    for (std::size_t k = 0; k < hf.values.size(); ++k)
        hf.values[k] = std::complex<float>(c.hGrid.values[k]);
    const auto rd = scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, c.start, sideSettings());
    const auto rf = scanFocusQuality(hf, gridShape(c.field), c.hFocus, c.start, sideSettings());
    double worstQ = 0, worstS = 0;
    for (std::size_t m = 0; m < rd.size(); ++m) {
        worstQ = std::max(worstQ, std::abs(rf[m].mainValue - rd[m].mainValue));
        worstS = std::max(worstS, std::abs(rf[m].sideValue - rd[m].sideValue));
    }
    EXPECT_LT(worstQ, 1e-4);
    EXPECT_LT(worstS, 1e-4);
}

TEST(QualityScan, BoundPruningGivesTheSameMainMaxima)
{
    // Main-maxima scans skip the lobe search and, pruned, the points that cannot beat the focus;
    // q is that of the full computation (up to the rounding of a product over other rows).
    const CapScan c;
    FieldMatrix<float> hf(c.hGrid.rows, c.hGrid.cols);
    for (std::size_t k = 0; k < hf.values.size(); ++k)
        hf.values[k] = std::complex<float>(c.hGrid.values[k]);
    const auto ref = scantest::directScan(c.hGrid, c.field, c.hFocus, c.start);
    for (auto threads : {ScanSettings::Threads::PerThreadProducts, ScanSettings::Threads::SharedProducts}) {
        ScanSettings s;
        s.threads = threads;
        s.blockColumns = 6;
        const auto pd = scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, {}, s);
        const auto pf = scanFocusQuality(hf, gridShape(c.field), c.hFocus, {}, s);
        for (std::size_t m = 0; m < ref.size(); ++m) {
            SCOPED_TRACE(m);
            EXPECT_NEAR(pd[m].mainValue, ref[m].mainValue, 1e-12);
            EXPECT_NEAR(pf[m].mainValue, ref[m].mainValue, 1e-6);
            EXPECT_NEAR(pd[m].focusAmplitude, ref[m].focusAmplitude, 1e-14 * ref[m].focusAmplitude);
            // Where a stronger point exists its value is found; elsewhere at most |p(F)| is seen.
            if (ref[m].mainValue < 1)
                EXPECT_NEAR(pd[m].gridMax, ref[m].gridMax, 1e-12 * ref[m].gridMax);
            else
                EXPECT_LE(pd[m].gridMax, ref[m].gridMax * (1 + 1e-12));
        }
    }

    // One element carrying a two-peak map (U = |p| there): focused on the big peak nothing on the
    // grid can be stronger, so nothing is computed; focused on the small one, only the points above
    // it are, and the big peak is among them.
    const std::vector<double> a = twoPeaks();
    const std::size_t big = 2 * 9 + 2, small = 6 * 9 + 6;
    const auto r = scanFocusQuality(oneElementField(a), {9, 9}, focusRows({a[big], a[small]}), {}, ScanSettings{});
    EXPECT_EQ(r[0].mainValue, 1.0);
    EXPECT_EQ(r[0].gridMax, 0.0);
    EXPECT_NEAR(r[1].mainValue, a[small] / a[big], 1e-15);
    EXPECT_NEAR(r[1].gridMax, a[big], 1e-15);
}

TEST(QualityScan, CancelAndBadInput)
{
    const CapScan c;
    ScanSettings s = sideSettings();
    s.blockColumns = 4;
    std::size_t calls = 0;
    EXPECT_THROW(scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, c.start, s,
                                  [&](std::size_t, std::size_t) { return ++calls < 2; }),
                 ScanCancelled);
    EXPECT_GE(calls, 1u);

    std::size_t last = 0, total = 0;
    scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, c.start,
                     sideSettings(ScanSettings::Threads::SharedProducts), [&](std::size_t d, std::size_t t) {
                         last = d;
                         total = t;
                         return true;
                     });
    EXPECT_EQ(last, c.hFocus.rows);
    EXPECT_EQ(total, c.hFocus.rows);

    EXPECT_THROW(scanFocusQuality(c.hGrid, GridShape{30, 41}, c.hFocus, c.start, s), std::invalid_argument);
    EXPECT_THROW(scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, {}, s), std::invalid_argument);
    std::vector<std::size_t> outside = c.start;
    outside[3] = c.field.pointCount();
    EXPECT_THROW(scanFocusQuality(c.hGrid, gridShape(c.field), c.hFocus, outside, s), std::invalid_argument);
}

TEST(QualityScan, FocusedAmplitudeIsTheSteeredField)
{
    const CapScan c;
    const std::size_t m = 23;
    const auto ref = scantest::directScan(c.hGrid, c.field, c.hFocus, c.start);
    const std::vector<double> amp = focusedAmplitude(c.hGrid, c.hFocus.row(m));
    ASSERT_EQ(amp.size(), c.field.pointCount());
    EXPECT_NEAR(*std::max_element(amp.begin(), amp.end()), ref[m].gridMax, 1e-12 * ref[m].gridMax);
    // At a grid point, |p| is |sum_n w_n h_n|; compare one point by hand.
    std::complex<double> sum = 0;
    for (std::size_t n = 0; n < c.hGrid.cols; ++n)
        sum += std::conj(c.hFocus.at(m, n)) / std::abs(c.hFocus.at(m, n)) * c.hGrid.at(77, n);
    EXPECT_NEAR(amp[77], std::abs(sum), 1e-12 * std::abs(sum));
}
