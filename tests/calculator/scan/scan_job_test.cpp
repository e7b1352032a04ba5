// A whole scan job on a synthetic array: results against direct summation, the best focus and its
// field, the files written, precision at the default side-maxima regions.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "../JobFolder.h"
#include "ScanTestSupport.h"
#include "scan/ScanJob.h"

using namespace kcalc::scan;
using kcalc::PlaneGrid;
using kcalc::PlaneKind;
using scantest::PointSourceArray;

namespace {

std::string makeTempDir()
{
    std::string t = ::testing::TempDir() + "scan_job_XXXXXX";
    char *d = ::mkdtemp(t.data());
    return d ? std::string(d) : std::string();
}

bool exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::size_t fileSize(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

// The default regions of the side-maxima buttons for the example array's R and A: focus shift
// 6 x 25 counts (11 x 25 points), field 9 x 31 counts (17 x 31 points), same steps.
ScanJobSetup sideDefaults()
{
    const double R = 0.13, A = 0.17;
    const double dr = A / 2 / 3 / 5, dz = R / 24;
    ScanJobSetup s;
    s.kind = ScanKind::SideMaxima;
    s.focus = PlaneGrid{PlaneKind::Axial, 0.0, 11, 25, -5 * dr, R / 2, dr, dz};
    s.field = PlaneGrid{PlaneKind::Axial, 0.0, 17, 31, -8 * dr, R - 1.25 * R / 2, dr, dz};
    return s;
}

} // namespace

TEST(ScanJob, MatchesDirectSummationAndWritesItsFiles)
{
    const PointSourceArray array = PointSourceArray::cap(0.17, 0.13, 0.0088, 0.02);
    ScanJobSetup setup = sideDefaults();
    setup.doublePrecision = true;
    std::size_t reported = 0;
    const ScanJobResult r = computeScanJob(setup, array, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, setup.focus.pointCount());
        reported = std::max(reported, done);
        return true;
    });
    EXPECT_EQ(reported, setup.focus.pointCount());

    const auto hGrid = array.matrix<double>(setup.field.points());
    const auto hFocus = array.matrix<double>(setup.focus.points());
    const auto ref =
        scantest::directScan(hGrid, setup.field, hFocus, scantest::nearestPoints(setup.field, setup.focus.points()));
    ASSERT_EQ(r.quality.size(), ref.size());
    std::vector<double> q(ref.size());
    int onePositions = 0;
    for (std::size_t m = 0; m < ref.size(); ++m) {
        SCOPED_TRACE(m);
        EXPECT_NEAR(r.quality[m].mainValue, ref[m].mainValue, 1e-12);
        EXPECT_NEAR(r.quality[m].sideValue, ref[m].sideValue, 1e-12);
        // The array is symmetric about y = 0, so mirror-image side maxima tie up to rounding:
        // whichever was taken must hold the side value.
        const std::vector<double> amp = focusedAmplitude(hGrid, hFocus.row(m));
        EXPECT_NEAR(amp[r.quality[m].sidePoint] / r.quality[m].focusAmplitude, ref[m].sideValue, 1e-12);
        q[m] = r.quality[m].mainValue;
        onePositions += q[m] == 1.0;
    }
    // Foci on grid points that are the strongest point of their field get q = 1 exactly, so the
    // best focus is decided by position: the first along z (the application's rows), then along y.
    ASSERT_GT(onePositions, 1);
    const std::size_t nr = setup.focus.count1, nz = setup.focus.count2;
    std::size_t best = q.size();
    for (std::size_t iz = 0; iz < nz && best == q.size(); ++iz)
        for (std::size_t ir = 0; ir < nr && best == q.size(); ++ir)
            if (q[ir * nz + iz] == 1.0)
                best = ir * nz + iz;
    EXPECT_EQ(r.best, best);
    ASSERT_EQ(r.bestField.size(), setup.field.pointCount());
    EXPECT_NEAR(r.bestFieldMax, ref[r.best].gridMax, 1e-12 * ref[r.best].gridMax);

    const std::string dir = makeTempDir();
    ASSERT_FALSE(dir.empty());
    writeScanResults(dir, setup, r);
    EXPECT_EQ(fileSize(dir + "/AbsField_YZ.bin"), (3 * setup.focus.pointCount() + 2) * 8);
    EXPECT_GT(fileSize(dir + "/AbsField_YZ.txt"), 0u);
    std::ifstream side(dir + "/side_maxes.txt");
    std::string line;
    std::size_t lines = 0;
    while (std::getline(side, line))
        ++lines;
    EXPECT_EQ(lines, setup.focus.pointCount());

    // A main-maxima job writes no side maxima.
    const std::string dir2 = makeTempDir();
    setup.kind = ScanKind::MainMaxima;
    setup.focus.kind = setup.field.kind = PlaneKind::Transverse;
    setup.focus.fixed = setup.field.fixed = 0.08;
    writeScanResults(dir2, setup, r);
    EXPECT_TRUE(exists(dir2 + "/AbsField_XY.bin"));
    EXPECT_FALSE(exists(dir2 + "/side_maxes.txt"));
    EXPECT_TRUE(testjob::partFiles(dir2).empty());
}

TEST(ScanJob, SinglePrecisionAtDefaultSideRegionsOfAFullArray)
{
    // 256-ish point sources on the example array's cap, the default side-maxima regions.
    const PointSourceArray array = PointSourceArray::cap(0.17, 0.13, 0.0088, 0.02);
    ASSERT_GT(array.sources.size(), 200u);
    ScanJobSetup setup = sideDefaults();
    const ScanJobResult single = computeScanJob(setup, array);
    setup.doublePrecision = true;
    const ScanJobResult dbl = computeScanJob(setup, array);
    double worstQ = 0, worstS = 0;
    int sides = 0;
    for (std::size_t m = 0; m < dbl.quality.size(); ++m) {
        worstQ = std::max(worstQ, std::abs(single.quality[m].mainValue - dbl.quality[m].mainValue));
        worstS = std::max(worstS, std::abs(single.quality[m].sideValue - dbl.quality[m].sideValue));
        sides += dbl.quality[m].hasSide;
    }
    EXPECT_LT(worstQ, 1e-4);
    EXPECT_LT(worstS, 1e-4);
    EXPECT_GT(sides, 0);
    EXPECT_EQ(single.best, dbl.best);
}

TEST(ScanJob, RejectsMixedPlanesAndStopsOnCancel)
{
    const PointSourceArray array = PointSourceArray::cap(0.06, 0.08, 0.006, 0.008);
    ScanJobSetup setup = sideDefaults();
    setup.field.kind = PlaneKind::Transverse;
    EXPECT_THROW(computeScanJob(setup, array), std::invalid_argument);
    setup = sideDefaults();
    EXPECT_THROW(computeScanJob(setup, array, [](std::size_t done, std::size_t) { return done < 100; }), ScanCancelled);
}
