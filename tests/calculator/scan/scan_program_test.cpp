// kormax-calc running scan jobs on job folders written as the application writes them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <csignal>

#include <sys/stat.h>
#include <sys/wait.h>

#include "../JobFolder.h"
#include "field/ElementFieldModel.h"
#include "geometry/ArrayLayout.h"
#include "scan/ScanJobFiles.h"

using namespace kcalc;

namespace {

// The example array with 64 elements; an axial scan 5 x 7 positions in a 9 x 15 field region, or
// a transverse one 5 x 5 in 9 x 9, with the steps of the quality windows' defaults.
struct ScanFolder {
    testjob::JobDescription job;
    testjob::GridDescription fieldRegion; // grid_scan.txt
    bool crlf = false;

    explicit ScanFolder(bool axial)
    {
        job.array = exampleArray();
        job.array.elements = randomLayout(job.array, 64, 5);
        job.medium = water();
        job.focus = {0, 0, 0.13};
        const double dr = 0.17 / 2 / 3 / 50, dz = 0.13 / 240;
        if (axial) {
            job.grid = {false, 0, 5, 7, -2 * dr, 0.13 - 3 * dz, dr, dz};
            fieldRegion = {false, 0, 9, 15, -4 * dr, 0.13 - 7 * dz, dr, dz};
        } else {
            job.grid = {true, 0.13, 5, 5, -2 * dr, -2 * dr, dr, dr};
            fieldRegion = {true, 0.13, 9, 9, -4 * dr, -4 * dr, dr, dr};
        }
    }
    void write(const std::string &dir) const
    {
        testjob::JobDescription s = job;
        s.crlf = crlf;
        testjob::writeJob(dir, s);
        testjob::writeFile(dir + "/grid_scan.txt", testjob::gridText(fieldRegion, crlf ? "\r\n" : "\n"));
    }
};

std::vector<double> readDoubles(const std::string &path)
{
    const std::string b = testjob::readFile(path);
    std::vector<double> v(b.size() / 8);
    std::memcpy(v.data(), b.data(), v.size() * 8); // little-endian host
    return v;
}

} // namespace

TEST(ScanProgram, MainAndSideJobsWriteTheirResultsThenCalcdone)
{
    for (bool axial : {true, false})
        for (const char *kind : {"main_max", "side_max"}) {
            SCOPED_TRACE(std::string(axial ? "axial " : "transverse ") + kind);
            const bool side = std::strcmp(kind, "side_max") == 0;
            testjob::TempDir dir;
            ScanFolder folder(axial);
            folder.crlf = side;
            folder.write(dir.path());
            testjob::writeFile(dir.file("calcdone"), ""); // left by an earlier run
            ASSERT_EQ(testjob::runCalculator(dir.path(), std::string(kind) + " --no-gui"), 0)
                << testjob::readFile(dir.file("stderr.out"));
            EXPECT_TRUE(testjob::exists(dir.file("calcdone")));

            // The library's computation of the same job, value by value.
            const scan::ScanJobInput input = scan::readScanJobInput(dir.path());
            const scan::ScanJobSetup setup =
                scan::scanJobSetup(input, side ? scan::ScanKind::SideMaxima : scan::ScanKind::MainMaxima);
            const scan::ScanJobResult expected =
                scan::computeScanJob(setup, ElementFieldModel(input.array, input.medium));
            const std::vector<double> values = expected.values(setup.kind);

            const std::string bin = axial ? "AbsField_YZ.bin" : "AbsField_XY.bin";
            const std::vector<double> v = readDoubles(dir.file(bin));
            ASSERT_EQ(v.size(), 3 * setup.focus.pointCount() + 2);
            EXPECT_EQ(v[0], double(scan::appNx(setup.focus)));
            EXPECT_EQ(v[1], double(scan::appNy(setup.focus)));
            for (std::size_t k = 0; k < setup.focus.pointCount(); ++k) {
                EXPECT_DOUBLE_EQ(v[2 + 3 * k], setup.focus.coord1(k / setup.focus.count2));
                EXPECT_DOUBLE_EQ(v[3 + 3 * k], setup.focus.coord2(k % setup.focus.count2));
                EXPECT_DOUBLE_EQ(v[4 + 3 * k], values[k]);
                EXPECT_GE(v[4 + 3 * k], 0.0);
                if (!side) {
                    EXPECT_LE(v[4 + 3 * k], 1.0);
                }
            }

            // The field at the best focus in the field result layout; header 7 is its maximum.
            const std::string txt = axial ? "AbsField_YZ.txt" : "AbsField_XY.txt";
            const std::vector<double> t = testjob::readNumbers(dir.file(txt));
            ASSERT_EQ(t.size(), 7 + 3 * setup.field.pointCount());
            EXPECT_DOUBLE_EQ(t[0], setup.field.start1);
            EXPECT_DOUBLE_EQ(t[3], setup.field.start2);
            EXPECT_DOUBLE_EQ(t[6], expected.bestFieldMax);
            double top = 0;
            for (std::size_t p = 0; p < setup.field.pointCount(); ++p) {
                EXPECT_DOUBLE_EQ(t[7 + 3 * p + 2], expected.bestField[p]);
                top = std::max(top, t[7 + 3 * p + 2]);
            }
            EXPECT_DOUBLE_EQ(t[6], top);
            // A focused array: the best focus is the strongest point of its field.
            EXPECT_DOUBLE_EQ(expected.quality[expected.best].mainValue, 1.0);

            EXPECT_EQ(testjob::exists(dir.file("side_maxes.txt")), side);
            EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
            EXPECT_TRUE(testjob::readFile(dir.file("log.txt")).find("calcdone") != std::string::npos);
        }
}

TEST(ScanProgram, JobErrorsLeaveNoCalcdone)
{
    struct Case {
        const char *what;
        void (*spoil)(const std::string &dir, ScanFolder &f);
        const char *named; // the file the message must name
    };
    const Case cases[] = {
        {"no grid_scan.txt",
         [](const std::string &dir, ScanFolder &) { std::remove((dir + "/grid_scan.txt").c_str()); }, "grid_scan.txt"},
        {"zero step in the field region",
         [](const std::string &dir, ScanFolder &f) {
             f.fieldRegion.step2 = 0;
             testjob::writeFile(dir + "/grid_scan.txt", testjob::gridText(f.fieldRegion, "\n"));
         },
         "grid_scan.txt"},
        {"one focus position across",
         [](const std::string &dir, ScanFolder &f) {
             f.job.grid.count1 = 1;
             testjob::writeFile(dir + "/grid_calc.txt", testjob::gridText(f.job.grid, "\n"));
         },
         "grid_calc.txt"},
        {"transverse field region for an axial focus region",
         [](const std::string &dir, ScanFolder &f) {
             f.fieldRegion.transverse = true;
             testjob::writeFile(dir + "/grid_scan.txt", testjob::gridText(f.fieldRegion, "\n"));
         },
         "grid_scan.txt"},
        {"no elements",
         [](const std::string &dir, ScanFolder &) { testjob::writeFile(dir + "/array_elements.txt", ""); },
         "array_elements.txt"},
        {"grids too large for memory",
         [](const std::string &dir, ScanFolder &f) {
             f.fieldRegion.count1 = f.fieldRegion.count2 = 9999;
             testjob::writeFile(dir + "/grid_scan.txt", testjob::gridText(f.fieldRegion, "\n"));
         },
         "grid_scan.txt"},
    };
    for (const Case &c : cases)
        for (const char *kind : {"main_max", "side_max"}) {
            SCOPED_TRACE(std::string(c.what) + ", " + kind);
            testjob::TempDir dir;
            ScanFolder folder(true);
            folder.write(dir.path());
            c.spoil(dir.path(), folder);
            testjob::writeFile(dir.file("calcdone"), ""); // an earlier run's marker must go too
            EXPECT_EQ(testjob::runCalculator(dir.path(), std::string(kind) + " --no-gui"), 1);
            EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
            EXPECT_FALSE(testjob::exists(dir.file("AbsField_YZ.bin")));
            // The error line itself names the file (other log lines name files too).
            for (const std::string &name : {std::string("stderr.out"), std::string("log.txt")}) {
                const std::string text = testjob::readFile(dir.file(name));
                const std::size_t at = text.find("ОШИБКА: ");
                ASSERT_NE(at, std::string::npos) << text;
                const std::string line = text.substr(at, text.find('\n', at) - at);
                EXPECT_NE(line.find(c.named), std::string::npos) << line;
            }
        }
}

TEST(ScanProgram, StoppedScanLeavesNoResultsAndNoCalcdone)
{
    // A side-maxima scan of 256 elements, 41 x 81 positions in 151 x 301 points, far longer than
    // any machine takes to deliver the signal; stopped as soon as it computes.
    testjob::TempDir dir;
    ScanFolder folder(true);
    folder.job.array.elements = randomLayout(folder.job.array, 256, 5);
    folder.job.grid.count1 = 41;
    folder.job.grid.count2 = 81;
    folder.fieldRegion.count1 = 151;
    folder.fieldRegion.count2 = 301;
    folder.fieldRegion.start1 = -75 * folder.fieldRegion.step1;
    folder.fieldRegion.start2 = 0.13 - 150 * folder.fieldRegion.step2;
    folder.write(dir.path());
    const pid_t pid = testjob::startComputing(dir.path(), "side_max --no-gui");
    ASSERT_GE(pid, 0);
    EXPECT_EQ(testjob::stopRun(pid, SIGTERM), 3) << testjob::readFile(dir.file("stderr.out"));
    for (const char *name : {"calcdone", "AbsField_YZ.bin", "AbsField_YZ.txt", "side_maxes.txt"})
        EXPECT_FALSE(testjob::exists(dir.file(name))) << name;
}

TEST(ScanProgram, ShippedBatchFilesRunTheirJobs)
{
    // The application directory as installed: kormax-calc beside the job folders, each with its
    // shipped Trovane.bat, started with the job folder as working directory.
    for (const char *kind : {"main_max", "side_max"}) {
        SCOPED_TRACE(kind);
        testjob::TempDir app;
        const std::string folder = app.file(kind);
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        testjob::writeFile(folder + "/Trovane.bat",
                           testjob::readFile(std::string(KORMAX_APP_DIR) + "/" + kind + "/Trovane.bat"));
        ASSERT_EQ(::chmod((folder + "/Trovane.bat").c_str(), 0755), 0);
        ASSERT_EQ(::symlink(KORMAX_CALC_EXE, app.file("kormax-calc").c_str()), 0);
        ScanFolder(false).write(folder);
        const std::string command = "cd '" + folder + "' && QT_QPA_PLATFORM=offscreen ./Trovane.bat 2> stderr.out";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << testjob::readFile(folder + "/stderr.out");
        EXPECT_TRUE(testjob::exists(folder + "/calcdone"));
        EXPECT_EQ(testjob::readFile(folder + "/AbsField_XY.bin").size(), (3u * 5 * 5 + 2) * 8);
        EXPECT_TRUE(testjob::exists(folder + "/AbsField_XY.txt"));
        EXPECT_EQ(testjob::exists(folder + "/side_maxes.txt"), std::string(kind) == "side_max");
    }
}
