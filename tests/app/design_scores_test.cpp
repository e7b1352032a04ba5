// The scores of the example array against the readings of its field computed the usual way: the
// field job's plane over the default transverse plane, read as a field result window reads it.
#include <gtest/gtest.h>

#include "build_list_of_elem.h"
#include "design/Scores.h"
#include "field/FieldPlane.h"
#include "field_metrics.h"
#include "geometry/ArrayLayout.h"
#include "main_params.h"
#include "shared_params.h"

namespace {

TEST(DesignScores, ExampleScoresMatchTheFieldOfTheUsualRoad)
{
    mainparams::setExampleArray();
    ASSERT_TRUE(build_list_of_elem(KORMAX_SOURCE_DIR "/data/shipped/Elements_Quist_Marvane.txt"));
    kcalc::ArrayGeometry array;
    array.aperture = shared::A;
    array.curvatureRadius = double(shared::R);
    array.elementRadius = shared::r;
    array.frequency = shared::nu;
    array.holeRadius = shared::rotv;
    for (const VDOUB &e : shared::Elem)
        array.elements.push_back({e[0], e[1]});
    const kcalc::design::Scores scores = kcalc::design::computeScores(array, kcalc::water(), {});

    // The default transverse plane: 101 x 101 points over +-A/6 at z = R, focus at (0, 0, R).
    kcalc::JobInput job;
    job.array = array;
    job.medium = kcalc::water();
    job.focus = {0, 0, array.curvatureRadius};
    const double step = array.aperture / 2 / 3 / 50;
    job.grid = {kcalc::PlaneKind::Transverse, array.curvatureRadius, 101, 101, -50 * step, -50 * step, step, step};
    const kcalc::FieldPlaneResult field = kcalc::computeFieldPlane(job);
    VDOUB3 z(3, VDOUB2(101, VDOUB(101)));
    for (int i = 0; i < 101; ++i)
        for (int j = 0; j < 101; ++j) {
            z[0][i][j] = job.grid.coord1(i);
            z[1][i][j] = job.grid.coord2(j);
            z[2][i][j] = field.values[static_cast<std::size_t>(i * 101 + j)];
        }
    const FieldMetrics readings = fieldMetrics(z, 20);

    EXPECT_NEAR(scores.gain, 50.43, 0.05);
    EXPECT_NEAR(scores.gain, field.focusPressure, 1e-9 * field.focusPressure);
    ASSERT_TRUE(readings.x6.found);
    EXPECT_NEAR(scores.lateralWidth, readings.x6.width(), 1e-9);
    EXPECT_NEAR(scores.lateralWidth, 1.57e-3, 0.01e-3); // as the README reads the window
    EXPECT_EQ(scores.elementCount, 256u);
}

} // namespace
