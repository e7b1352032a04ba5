#include "params/JobInput.h"

#include <gtest/gtest.h>

#include "../JobFolder.h"
#include "geometry/ArrayLayout.h"
#include "params/JobError.h"
#include "params/JobError.h"

using namespace kcalc;

namespace {

testjob::JobDescription exampleJob(bool crlf)
{
    testjob::JobDescription s;
    s.array = exampleArray();
    s.array.elements = {{0.01, -0.02}, {-0.03, 0.025}, {0.05, 0.0}};
    s.medium = water();
    s.focus = {1.7949e-11, 0.01, 0.08};
    s.grid.transverse = false;
    s.grid.count1 = 49;
    s.grid.count2 = 241;
    s.grid.start1 = -0.024;
    s.grid.start2 = 0.065;
    s.grid.step1 = 0.001;
    s.grid.step2 = 0.000541667;
    s.crlf = crlf;
    return s;
}

// The message of the JobError thrown by f (empty if none).
template <typename F> std::string errorOf(F f)
{
    try {
        f();
    } catch (const JobError &e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(JobInput, ReadsJobFilesAsTheApplicationWritesThem)
{
    for (bool crlf : {false, true}) {
        testjob::TempDir dir;
        testjob::writeJob(dir.path(), exampleJob(crlf));
        // The files carry the Windows-1251 label bytes and the %g numbers.
        const std::string array = testjob::readFile(dir.file("array.txt"));
        EXPECT_NE(array.find(std::string("\xD0\xE0\xE1\xEE\xF7\xE0\xFF") + " "), std::string::npos);
        EXPECT_NE(array.find(std::string(crlf ? "\r\n" : "\n") + testjob::kFrequency + "    1e+06"), std::string::npos);

        const JobInput in = readJobInput(dir.path());
        EXPECT_EQ(in.array.aperture, 0.17);
        EXPECT_EQ(in.array.curvatureRadius, 0.13);
        EXPECT_EQ(in.array.elementRadius, 0.0035);
        EXPECT_EQ(in.array.frequency, 1e6);
        EXPECT_EQ(in.array.holeRadius, 0.02);
        EXPECT_EQ(in.medium.density, 1000);
        EXPECT_EQ(in.medium.soundSpeed, 1500);
        EXPECT_EQ(in.medium.heatCapacity, 4200);
        EXPECT_EQ(in.medium.absorption_dB_cm_MHz, 0);
        ASSERT_EQ(in.array.elements.size(), 3u);
        EXPECT_EQ(in.array.elements[1].x, -0.03);
        EXPECT_EQ(in.array.elements[1].y, 0.025);
        EXPECT_EQ(in.focus.x, 1.7949e-11);
        EXPECT_EQ(in.focus.z, 0.08);
        EXPECT_EQ(in.grid.kind, PlaneKind::Axial);
        EXPECT_EQ(in.grid.fixed, 0);
        EXPECT_EQ(in.grid.count1, 49);
        EXPECT_EQ(in.grid.count2, 241);
        EXPECT_EQ(in.grid.start1, -0.024);
        EXPECT_EQ(in.grid.step2, 0.000541667);
        EXPECT_NO_THROW(checkJobInput(in));
    }
}

TEST(JobInput, ReadsATissueMediumWithItsNameAndAbsorption)
{
    // The application names a tissue on line 1, in one or more words, and gives its absorption.
    testjob::TempDir dir;
    testjob::writeFile(dir.file("medium.txt"), std::string(testjob::kMediumName) + "\t\t\tSoft tissue\n"
                                                   + testjob::kDensity + "\t\t1043\n" + testjob::kSpeed + "\t1561\n"
                                                   + testjob::kHeat + "\t\t4200\n" + testjob::kAbsorption + "\t0.54");
    Medium m;
    readMediumFile(dir.path(), m);
    EXPECT_EQ(m.density, 1043);
    EXPECT_EQ(m.soundSpeed, 1561);
    EXPECT_EQ(m.absorption_dB_cm_MHz, 0.54);
}

TEST(JobInput, ReadsLabelsOfAnyEightBitEncoding)
{
    // Labels written through a UTF-8 locale, tabs and trailing blanks: only the last token counts.
    testjob::TempDir dir;
    testjob::writeJob(dir.path(), exampleJob(false));
    testjob::writeFile(dir.file("array.txt"),
                       "Название решетки:    Quist-Marvane\nАпертура решетки, м:     0.17 \n"
                       "Радиус кривизны решетки, м:\t0.13\nРадиус элементов решетки, м:     0.0035\n"
                       "Рабочая частота решетки, Гц:    1.5e+06\t\nРадиус отверстия, м:     0");
    ArrayGeometry array;
    readArrayFile(dir.path(), array);
    EXPECT_EQ(array.curvatureRadius, 0.13);
    EXPECT_EQ(array.frequency, 1.5e6);
    EXPECT_EQ(array.holeRadius, 0);
}

TEST(JobInput, AxialAndTransversePointsLieInTheirPlanes)
{
    PlaneGrid g;
    g.count1 = 3;
    g.count2 = 2;
    g.start1 = -0.01;
    g.step1 = 0.01;
    g.start2 = 0.05;
    g.step2 = 0.002;
    g.fixed = 0.13;
    const std::vector<Point3> t = g.points();
    ASSERT_EQ(t.size(), 6u);
    EXPECT_DOUBLE_EQ(t[1].x, -0.01); // axis 2 fastest
    EXPECT_DOUBLE_EQ(t[1].y, 0.052);
    EXPECT_DOUBLE_EQ(t[1].z, 0.13);
    g.kind = PlaneKind::Axial;
    g.fixed = 0;
    const Point3 p = g.point(2, 1);
    EXPECT_DOUBLE_EQ(p.x, 0);
    EXPECT_DOUBLE_EQ(p.y, 0.01);
    EXPECT_DOUBLE_EQ(p.z, 0.052);
}

TEST(JobInput, MalformedFilesNameTheFileAndTheValue)
{
    struct Case {
        const char *file;
        std::string bytes;
        const char *expectedText;
    };
    const std::string A = testjob::kAperture, R = testjob::kCurvature, a = testjob::kElementRadius,
                      f = testjob::kFrequency, h = testjob::kHole;
    const std::string name = std::string(testjob::kArrayName) + "\n";
    const std::vector<Case> cases = {
        {"array.txt",
         name + A + "     0.17\n" + R + "     0.1x3\n" + a + "     0.0035\n" + f + "    1e+06\n" + h + "     0.02",
         "0.1x3"},
        {"array.txt",
         name + A + "     0.17\n" + R + "     0.13\n" + a + "     0.0035\n" + f + "    inf\n" + h + "     0.02", "inf"},
        {"array.txt", name + A + "     0.17\n" + R + "     0.13\n" + a + "     0.0035\n", "строка 5"},
        {"array.txt", name + A + "     0.17\n" + R + "     0.13\n" + a + "\n" + f + "    1e+06\n" + h + "     0.02",
         "строка 4"},
        {"medium.txt", std::string(testjob::kMediumName) + "\t\t\tWater\n" + testjob::kDensity + "\t\tnan\n", "nan"},
        {"array_elements.txt", "0.01 -0.02\n0.03\n", "строка 2"},
        {"array_elements.txt", "0.01 -0.02\n0.03 abc\n", "abc"},
        {"focus.txt", "0\n0", "строка 3"},
        {"grid_calc.txt", "xz\n0.13\n5\n3\n-0.002\n-0.001\n0.001\n0.001", "xz"},
        {"grid_calc.txt", "xy\n0.13\n5.5\n3\n-0.002\n-0.001\n0.001\n0.001", "5.5"},
        {"grid_calc.txt", "xy\n0.13\n5\n3\n-0.002\n-0.001\n0.001\n", "строка 8"},
    };
    for (const Case &c : cases) {
        testjob::TempDir dir;
        testjob::writeJob(dir.path(), exampleJob(false));
        testjob::writeFile(dir.file(c.file), c.bytes);
        const std::string message = errorOf([&] { readJobInput(dir.path()); });
        EXPECT_NE(message.find(c.file), std::string::npos) << message;
        EXPECT_NE(message.find(c.expectedText), std::string::npos) << message;
    }
    testjob::TempDir empty;
    EXPECT_NE(errorOf([&] { readJobInput(empty.path()); }).find("array.txt"), std::string::npos);
}

TEST(JobInput, OutOfRangeValuesNameTheFileAndTheValue)
{
    struct Case {
        std::function<void(JobInput &)> spoil;
        const char *file;
        const char *value;
    };
    const std::vector<Case> cases = {
        {[](JobInput &in) { in.array.elements.clear(); }, "array_elements.txt", "ни одного"},
        {[](JobInput &in) { in.array.curvatureRadius = 0; }, "array.txt", "R = 0"},
        {[](JobInput &in) { in.array.curvatureRadius = -0.13; }, "array.txt", "R = -0.13"},
        {[](JobInput &in) { in.array.elementRadius = 0; }, "array.txt", "a = 0"},
        {[](JobInput &in) { in.array.frequency = -1e6; }, "array.txt", "f = -1e+06"},
        {[](JobInput &in) { in.medium.density = 0; }, "medium.txt", "ro = 0"},
        {[](JobInput &in) { in.medium.soundSpeed = -1500; }, "medium.txt", "c = -1500"},
        {[](JobInput &in) { in.medium.absorption_dB_cm_MHz = -0.5; }, "medium.txt", "-0.5"},
        {[](JobInput &in) {
             in.array.elements[2] = {0.12, 0.06};
         },
         "array_elements.txt", "x = 0.12"},
        {[](JobInput &in) { in.grid.count1 = 1; }, "grid_calc.txt", "1 (строка 3)"},
        {[](JobInput &in) { in.grid.count2 = 0; }, "grid_calc.txt", "0 (строка 4)"},
        {[](JobInput &in) { in.grid.step1 = 0; }, "grid_calc.txt", "0 (строка 7)"},
        {[](JobInput &in) { in.grid.step2 = -0.001; }, "grid_calc.txt", "-0.001 (строка 8)"},
        {[](JobInput &in) { in.grid.count1 = in.grid.count2 = 20000; }, "grid_calc.txt", "20000 x 20000"},
    };
    for (const Case &c : cases) {
        JobInput in;
        in.array = exampleArray();
        in.array.elements = {{0.01, -0.02}, {-0.03, 0.025}, {0.05, 0.0}};
        in.medium = water();
        in.grid.count1 = in.grid.count2 = 3;
        in.grid.step1 = in.grid.step2 = 0.001;
        EXPECT_NO_THROW(checkJobInput(in));
        c.spoil(in);
        const std::string message = errorOf([&] { checkJobInput(in); });
        EXPECT_NE(message.find(c.file), std::string::npos) << message;
        EXPECT_NE(message.find(c.value), std::string::npos) << message;
    }
}

TEST(TextFile, SplitsLinesOfEveryLineEnding)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines("\xEF\xBB\xBFx"), (std::vector<std::string>{"x"}));
    double v = 0;
    EXPECT_TRUE(parseNumber("1.5e+06", v));
    EXPECT_EQ(v, 1.5e6);
    EXPECT_TRUE(parseNumber("+0.5", v));
    EXPECT_EQ(v, 0.5);
    EXPECT_FALSE(parseNumber("0,5", v));
    EXPECT_FALSE(parseNumber("+-1", v));
    EXPECT_FALSE(parseNumber("", v));
}
