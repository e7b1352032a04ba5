#include <gtest/gtest.h>

#include <cmath>

#include "design/Layout.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;
using namespace kcalc::design;

namespace {

// The rules checked the plain way: every pair, every element.
struct Violations {
    std::size_t pairs = 0, rim = 0, hole = 0;
};
Violations bruteForce(const ArrayGeometry &array, const std::vector<ElementPosition> &e, double gap)
{
    Violations v;
    const double a = array.elementRadius, R = array.curvatureRadius;
    for (std::size_t n = 0; n < e.size(); ++n) {
        const double rho = std::hypot(e[n].x, e[n].y);
        v.rim += rho + a > array.aperture / 2 + 1e-12;
        v.hole += rho - a < array.holeRadius - 1e-12;
        const Point3 cn = elementFrame(e[n], R).centre;
        for (std::size_t m = n + 1; m < e.size(); ++m) {
            const Point3 cm = elementFrame(e[m], R).centre;
            const double d = std::sqrt((cn.x - cm.x) * (cn.x - cm.x) + (cn.y - cm.y) * (cn.y - cm.y)
                                       + (cn.z - cm.z) * (cn.z - cm.z));
            v.pairs += d < 2 * a + gap;
        }
    }
    return v;
}

struct Case {
    const char *name;
    Generator kind;
    std::size_t count;
    double gap, pitch;
};

class EveryGenerator : public ::testing::TestWithParam<Case>
{};

TEST_P(EveryGenerator, KeepsRimHoleAndGapOverManySeedsAndPlacesTheCount)
{
    const Case c = GetParam();
    const ArrayGeometry array = exampleArray();
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        GeneratorSettings s;
        s.kind = c.kind;
        s.count = c.count;
        s.gap = c.gap;
        s.pitch = c.pitch;
        s.seed = seed;
        const std::vector<ElementPosition> e = generateLayout(array, s);
        if (c.count) {
            ASSERT_EQ(e.size(), c.count) << c.name << " seed " << seed;
        }
        const Violations v = bruteForce(array, e, c.gap);
        EXPECT_EQ(v.pairs, 0u) << c.name << " seed " << seed;
        EXPECT_EQ(v.rim, 0u) << c.name << " seed " << seed;
        EXPECT_EQ(v.hole, 0u) << c.name << " seed " << seed;
        const LayoutCheck check = checkLayout(array, e, c.gap);
        EXPECT_TRUE(check.valid()) << c.name;
        EXPECT_GE(check.smallestGap, c.gap - 1e-9) << c.name;
        // Same seed, same layout.
        const std::vector<ElementPosition> again = generateLayout(array, s);
        ASSERT_EQ(again.size(), e.size());
        EXPECT_EQ(again.back().x, e.back().x);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, EveryGenerator,
                         ::testing::Values(Case{"random 256", Generator::Random, 256, 0.5e-3, 0},
                                           Case{"random as many as fit", Generator::Random, 0, 1e-3, 0},
                                           Case{"spiral 200", Generator::Spiral, 200, 0.5e-3, 0},
                                           Case{"hexagonal 256", Generator::Hexagonal, 256, 0.5e-3, 0},
                                           Case{"hexagonal full", Generator::Hexagonal, 0, 0.5e-3, 0},
                                           Case{"hexagonal pitch 10 mm", Generator::Hexagonal, 0, 0.5e-3, 10e-3},
                                           Case{"rings 256", Generator::Rings, 256, 0.5e-3, 0},
                                           Case{"rings full", Generator::Rings, 0, 2e-3, 0},
                                           Case{"jittered 200", Generator::JitteredHexagonal, 200, 0.5e-3, 0},
                                           Case{"jittered narrow pitch", Generator::JitteredHexagonal, 0, 0.5e-3,
                                                8e-3}),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(Layout, RandomSeedsGiveDifferentLayouts)
{
    GeneratorSettings s;
    const std::vector<ElementPosition> one = generateLayout(exampleArray(), s);
    s.seed = 2;
    const std::vector<ElementPosition> two = generateLayout(exampleArray(), s);
    EXPECT_NE(one.front().x, two.front().x);
}

TEST(Layout, SpiralTurnsEachElementByTheGoldenAngle)
{
    GeneratorSettings s;
    s.kind = Generator::Spiral;
    s.count = 150;
    const std::vector<ElementPosition> e = generateLayout(exampleArray(), s);
    EXPECT_NEAR(goldenAngle() * 180 / M_PI, 137.5077640500378, 1e-9);
    for (std::size_t i = 1; i < e.size(); ++i) {
        const double turn = std::remainder(std::atan2(e[i].y, e[i].x) - std::atan2(e[i - 1].y, e[i - 1].x), 2 * M_PI);
        EXPECT_NEAR(std::remainder(turn - goldenAngle(), 2 * M_PI), 0, 1e-9) << i;
    }
}

TEST(Layout, HexagonalLatticeHasSixNeighboursAtItsPitch)
{
    GeneratorSettings s;
    s.kind = Generator::Hexagonal;
    s.count = 0;
    s.pitch = 9e-3;
    const std::vector<ElementPosition> e = generateLayout(exampleArray(), s);
    std::size_t sixFold = 0;
    for (const ElementPosition &p : e) {
        int neighbours = 0;
        double nearest = 1;
        for (const ElementPosition &q : e) {
            const double d = std::hypot(p.x - q.x, p.y - q.y);
            if (d > 0)
                nearest = std::min(nearest, d);
            neighbours += std::abs(d - s.pitch) < 1e-9;
        }
        EXPECT_NEAR(nearest, s.pitch, 1e-9);
        sixFold += neighbours == 6;
    }
    EXPECT_GT(sixFold, e.size() / 2); // inner ones; the rim and the hole cut the others
}

TEST(Layout, TooManyElementsSaysHowManyFitAndThatCountThenFits)
{
    const ArrayGeometry array = exampleArray();
    for (Generator kind :
         {Generator::Random, Generator::Spiral, Generator::Hexagonal, Generator::Rings, Generator::JitteredHexagonal}) {
        GeneratorSettings s;
        s.kind = kind;
        s.count = 600;
        s.gap = 1e-3;
        try {
            generateLayout(array, s);
            ADD_FAILURE() << "600 elements of 7 mm fit";
        } catch (const LayoutError &e) {
            ASSERT_GT(e.fit, 100u) << static_cast<int>(kind);
            ASSERT_LT(e.fit, 600u);
            EXPECT_NE(std::string(e.what()).find(std::to_string(e.fit)), std::string::npos) << e.what();
            if (kind != Generator::Random) { // dart throwing may place fewer on another run
                s.count = e.fit;
                EXPECT_EQ(generateLayout(array, s).size(), e.fit) << static_cast<int>(kind);
            }
        }
    }
}

TEST(Layout, ImpossibleConstraintsAreRefusedWithNothingPlaced)
{
    ArrayGeometry big = exampleArray();
    big.elementRadius = 0.1; // larger than the aperture
    GeneratorSettings s;
    for (Generator kind : {Generator::Random, Generator::Spiral, Generator::Hexagonal, Generator::Rings}) {
        s.kind = kind;
        EXPECT_THROW(generateLayout(big, s), LayoutError);
    }
    GeneratorSettings wideGap;
    wideGap.gap = 0.2; // no two elements on the cap
    wideGap.count = 2;
    try {
        generateLayout(exampleArray(), wideGap);
        ADD_FAILURE();
    } catch (const LayoutError &e) {
        EXPECT_EQ(e.fit, 1u);
    }
    GeneratorSettings noCount;
    noCount.kind = Generator::Spiral;
    noCount.count = 0;
    EXPECT_THROW(generateLayout(exampleArray(), noCount), LayoutError);
    GeneratorSettings negative;
    negative.gap = -1;
    EXPECT_THROW(generateLayout(exampleArray(), negative), std::invalid_argument);
}

TEST(LayoutCheck, CountsEveryKindOfFaultOfAHandMadeLayout)
{
    const ArrayGeometry array = exampleArray(); // a = 3.5 mm, hole 2 cm, rim 8.5 cm
    const std::vector<ElementPosition> e = {
        {0.03, 0},    {0.0372, 0},    // 7.2 mm apart: 0.2 mm gap
        {0.05, 0.01}, {0.0560, 0.01}, // 6 mm apart: overlapping
        {0.083, 0},                   // beyond the rim
        {0, -0.021},                  // in the hole
    };
    const LayoutCheck c = checkLayout(array, e, 0.5e-3);
    EXPECT_EQ(c.count, 6u);
    EXPECT_EQ(c.closePairs, 2u);
    EXPECT_EQ(c.overlappingPairs, 1u);
    EXPECT_EQ(c.outsideAperture, 1u);
    EXPECT_EQ(c.insideHole, 1u);
    EXPECT_FALSE(c.valid());
    // Smallest gap: the 6 mm pair, measured between its centres on the cap (they differ in x and z).
    const Point3 p = elementFrame(e[2], array.curvatureRadius).centre,
                 q = elementFrame(e[3], array.curvatureRadius).centre;
    EXPECT_NEAR(c.smallestGap, std::sqrt((p.x - q.x) * (p.x - q.x) + (p.z - q.z) * (p.z - q.z)) - 7e-3, 1e-12);
    EXPECT_LT(c.smallestGap, 0);
    // A hemisphere without hole: surface 2 pi R^2.
    ArrayGeometry half = array;
    half.aperture = 2 * half.curvatureRadius;
    half.holeRadius = 0;
    EXPECT_NEAR(capArea(half), 2 * M_PI * 0.13 * 0.13, 1e-12);
    EXPECT_NEAR(checkLayout(half, e, 0).fillFactor, 6 * M_PI * 3.5e-3 * 3.5e-3 / (2 * M_PI * 0.13 * 0.13), 1e-12);
}

} // namespace
