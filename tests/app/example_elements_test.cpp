#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <cmath>
#include <set>

#include "build_list_of_elem.h"
#include "shared_params.h"

// The shipped example array: 256 elements of radius 3.5 mm on a cap of aperture 17 cm with a hole of
// radius 2 cm. Constraints are checked in the aperture plane with the full element radius (the
// stricter reading: the tilted disc projects narrower than that).
namespace {
const double elementRadius = 0.0035; // m
const double rimRadius = 0.085;      // m
const double holeRadius = 0.02;      // m

void loadCommittedFile()
{
    const QString path = QString(KORMAX_SOURCE_DIR) + "/data/shipped/Elements_Quist_Marvane.txt";
    ASSERT_TRUE(QFile::exists(path));
    ASSERT_TRUE(build_list_of_elem(path));
}
} // namespace

TEST(ExampleElements, TwoHundredFiftySixElementsBetweenHoleAndRim)
{
    loadCommittedFile();
    ASSERT_EQ(shared::Elem.size(), 256u);
    for (const VDOUB &e : shared::Elem) {
        const double rho = std::hypot(e[0], e[1]);
        EXPECT_GE(rho - elementRadius, holeRadius) << e[0] << " " << e[1];
        EXPECT_LE(rho + elementRadius, rimRadius) << e[0] << " " << e[1];
    }
}

TEST(ExampleElements, NoTwoElementsOverlap)
{
    loadCommittedFile();
    double closest = 1;
    for (size_t i = 0; i < shared::Elem.size(); ++i)
        for (size_t j = i + 1; j < shared::Elem.size(); ++j)
            closest = std::min(
                closest, std::hypot(shared::Elem[i][0] - shared::Elem[j][0], shared::Elem[i][1] - shared::Elem[j][1]));
    EXPECT_GE(closest, 2 * elementRadius);
}

TEST(ExampleElements, LayoutIsIrregular)
{
    // A lattice or ring layout repeats its neighbour distances and radii; a random one does not.
    loadCommittedFile();
    std::vector<double> nearest;
    std::set<long> radii;
    for (size_t i = 0; i < shared::Elem.size(); ++i) {
        double best = 1;
        for (size_t j = 0; j < shared::Elem.size(); ++j)
            if (i != j)
                best = std::min(
                    best, std::hypot(shared::Elem[i][0] - shared::Elem[j][0], shared::Elem[i][1] - shared::Elem[j][1]));
        nearest.push_back(best);
        radii.insert(std::lround(std::hypot(shared::Elem[i][0], shared::Elem[i][1]) * 1e4)); // 0.1 mm
    }
    double mean = 0;
    for (double d : nearest)
        mean += d;
    mean /= nearest.size();
    double var = 0;
    for (double d : nearest)
        var += (d - mean) * (d - mean);
    const double spread = std::sqrt(var / nearest.size()) / mean;
    EXPECT_GT(spread, 0.03);
    EXPECT_GT(radii.size(), 200u);
    // Spread over the whole annulus: some elements near the hole, some near the rim.
    const auto [lo, hi] = std::minmax_element(radii.begin(), radii.end());
    EXPECT_LT(*lo, 260);
    EXPECT_GT(*hi, 780);
}

TEST(ExampleElements, ShipsInTheApplicationDirectory)
{
    EXPECT_TRUE(QFile::exists(QString(KORMAX_APP_DIR) + "/Elements_Quist_Marvane.txt"));
}
