// The kormax-calc program on job folders written as the application writes them.
#include <chrono>
#include <csignal>
#include <set>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "JobFolder.h"
#include "field/FieldPlane.h"
#include "geometry/ArrayLayout.h"
#include "jobs/Jobs.h"
#include "params/JobInput.h"

using namespace kcalc;

namespace {

testjob::JobDescription smallJob(bool transverse, bool crlf)
{
    testjob::JobDescription s;
    s.array = exampleArray();
    s.array.elements = randomLayout(s.array, 64, 17);
    s.medium = water();
    s.focus = {0.002, 0, 0.12};
    s.crlf = crlf;
    if (transverse) { // Nxp = 4, Nyp = 3, dxp = 0.001, dyp = 0.002 at z = 0.12
        s.grid.transverse = true;
        s.grid.fixed = 0.12;
        s.grid.count1 = 7;
        s.grid.count2 = 5;
        s.grid.start1 = -0.003;
        s.grid.start2 = -0.004;
        s.grid.step1 = 0.001;
        s.grid.step2 = 0.002;
    } else { // Nrpr = 3, drpr = 0.0015, zminpr = 0.1, Nzpr = 9, dzpr = 0.005
        s.grid.transverse = false;
        s.grid.count1 = 5;
        s.grid.count2 = 9;
        s.grid.start1 = -0.003;
        s.grid.start2 = 0.1;
        s.grid.step1 = 0.0015;
        s.grid.step2 = 0.005;
    }
    return s;
}

// A job that runs for several seconds: the example array over a large transverse plane.
testjob::JobDescription longJob()
{
    testjob::JobDescription s = smallJob(true, false);
    s.array.elements = randomLayout(s.array, 256, 17);
    s.grid.count1 = s.grid.count2 = 401;
    s.grid.start1 = s.grid.start2 = -0.03;
    s.grid.step1 = s.grid.step2 = 0.00015;
    return s;
}

// Starts a shell command in a child process and returns its pid (negative when fork failed).
pid_t startShell(const std::string &command)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}
} // namespace

TEST(KormaxCalc, FieldJobWritesBothLayoutsThenCalcdone)
{
    for (bool transverse : {true, false})
        for (bool crlf : {false, true}) {
            testjob::TempDir dir;
            const testjob::JobDescription job = smallJob(transverse, crlf);
            testjob::writeJob(dir.path(), job);
            testjob::writeFile(dir.file("calcdone"), ""); // left by an earlier run
            ASSERT_EQ(testjob::runCalculator(dir.path()), 0) << testjob::readFile(dir.file("stderr.out"));
            EXPECT_TRUE(testjob::exists(dir.file("calcdone")));
            const std::string name = transverse ? "AbsField_XY.txt" : "AbsField_YZ.txt";
            EXPECT_FALSE(testjob::exists(dir.file(transverse ? "AbsField_YZ.txt" : "AbsField_XY.txt")));
            EXPECT_TRUE(testjob::partFiles(dir.path()).empty());

            // The library's own computation of the same files, record by record.
            const JobInput input = readJobInput(dir.path());
            const FieldPlaneResult expected = computeFieldPlane(input);
            const std::vector<double> numbers = testjob::readNumbers(dir.file(name));
            const std::size_t n1 = static_cast<std::size_t>(job.grid.count1),
                              n2 = static_cast<std::size_t>(job.grid.count2);
            ASSERT_EQ(numbers.size(), 7 + 3 * n1 * n2);
            EXPECT_DOUBLE_EQ(numbers[0], job.grid.start1);
            EXPECT_DOUBLE_EQ(numbers[1], job.grid.step1);
            EXPECT_NEAR(numbers[2], job.grid.start1 + (n1 - 1) * job.grid.step1, 1e-15);
            EXPECT_DOUBLE_EQ(numbers[3], job.grid.start2);
            EXPECT_DOUBLE_EQ(numbers[4], job.grid.step2);
            EXPECT_NEAR(numbers[5], job.grid.start2 + (n2 - 1) * job.grid.step2, 1e-15);
            EXPECT_NEAR(numbers[6], expected.maximum, 1e-12 * expected.maximum);
            for (std::size_t i1 = 0; i1 < n1; ++i1)
                for (std::size_t i2 = 0; i2 < n2; ++i2) {
                    const double *record = &numbers[7 + 3 * (i1 * n2 + i2)];
                    EXPECT_NEAR(record[0], job.grid.start1 + i1 * job.grid.step1, 1e-15);
                    EXPECT_NEAR(record[1], job.grid.start2 + i2 * job.grid.step2, 1e-15);
                    EXPECT_NEAR(record[2], expected.values[i1 * n2 + i2], 1e-12 * expected.maximum);
                }
            // |p(F)|/p0 for the application, as computed.
            const std::vector<double> focus = testjob::readNumbers(dir.file("focus_pressure.txt"));
            ASSERT_EQ(focus.size(), 1u);
            EXPECT_DOUBLE_EQ(focus[0], expected.focusPressure);
            const std::string log = testjob::readFile(dir.file("log.txt"));
            EXPECT_NE(log.find(name), std::string::npos);
            EXPECT_NE(log.find("calcdone"), std::string::npos);
        }
}

TEST(KormaxCalc, EveryInputErrorEndsWithMessageAndNoCalcdone)
{
    struct Case {
        const char *file;
        std::string bytes; // replaces the file; empty: the file is removed
        const char *value; // expected in the message besides the file's name
    };
    const std::string A = testjob::kAperture, R = testjob::kCurvature, a = testjob::kElementRadius,
                      f = testjob::kFrequency, h = testjob::kHole, name = std::string(testjob::kArrayName) + "\r\n";
    const auto arrayWith = [&](const char *Rv, const char *av, const char *fv) {
        return name + A + "     0.17\r\n" + R + "     " + Rv + "\r\n" + a + "     " + av + "\r\n" + f + "    " + fv
               + "\r\n" + h + "     0.02";
    };
    const auto mediumWith = [](const char *ro, const char *c) {
        return std::string(testjob::kMediumName) + "\t\t\tWater\n" + testjob::kDensity + "\t\t" + ro + "\n"
               + testjob::kSpeed + "\t" + c + "\n" + testjob::kHeat + "\t\t4200\n" + testjob::kAbsorption + "\t0";
    };
    const std::vector<Case> cases = {
        {"array.txt", "", "array.txt"},
        {"array.txt", arrayWith("0", "0.0035", "1e+06"), "R = 0"},
        {"array.txt", arrayWith("-0.13", "0.0035", "1e+06"), "R = -0.13"},
        {"array.txt", arrayWith("0.13", "0", "1e+06"), "a = 0"},
        {"array.txt", arrayWith("0.13", "0.0035", "0"), "f = 0"},
        {"array.txt", arrayWith("0.13", "0.0035", "1e+06x"), "1e+06x"},
        // Magnitudes that would overflow or underflow the arithmetic, and geometry the parameter
        // input refuses (an element radius of 10 m on R = 0.13 m).
        {"array.txt", arrayWith("1e+200", "0.0035", "1e+06"), "R = 1e+200"},
        {"array.txt", arrayWith("0.13", "1e+200", "1e+06"), "a = 1e+200"},
        {"array.txt", arrayWith("0.13", "0.0035", "1e+200"), "f = 1e+200"},
        {"array.txt", arrayWith("0.13", "10", "1e+06"), "радиус элемента превышает радиус решетки"},
        {"medium.txt", mediumWith("1000", "1e-300"), "c = 1e-300"},
        {"medium.txt", mediumWith("1000", "4e-320"), "c = 4e-320"},
        {"focus.txt", "0\n0\n1e+300", "1e+300"},
        {"grid_calc.txt", "xy\n-1e+308\n3\n3\n0\n-0.001\n0.001\n0.001", "-1e+308"},
        {"grid_calc.txt", "xy\n0.13\n3\n3\n1e+308\n-0.001\n0.001\n0.001", "1e+308"},
        {"grid_calc.txt", "xy\n0.13\n1e+06\n3\n0\n-0.001\n0.5\n0.001", "конец первой оси"},
        // A line without its value quotes the label readably (the log is UTF-8).
        {"array.txt",
         name + A + "     0.17\r\n" + R + "     0.13\r\n" + a + "     0.0035\r\n" + f + "\r\n" + h + "     0.02",
         "\"Гц:\" не является числом"},
        {"medium.txt", mediumWith("0", "1500"), "ro = 0"},
        {"medium.txt", mediumWith("1000", "-1500"), "c = -1500"},
        {"medium.txt", mediumWith("1000", "nan"), "nan"},
        {"array_elements.txt", "", "array_elements.txt"},
        {"array_elements.txt", std::string(" "), "ни одного"},
        {"array_elements.txt", "0.01 -0.02\n0.2 0.01\n", "x = 0.2"},
        {"focus.txt", "0\n0\n", "строка 3"},
        {"grid_calc.txt", "xy\n0.13\n1\n3\n0\n-0.001\n0.001\n0.001", "1 (строка 3)"},
        {"grid_calc.txt", "yz\n0\n3\n1\n0\n-0.001\n0.001\n0.001", "1 (строка 4)"},
        {"grid_calc.txt", "xy\n0.13\n3\n3\n0\n-0.001\n0\n0.001", "0 (строка 7)"},
        {"grid_calc.txt", "xy\n0.13\n3\n3\n0\n-0.001\n0.001\n-0.001", "-0.001 (строка 8)"},
        {"grid_calc.txt", "ab\n0.13\n3\n3\n0\n-0.001\n0.001\n0.001", "ab"},
    };
    for (const Case &c : cases) {
        testjob::TempDir dir;
        testjob::writeJob(dir.path(), smallJob(true, false));
        testjob::writeFile(dir.file("calcdone"), ""); // an earlier run's marker must not survive
        if (c.bytes.empty())
            std::remove(dir.file(c.file).c_str());
        else
            testjob::writeFile(dir.file(c.file), c.bytes);
        EXPECT_EQ(testjob::runCalculator(dir.path()), 1) << c.file << " " << c.value;
        EXPECT_FALSE(testjob::exists(dir.file("calcdone"))) << c.value;
        EXPECT_FALSE(testjob::exists(dir.file("AbsField_XY.txt"))) << c.value;
        for (const char *where : {"stderr.out", "log.txt"}) {
            const std::string text = testjob::readFile(dir.file(where));
            EXPECT_NE(text.find(c.file), std::string::npos) << where << ": " << text;
            EXPECT_NE(text.find(c.value), std::string::npos) << where << ": " << text;
        }
    }
}

TEST(KormaxCalc, JobsTheKernelCannotResolveAreRefused)
{
    // a = 3.5 mm, one element at (0.07, 0), focus (0, 0, 0.13), an axial 2 x 2 grid at z = 6.5 cm;
    // at 10 GHz or 1 GHz (or 1 MHz in a medium of 1 m/s) k a is far beyond what the kernel resolves.
    for (const auto &[f, c] : {std::pair{1e10, 1500.0}, std::pair{1e9, 1500.0}, std::pair{1e6, 1.0}}) {
        testjob::JobDescription job;
        job.array = exampleArray();
        job.array.frequency = f;
        job.array.elements = {{0.07, 0}};
        job.medium = water();
        job.medium.soundSpeed = c;
        job.focus = {0, 0, 0.13};
        job.grid = {false, 0, 2, 2, -0.001, 0.065, 0.001, 0.001};
        testjob::TempDir dir;
        testjob::writeJob(dir.path(), job);
        EXPECT_EQ(testjob::runCalculator(dir.path()), 1) << f;
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
        EXPECT_FALSE(testjob::exists(dir.file("AbsField_YZ.txt")));
        EXPECT_NE(testjob::readFile(dir.file("log.txt"))
                      .find("ОШИБКА: Ошибка в файлах array.txt и medium.txt: волновой "
                            "размер элемента k·a"),
                  std::string::npos)
            << testjob::readFile(dir.file("log.txt"));
    }
}

TEST(KormaxCalc, TheRunStartedLastOwnsTheFolder)
{
    // A long run over a large plane; once it computes, a second run with a small plane at z = 1 cm
    // (crossing the cap) starts in the same folder. The second one's result is published,
    // complete and with its own header; the first stops without publishing.
    testjob::TempDir dir;
    testjob::JobDescription first = longJob();
    first.grid.count1 = first.grid.count2 = 1501;
    testjob::writeJob(dir.path(), first);
    const auto command = [&](const char *err) {
        return "cd '" + dir.path() + "' && exec '" KORMAX_CALC_EXE "' field --no-gui 2> " + err;
    };
    const pid_t older = startShell(command("first.err"));
    ASSERT_GE(older, 0);
    while (testjob::readFile(dir.file("log.txt")).find("Расчет: ") == std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    testjob::JobDescription second = smallJob(true, false);
    second.grid = {true, 0.01, 21, 21, -0.1, -0.1, 0.01, 0.01};
    testjob::writeJob(dir.path(), second);
    const pid_t newer = startShell(command("second.err"));
    int olderStatus = 0, newerStatus = 0;
    waitpid(older, &olderStatus, 0);
    waitpid(newer, &newerStatus, 0);
    EXPECT_EQ(WEXITSTATUS(newerStatus), 0) << testjob::readFile(dir.file("second.err"));
    EXPECT_EQ(WEXITSTATUS(olderStatus), 3);
    EXPECT_NE(testjob::readFile(dir.file("first.err")).find("более новый расчет"), std::string::npos);

    ASSERT_TRUE(testjob::exists(dir.file("calcdone")));
    const std::vector<double> numbers = testjob::readNumbers(dir.file("AbsField_XY.txt"));
    ASSERT_EQ(numbers.size(), 7u + 3u * 21 * 21);
    const double header[6] = {-0.1, 0.01, 0.1, -0.1, 0.01, 0.1};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(numbers[i], header[i], 1e-12);
    EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
    // The plane beside the cap lies partly behind the elements; the log says so.
    const std::string log = testjob::readFile(dir.file("log.txt"));
    EXPECT_NE(log.find("позади плоскости хотя бы одного элемента"), std::string::npos) << log;
    EXPECT_EQ(log.find("Выполнено"), std::string::npos) << "the stopped run wrote into the newer run's log";
}

TEST(KormaxCalc, AFolderThatCannotBeWrittenIsReportedBeforeComputing)
{
    testjob::TempDir dir;
    testjob::writeJob(dir.path(), smallJob(true, false));
    // A job folder removed under the running program, and (for users other than root, who may
    // write anywhere) one without write permission.
    const int status = std::system(("cd '" + dir.path()
                                    + "' && mkdir gone && cd gone && rmdir ../gone && '" KORMAX_CALC_EXE
                                      "' field --no-gui 2> ../gone.err")
                                       .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(testjob::readFile(dir.file("gone.err")).find("Папка задания недоступна для записи"), std::string::npos)
        << testjob::readFile(dir.file("gone.err"));
    if (::geteuid() == 0)
        return;
    ::chmod(dir.path().c_str(), 0555);
    const int code = testjob::runCalculator(dir.path(), "field --no-gui 2> /dev/null");
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
}

TEST(KormaxCalc, UsageAndUnbuiltScanJobsFailWithoutCalcdone)
{
    testjob::TempDir dir;
    testjob::writeJob(dir.path(), smallJob(true, false));
    EXPECT_EQ(testjob::runCalculator(dir.path(), "--no-gui"), 2);
    EXPECT_EQ(testjob::runCalculator(dir.path(), "fieldx --no-gui"), 2);
    for (const char *kind : {"main_max", "side_max"}) {
        EXPECT_EQ(testjob::runCalculator(dir.path(), std::string(kind) + " --no-gui"), 1);
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
        EXPECT_NE(testjob::readFile(dir.file("log.txt")).find("calcdone"), std::string::npos);
    }
}

// A kind of job is an entry of the job files' table and one of the program's modules: a kind in
// only one of them could be written by the application but never run, or the reverse.
TEST(KormaxCalc, EveryKindOfJobHasItsModule)
{
    std::set<std::string> kinds, modules;
    for (const kjobs::JobKind &kind : kjobs::jobKinds())
        kinds.insert(kind.name);
    for (const kcalc::JobModule &module : kcalc::jobModules())
        modules.insert(module.kind);
    EXPECT_EQ(kinds, modules);
}

TEST(KormaxCalc, StoppedRunLeavesNoCalcdoneAndResultsPrecedeIt)
{
    testjob::TempDir dir;
    // Minutes of work: whatever the machine, the run is still computing when it is stopped.
    testjob::JobDescription endless = longJob();
    endless.grid.count1 = endless.grid.count2 = 2001;
    testjob::writeJob(dir.path(), endless);

    // SIGTERM: the run stops, exits with 3 and writes neither result nor marker.
    {
        const pid_t pid = testjob::startComputing(dir.path(), "field --no-gui");
        ASSERT_GE(pid, 0);
        EXPECT_EQ(testjob::stopRun(pid, SIGTERM), 3) << testjob::readFile(dir.file("stderr.out"));
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
        EXPECT_FALSE(testjob::exists(dir.file("AbsField_XY.txt")));
        EXPECT_NE(testjob::readFile(dir.file("log.txt")).find("calcdone"), std::string::npos);
    }
    // SIGKILL: no marker either.
    {
        const pid_t pid = testjob::startComputing(dir.path(), "field --no-gui");
        ASSERT_GE(pid, 0);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
        EXPECT_FALSE(testjob::exists(dir.file("AbsField_XY.txt")));
    }
    testjob::writeJob(dir.path(), longJob());
    const std::string command = "cd '" + dir.path() + "' && exec '" KORMAX_CALC_EXE "' field --no-gui 2> stderr.out";
    // A complete run watched from outside: the moment calcdone exists, the result is complete.
    {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0 && !testjob::exists(dir.file("calcdone")))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ASSERT_TRUE(testjob::exists(dir.file("calcdone")));
        EXPECT_EQ(testjob::readNumbers(dir.file("AbsField_XY.txt")).size(), 7u + 3u * 401 * 401);
        waitpid(pid, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 0);
        // Without a window the progress of a run over a second goes to log.txt and stderr.
        EXPECT_NE(testjob::readFile(dir.file("log.txt")).find("Выполнено"), std::string::npos);
        EXPECT_NE(testjob::readFile(dir.file("stderr.out")).find("Выполнено"), std::string::npos);
    }
}

TEST(KormaxCalc, BatchFileRunsTheProgramFromTheApplicationDirectory)
{
    // A copy of the application directory's layout: the program beside the job folder that holds
    // the batch file; the batch file is started from elsewhere, as a detached process would be.
    testjob::TempDir app;
    ASSERT_EQ(
        std::system(("mkdir -p '" + app.file("calc") + "' && ln -s '" KORMAX_CALC_EXE "' '" + app.file("kormax-calc")
                     + "' && cp '" KORMAX_SOURCE_DIR "/data/jobs/calc/calc.bat' '" + app.file("calc/calc.bat") + "'")
                        .c_str()),
        0);
    testjob::writeJob(app.file("calc"), smallJob(false, true));
    // No display for this run: a failure must not wait for a message box to be closed.
    const int status =
        std::system(("cd / && QT_QPA_PLATFORM=offscreen '" + app.file("calc/calc.bat") + "' 2> /dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(testjob::exists(app.file("calc/calcdone")));
    EXPECT_EQ(testjob::readNumbers(app.file("calc/AbsField_YZ.txt")).size(), 7u + 3u * 5 * 9);
}

TEST(KormaxCalc, ExampleArrayPeaksAtAnOnAxisFocusOnTheDefaultPlanes)
{
    // The shipped example element file (x y pairs in cm), as the application puts it into
    // array_elements.txt for a transverse plane: x / 100, y / 100.
    const std::vector<double> cm = testjob::readNumbers(KORMAX_SOURCE_DIR "/data/shipped/Elements_Quist_Marvane.txt");
    if (cm.size() < 2)
        GTEST_SKIP() << "example element file not present";
    testjob::JobDescription s;
    s.array = exampleArray();
    for (std::size_t i = 0; i + 1 < cm.size(); i += 2)
        s.array.elements.push_back({cm[i] / 100, cm[i + 1] / 100});
    s.medium = water();
    s.crlf = true;
    const double R = 0.13, A = 0.17;
    s.focus = {0, 0, R};
    for (bool transverse : {true, false}) {
        // The default planes: 101 x 101 at z = R, and 101 across x 241 along from R/2 to 3R/2.
        s.grid.transverse = transverse;
        s.grid.fixed = transverse ? R : 0;
        s.grid.count1 = 101;
        s.grid.step1 = A / 2 / 3 / 50;
        s.grid.start1 = -50 * s.grid.step1;
        s.grid.count2 = transverse ? 101 : 241;
        s.grid.step2 = transverse ? s.grid.step1 : R / 240;
        s.grid.start2 = transverse ? s.grid.start1 : R / 2;
        testjob::TempDir dir;
        testjob::writeJob(dir.path(), s);
        ASSERT_EQ(testjob::runCalculator(dir.path()), 0) << testjob::readFile(dir.file("stderr.out"));
        const std::vector<double> numbers =
            testjob::readNumbers(dir.file(transverse ? "AbsField_XY.txt" : "AbsField_YZ.txt"));
        const std::size_t records = (numbers.size() - 7) / 3;
        ASSERT_EQ(records, transverse ? 101u * 101u : 101u * 241u);
        std::size_t top = 0;
        for (std::size_t p = 1; p < records; ++p)
            if (numbers[7 + 3 * p + 2] > numbers[7 + 3 * top + 2])
                top = p;
        EXPECT_DOUBLE_EQ(numbers[6], numbers[7 + 3 * top + 2]); // the header carries the maximum
        // The focus (0, 0, R) is (up to the six-digit steps of the job file) the grid point at
        // index 50 on the transverse axes and at index 120 along z.
        const double c1 = numbers[7 + 3 * top], c2 = numbers[7 + 3 * top + 1];
        EXPECT_NEAR(c1, 0.0, 1e-6);
        EXPECT_NEAR(c2, transverse ? 0.0 : R, 1e-6);
    }
}
