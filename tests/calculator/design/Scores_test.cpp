#include <gtest/gtest.h>

#include <csignal>
#include <cmath>

#include "../JobFolder.h"
#include "design/Layout.h"
#include "design/ScoreFiles.h"
#include "design/Scores.h"
#include "geometry/ArrayLayout.h"
#include "params/JobError.h"

using namespace kcalc;
using namespace kcalc::design;

namespace {

ArrayGeometry hexagonal(double pitch)
{
    ArrayGeometry array = exampleArray();
    GeneratorSettings s;
    s.kind = Generator::Hexagonal;
    s.count = 0;
    s.pitch = pitch;
    array.elements = generateLayout(array, s);
    return array;
}

TEST(Scores, HexagonalLatticeShowsItsGratingLobeWhereSinThetaPredictsAndRandomLayoutDoesNot)
{
    // Steered 15 mm off the axis along x; lattice rows along x with pitch d. In the focal plane the
    // lobes of a lattice repeat where the phase from row to row turns by 2 pi: sin theta = lambda / d
    // along x (with lambda / (sqrt 3 d) across, the lattice's other directions), theta seen from
    // the centre of curvature, so the first lobes lie at x_s +- R lambda / d, y = +-R lambda / (sqrt 3 d),
    // or at x_s, y = +-2 R lambda / (sqrt 3 d).
    const double d = 10e-3, lambda = 1.5e-3, R = 0.13, xs = 15e-3;
    const ArrayGeometry lattice = hexagonal(d);
    ScoreSettings settings;
    settings.steering = {{xs, 0, R}};
    const Scores hex = computeScores(lattice, water(), settings);
    ASSERT_EQ(hex.steering.size(), 1u);
    const SteeringScore &k = hex.steering[0];
    EXPECT_GT(k.side, 0.5); // a grating lobe, not a side lobe
    EXPECT_NEAR(k.sidePoint.z, R, 1e-12);
    const double sinTheta = lambda / d, step = settings.sideStep * lambda;
    double nearest = 1;
    for (const auto &[gx, gy] : {std::pair{1.0, 1 / std::sqrt(3.0)},
                                 {1.0, -1 / std::sqrt(3.0)},
                                 {-1.0, 1 / std::sqrt(3.0)},
                                 {-1.0, -1 / std::sqrt(3.0)},
                                 {0.0, 2 / std::sqrt(3.0)},
                                 {0.0, -2 / std::sqrt(3.0)}}) {
        const double x = xs + gx * R * sinTheta, y = gy * R * sinTheta;
        if (std::abs(k.sidePoint.x - x) <= step + 1e-9 && std::abs(k.sidePoint.y - y) <= step + 1e-9)
            nearest = 0;
    }
    EXPECT_EQ(nearest, 0) << "side maximum at (" << k.sidePoint.x << ", " << k.sidePoint.y << ")";

    // The same count of elements of the same size, at random.
    ArrayGeometry random = exampleArray();
    GeneratorSettings s;
    s.count = lattice.elements.size();
    random.elements = generateLayout(random, s);
    const Scores scattered = computeScores(random, water(), settings);
    EXPECT_LT(scattered.steering[0].side, 0.5 * k.side);
    EXPECT_GT(scattered.steerableArea, hex.steerableArea);
}

TEST(Scores, HalfPressureWidthOfAKnownProfile)
{
    // A triangle of half-width L crosses 10^(-6/20) at +-L (1 - 10^(-6/20)); linear interpolation is exact.
    const double L = 3;
    for (double offset : {0.0, 0.3, -1.1}) { // the peak on a grid point
        std::vector<double> coord, value;
        for (int i = -40; i <= 40; ++i) {
            coord.push_back(0.1 * i);
            value.push_back(std::max(0.0, 1 - std::abs(0.1 * i - offset) / L));
        }
        EXPECT_NEAR(halfPressureWidth(coord, value), 2 * L * (1 - std::pow(10, -0.3)), 1e-12) << offset;
    }
    EXPECT_EQ(halfPressureWidth({0, 1, 2}, {1, 0.9, 0.8}), 0); // never falls to the level
}

TEST(ScoreFiles, SettingsAndScoresReadBackAndBadLinesAreNamed)
{
    ScoreSettings s;
    s.mainLevel = 0.85;
    s.sideLevel = 0.25;
    s.steering = {{0.001, -0.002, 0.13}, {0, 0, 0.1 / 3}};
    const ScoreSettings back = parseScoreSettings(scoreSettingsText(s));
    EXPECT_EQ(back.mainLevel, 0.85);
    EXPECT_EQ(back.sideLevel, 0.25);
    ASSERT_EQ(back.steering.size(), 2u);
    EXPECT_EQ(back.steering[1].z, 0.1 / 3);
    Scores scores;
    scores.elementCount = 3;
    scores.gain = 1.0 / 7;
    scores.positions = 275;
    scores.steering.push_back({{0.01, 0, 0.13}, 2.5, 0.3, {0, 0.001, 0.12}, 0.95});
    const Scores read = parseScores(scoresText(scores));
    EXPECT_EQ(read.gain, 1.0 / 7);
    EXPECT_EQ(read.positions, 275u);
    ASSERT_EQ(read.steering.size(), 1u);
    EXPECT_EQ(read.steering[0].sidePoint.y, 0.001);
    for (const char *bad : {"main_level x\n", "steering 1 2\n", "speed 3\n", "side_level -1\n"})
        EXPECT_THROW(parseScoreSettings(bad), JobError) << bad;
    EXPECT_THROW(parseScores("gain 3\n"), JobError);
}

// A job folder of the score job: array, medium and elements as the application writes them.
void writeScoreJob(const std::string &dir, const ArrayGeometry &array, const std::string &settings)
{
    testjob::JobDescription job;
    job.array = array;
    job.medium = water();
    testjob::writeJob(dir, job);
    testjob::writeFile(dir + "/score_settings.txt", settings);
}

TEST(ScoreProgram, WritesTheScoresThenCalcdoneStopsOnSignalAndRefusesBadSettings)
{
    ArrayGeometry array = hexagonal(14e-3); // few elements: a quick job
    ScoreSettings settings;
    settings.steering = {{0, 0, 0.13}, {0.01, 0, 0.13}};
    {
        testjob::TempDir dir;
        writeScoreJob(dir.path(), array, scoreSettingsText(settings));
        ASSERT_EQ(testjob::runCalculator(dir.path(), "score --no-gui"), 0) << testjob::readFile(dir.file("stderr.out"));
        ASSERT_TRUE(testjob::exists(dir.file("calcdone")));
        const Scores read = parseScores(testjob::readFile(dir.file("scores.txt")));
        // The job reads the %g-rounded element positions; the gain agrees to that rounding.
        const Scores direct = computeScores(array, water(), settings);
        EXPECT_EQ(read.elementCount, array.elements.size());
        EXPECT_NEAR(read.gain, direct.gain, 1e-4 * direct.gain);
        ASSERT_EQ(read.steering.size(), 2u);
        EXPECT_NEAR(read.steering[1].side, direct.steering[1].side, 1e-3);
    }
    {
        testjob::TempDir dir;
        writeScoreJob(dir.path(), exampleArray(), "side_level 0.3\n"); // no elements at all
        testjob::writeFile(dir.file("array_elements.txt"), "");
        EXPECT_EQ(testjob::runCalculator(dir.path(), "score --no-gui"), 1);
        writeScoreJob(dir.path(), array, "side_level x\n");
        EXPECT_EQ(testjob::runCalculator(dir.path(), "score --no-gui"), 1);
        EXPECT_NE(testjob::readFile(dir.file("log.txt")).find("score_settings.txt"), std::string::npos);
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
    }
    {
        // 600 elements and planes of many points, stopped as soon as it computes.
        testjob::TempDir dir;
        ArrayGeometry big = exampleArray();
        big.elementRadius = 1.5e-3;
        GeneratorSettings s;
        s.count = 600;
        big.elements = generateLayout(big, s);
        writeScoreJob(dir.path(), big, "");
        const pid_t pid = testjob::startComputing(dir.path(), "score --no-gui");
        ASSERT_GE(pid, 0);
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3);
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
        EXPECT_FALSE(testjob::exists(dir.file("scores.txt")));
    }
}

} // namespace
