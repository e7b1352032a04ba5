// Main-lobe search on hand-made grids: climb, flood fill, plateaus, grid edges.

#include <gtest/gtest.h>

#include <vector>

#include "scan/MainLobe.h"

using kcalc::scan::GridShape;
using kcalc::scan::LobeSearch;
using kcalc::scan::MainLobeFinder;

namespace {
// Rows of the grid are the first axis: v[i][j] -> flat i * n2 + j.
std::vector<double> flat(const std::vector<std::vector<double>> &rows)
{
    std::vector<double> v;
    for (const auto &r : rows)
        v.insert(v.end(), r.begin(), r.end());
    return v;
}
} // namespace

TEST(MainLobe, TwoPeaksSeparatedByValley)
{
    const auto v = flat({{1, 2, 1, 0, 1, 2, 1}, {2, 9, 2, 0, 2, 5, 2}, {1, 2, 1, 0, 1, 2, 1}});
    MainLobeFinder finder({3, 7});
    // Start on the slope of the big peak: climb to (1,1); its lobe runs down into the valley and
    // up no further, so the small peak (1,5) is the side maximum.
    LobeSearch r = finder.find(v.data(), 0 * 7 + 2);
    EXPECT_EQ(r.peak, 1u * 7 + 1);
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 1u * 7 + 5);
    EXPECT_DOUBLE_EQ(r.sideValue, 5);
    EXPECT_EQ(r.lobeSize, 3u * 4); // columns 0..3: the valley column is reached going down
    for (std::size_t p = 0; p < v.size(); ++p)
        EXPECT_EQ(finder.inLobe(p), p % 7 <= 3) << p;

    // From the other side the roles swap and the big peak is the side maximum.
    r = finder.find(v.data(), 2 * 7 + 6);
    EXPECT_EQ(r.peak, 1u * 7 + 5);
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 1u * 7 + 1);
    EXPECT_DOUBLE_EQ(r.sideValue, 9);
    EXPECT_FALSE(finder.inLobe(1 * 7 + 1));
    EXPECT_TRUE(finder.inLobe(1 * 7 + 3));
}

TEST(MainLobe, SinglePeakLeavesNoSideMaximum)
{
    const auto v = flat({{1, 2, 3, 2}, {2, 4, 6, 3}, {1, 3, 4, 2}});
    MainLobeFinder finder({3, 4});
    const LobeSearch r = finder.find(v.data(), 0);
    EXPECT_EQ(r.peak, 1u * 4 + 2);
    EXPECT_FALSE(r.hasSide);
    EXPECT_EQ(r.lobeSize, 12u);
}

TEST(MainLobe, SteepestAscentTakesLargestNeighbourNotFirstLarger)
{
    // From the centre (2,2) the first larger neighbour in scan order leads to the 5-peak at
    // (0,0), but the largest neighbour (3,3) leads to the 8-peak at (4,4).
    const auto v = flat({{5, 0, 0, 0, 0}, {0, 3, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 4, 0}, {0, 0, 0, 0, 8}});
    MainLobeFinder finder({5, 5});
    const LobeSearch r = finder.find(v.data(), 2 * 5 + 2);
    EXPECT_EQ(r.peak, 4u * 5 + 4);
    ASSERT_TRUE(r.hasSide);
    // The zero plain flows out of the 8-peak, but the 3 and the 5 rise above it.
    EXPECT_EQ(r.sidePoint, 0u);
    EXPECT_DOUBLE_EQ(r.sideValue, 5);
    EXPECT_TRUE(finder.inLobe(2 * 5 + 2));
    EXPECT_FALSE(finder.inLobe(1 * 5 + 1));
}

TEST(MainLobe, ClimbTiesGoToFirstNeighbourInOrder)
{
    // Two equal larger neighbours (0,1) and (2,1) of the start (1,1): the first in order, (0,1).
    const auto v = flat({{0, 7, 0}, {0, 1, 0}, {0, 7, 0}});
    MainLobeFinder finder({3, 3});
    const LobeSearch r = finder.find(v.data(), 4);
    EXPECT_EQ(r.peak, 1u);
    // The lobe flows down from (0,1) over the zeros and the 1, but not up to the other 7.
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 7u);
    EXPECT_DOUBLE_EQ(r.sideValue, 7);
}

TEST(MainLobe, PlateausBelongToTheLobeButRisesDoNot)
{
    // Flat top (three 9s), a flat shoulder of 4s, and beyond a step up to 6 and a plateau of 6s.
    const auto v = flat({{9, 9, 9, 4, 4, 6, 6}, {8, 8, 8, 4, 4, 6, 6}});
    MainLobeFinder finder({2, 7});
    // Start on the flat top: no neighbour is strictly larger, so the start itself is the peak.
    const LobeSearch r = finder.find(v.data(), 1);
    EXPECT_EQ(r.peak, 1u);
    ASSERT_TRUE(r.hasSide);
    EXPECT_DOUBLE_EQ(r.sideValue, 6);
    EXPECT_EQ(r.sidePoint, 5u); // first of the equal 6s in index order
    EXPECT_EQ(r.lobeSize, 10u);
    for (std::size_t p : {0u, 2u, 3u, 4u, 7u, 9u, 10u, 11u})
        EXPECT_TRUE(finder.inLobe(p)) << p;
    for (std::size_t p : {5u, 6u, 12u, 13u})
        EXPECT_FALSE(finder.inLobe(p)) << p;
}

TEST(MainLobe, ClimbDoesNotMoveAlongAPlateau)
{
    // A start in the middle of a plateau next to a higher point two steps away stays put:
    // equal neighbours are no ascent; the higher point is then outside the lobe.
    const auto v = flat({{3, 3, 3, 3, 5}});
    MainLobeFinder finder({1, 5});
    const LobeSearch r = finder.find(v.data(), 1);
    EXPECT_EQ(r.peak, 1u);
    EXPECT_EQ(r.lobeSize, 4u);
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 4u);
}

TEST(MainLobe, GridEdgesDoNotWrapAround)
{
    // In flat storage the end of row 0 (the 7-peak) is followed by the start of row 1 (the 1),
    // but they are not neighbours: the 1 sits among 6s that rise out of the lobe's zeros.
    const auto v = flat({{6, 6, 0, 7}, {1, 6, 0, 0}, {6, 6, 0, 0}});
    MainLobeFinder finder({3, 4});
    const LobeSearch r = finder.find(v.data(), 3);
    EXPECT_EQ(r.peak, 3u);
    EXPECT_EQ(r.lobeSize, 6u); // the peak and the five zeros
    EXPECT_FALSE(finder.inLobe(4));
    EXPECT_FALSE(finder.inLobe(8));
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 0u);
    EXPECT_DOUBLE_EQ(r.sideValue, 6);
}

TEST(MainLobe, CornerPeakAndSingleRowGrid)
{
    const auto v = flat({{7, 6, 5, 6, 7}});
    MainLobeFinder finder({1, 5});
    LobeSearch r = finder.find(v.data(), 1);
    EXPECT_EQ(r.peak, 0u);
    ASSERT_TRUE(r.hasSide);
    EXPECT_EQ(r.sidePoint, 4u);
    EXPECT_EQ(r.lobeSize, 3u);
    r = finder.find(v.data(), 3); // the finder is reused: marks of the last search are gone
    EXPECT_EQ(r.peak, 4u);
    EXPECT_EQ(r.sidePoint, 0u);
    EXPECT_FALSE(finder.inLobe(0));
    EXPECT_TRUE(finder.inLobe(2));
}

TEST(MainLobe, WorksOnFloatValuesAndRejectsBadInput)
{
    const std::vector<float> v = {1, 3, 1, 2};
    MainLobeFinder finder({2, 2});
    const LobeSearch r = finder.find(v.data(), 3);
    EXPECT_EQ(r.peak, 1u);
    EXPECT_FALSE(r.hasSide);
    EXPECT_THROW(finder.find(v.data(), 4), std::out_of_range);
    EXPECT_THROW(MainLobeFinder(GridShape{0, 3}), std::invalid_argument);
}
