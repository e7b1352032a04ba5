// kormax-calc jobs over two MPI ranks write the same files, byte for byte, as one process.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "../calculator/JobFolder.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;

namespace {

// Open MPI refuses to start as root (as CI runs) unless told both of these.
const std::string kMpirun = "OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMP_NUM_THREADS=1 "
                            "mpirun --oversubscribe --bind-to none -np ";

void writeScanFolder(const std::string &dir, bool axial)
{
    testjob::JobDescription job;
    job.array = exampleArray();
    job.array.elements = randomLayout(job.array, 64, 5);
    job.medium = water();
    job.focus = {0, 0, 0.13};
    const double dr = 0.17 / 2 / 3 / 50, dz = 0.13 / 240;
    testjob::GridDescription field;
    if (axial) {
        job.grid = {false, 0, 7, 9, -3 * dr, 0.13 - 4 * dz, dr, dz};
        field = {false, 0, 11, 15, -5 * dr, 0.13 - 7 * dz, dr, dz};
    } else {
        job.grid = {true, 0.13, 7, 7, -3 * dr, -3 * dr, dr, dr};
        field = {true, 0.13, 11, 11, -5 * dr, -5 * dr, dr, dr};
    }
    testjob::writeJob(dir, job);
    testjob::writeFile(dir + "/grid_scan.txt", testjob::gridText(field, "\n"));
}

int run(const std::string &dir, const std::string &command)
{
    const int status = std::system(("cd '" + dir + "' && " + command + " 2> stderr.out").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ScanMpi, TwoRanksWriteWhatOneProcessWrites)
{
    for (bool axial : {true, false})
        for (const std::string kind : {"main_max", "side_max"}) {
            SCOPED_TRACE(std::string(axial ? "axial " : "transverse ") + kind);
            testjob::TempDir alone, ranks;
            writeScanFolder(alone.path(), axial);
            writeScanFolder(ranks.path(), axial);
            ASSERT_EQ(run(alone.path(), "'" KORMAX_CALC_EXE "' " + kind + " --no-gui"), 0)
                << testjob::readFile(alone.file("stderr.out"));
            ASSERT_EQ(run(ranks.path(), kMpirun + "2 '" KORMAX_CALC_EXE "' " + kind + " --no-gui"), 0)
                << testjob::readFile(ranks.file("stderr.out"));
            const std::string plane = axial ? "YZ" : "XY";
            std::vector<std::string> files = {"AbsField_" + plane + ".bin", "AbsField_" + plane + ".txt", "calcdone"};
            if (kind == "side_max")
                files.push_back("side_maxes.txt");
            for (const std::string &name : files) {
                ASSERT_TRUE(testjob::exists(ranks.file(name))) << name;
                EXPECT_EQ(testjob::readFile(ranks.file(name)), testjob::readFile(alone.file(name))) << name;
            }
        }
}

TEST(DesignMpi, TwoRanksWriteTheTableOfOneProcessAndBadListsNothing)
{
    const auto writeFolder = [](const testjob::TempDir &dir, const std::string &candidates) {
        testjob::JobDescription job;
        job.array = exampleArray();
        job.medium = water();
        testjob::writeJob(dir.path(), job);
        testjob::writeFile(dir.file("candidates.txt"), candidates);
    };
    const std::string list = "r random count=48 gap=0.0005 seed=3 seeds=2\n"
                             "s spiral count=48 gap=0.0005\n"
                             "o random count=48 gap=0.0005 seed=7 budget=5\n";
    testjob::TempDir alone, ranks;
    writeFolder(alone, list);
    writeFolder(ranks, list);
    ASSERT_EQ(run(alone.path(), "'" KORMAX_CALC_EXE "' design --no-gui"), 0)
        << testjob::readFile(alone.file("stderr.out"));
    ASSERT_EQ(run(ranks.path(), kMpirun + "2 '" KORMAX_CALC_EXE "' design --no-gui"), 0)
        << testjob::readFile(ranks.file("stderr.out"));
    for (const char *name : {"design_scores.txt", "best_1.txt", "best_3.txt", "calcdone"}) {
        ASSERT_TRUE(testjob::exists(ranks.file(name))) << name;
        EXPECT_EQ(testjob::readFile(ranks.file(name)), testjob::readFile(alone.file(name))) << name;
    }
    const std::string table = testjob::readFile(alone.file("design_scores.txt"));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 2 + 1 + 5); // header, ensemble, spiral, search

    // A list that cannot be read, a candidate that cannot be placed: the line or the candidate is
    // named, and no table appears.
    const struct {
        const char *list, *named;
    } bad[] = {{"r random count=48\nx random count=lots\n", "строка 2"},
               {"r random count=48\ncrowded random count=3000\n", "crowded"}};
    for (const auto &c : bad) {
        testjob::TempDir dir;
        writeFolder(dir, c.list);
        EXPECT_EQ(run(dir.path(), kMpirun + "2 '" KORMAX_CALC_EXE "' design --no-gui"), 1) << c.list;
        EXPECT_NE(testjob::readFile(dir.file("log.txt")).find(c.named), std::string::npos) << c.list;
        EXPECT_FALSE(testjob::exists(dir.file("design_scores.txt")));
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
    }
}
