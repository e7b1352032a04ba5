#include "output/ResultFiles.h"

#include <cmath>

#include <gtest/gtest.h>

#include "../JobFolder.h"
#include "params/JobError.h"

using namespace kcalc;

namespace {

// The application's reading of a result file into [plane][i][j] (i horizontal, j vertical):
// transverse records x, y, v with j fastest; axial records y, z, v with i (z) fastest.
struct Field3 {
    std::vector<std::vector<double>> plane[3];
};

Field3 readLikeTheApplication(const std::string &text, bool transverse, int iSize, int jSize)
{
    std::istringstream in(text);
    double header[7];
    for (double &h : header)
        in >> h;
    Field3 f;
    for (auto &p : f.plane)
        p.assign(iSize, std::vector<double>(jSize, 0.0));
    if (transverse) {
        for (int i = 0; i < iSize; ++i)
            for (int j = 0; j < jSize; ++j)
                in >> f.plane[0][i][j] >> f.plane[1][i][j] >> f.plane[2][i][j];
    } else {
        for (int j = 0; j < jSize; ++j)
            for (int i = 0; i < iSize; ++i)
                in >> f.plane[1][i][j] >> f.plane[0][i][j] >> f.plane[2][i][j];
    }
    return f;
}

} // namespace

TEST(ResultFiles, TransverseLayoutRecordByRecord)
{
    PlaneGrid g; // x: -0.01, 0, 0.01; y: -0.005, 0.005
    g.kind = PlaneKind::Transverse;
    g.fixed = 0.13;
    g.count1 = 3;
    g.count2 = 2;
    g.start1 = -0.01;
    g.step1 = 0.01;
    g.start2 = -0.005;
    g.step2 = 0.01;
    const std::vector<double> v = {0.1, 0.2, 0.3, 0.75, 0.5, 0.6}; // index i1 * 2 + i2
    const std::string text = fieldResultText(g, v);
    EXPECT_EQ(fieldResultName(g.kind), "AbsField_XY.txt");
    EXPECT_EQ(text, "-0.01 0.01 0.01 -0.005 0.01 0.005 0.75\n"
                    "-0.01 -0.005 0.1\n-0.01 0.005 0.2\n0 -0.005 0.3\n0 0.005 0.75\n0.01 -0.005 0.5\n0.01 0.005 0.6\n");
    const Field3 f = readLikeTheApplication(text, true, 3, 2);
    EXPECT_EQ(f.plane[2][0][0], 0.1); // (x = -0.01, y = -0.005)
    EXPECT_EQ(f.plane[2][0][1], 0.2);
    EXPECT_EQ(f.plane[2][1][0], 0.3);
    EXPECT_EQ(f.plane[0][2][1], 0.01);
    EXPECT_EQ(f.plane[1][2][1], 0.005);
}

TEST(ResultFiles, AxialLayoutRecordByRecord)
{
    PlaneGrid g; // y (across): -0.005, 0.005; z (along): 0.05, 0.06, 0.07
    g.kind = PlaneKind::Axial;
    g.count1 = 2;
    g.count2 = 3;
    g.start1 = -0.005;
    g.step1 = 0.01;
    g.start2 = 0.05;
    g.step2 = 0.01;
    const std::vector<double> v = {1, 2, 3, 4, 5, 6}; // index iy * 3 + iz
    const std::string text = fieldResultText(g, v);
    EXPECT_EQ(fieldResultName(g.kind), "AbsField_YZ.txt");
    // Header ymin dy ymax zmin dz zmax max; records y z v with z fastest.
    EXPECT_EQ(text.substr(0, text.find('\n')), "-0.005 0.01 0.005 0.05 0.01 0.07 6");
    // The application reads it with i along z (3 points) and j across (2 points).
    const Field3 f = readLikeTheApplication(text, false, 3, 2);
    EXPECT_EQ(f.plane[2][1][0], 2); // second record: z index 1, y index 0
    EXPECT_DOUBLE_EQ(f.plane[0][1][0], 0.06);
    EXPECT_EQ(f.plane[1][1][0], -0.005);
    EXPECT_EQ(f.plane[2][0][1], 4);
    EXPECT_DOUBLE_EQ(f.plane[0][2][1], 0.07);
    EXPECT_EQ(f.plane[1][2][1], 0.005);
}

TEST(ResultFiles, NumbersReadBackExactly)
{
    PlaneGrid g;
    g.count1 = g.count2 = 2;
    g.start1 = -0.0283333;
    g.step1 = 0.000566667;
    g.start2 = 0.065;
    g.step2 = 0.000541667;
    const std::vector<double> v = {1.0 / 3, 50.43219226317611, 1e-300, 2.0 / 7};
    std::istringstream in(fieldResultText(g, v));
    std::vector<double> numbers;
    for (double x; in >> x;)
        numbers.push_back(x);
    ASSERT_EQ(numbers.size(), 7u + 3 * 4);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(numbers[7 + 3 * p + 2], v[p]);
    EXPECT_EQ(numbers[6], 50.43219226317611);
    EXPECT_EQ(numbers[2], g.end1());
}

TEST(ResultFiles, AtomicWriteLeavesOnlyCompleteFiles)
{
    testjob::TempDir dir;
    writeFileAtomically(dir.path(), "AbsField_XY.txt", std::string("1 2 3\n"));
    EXPECT_EQ(testjob::readFile(dir.file("AbsField_XY.txt")), "1 2 3\n");
    EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
    // A writer that fails part-way leaves neither the file nor its temporary.
    EXPECT_THROW(writeFileAtomically(dir.path(), "AbsField_YZ.txt",
                                     [](const std::function<void(const std::string &)> &put) {
                                         put("half");
                                         throw JobError("stop");
                                     }),
                 JobError);
    EXPECT_FALSE(testjob::exists(dir.file("AbsField_YZ.txt")));
    EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
    // A folder that does not exist is reported with the file's name.
    try {
        writeFileAtomically(dir.file("missing"), "AbsField_XY.txt", std::string("x"));
        FAIL();
    } catch (const JobError &e) {
        EXPECT_NE(std::string(e.what()).find("AbsField_XY.txt"), std::string::npos);
    }
    markDone(dir.path());
    EXPECT_TRUE(testjob::exists(dir.file("calcdone")));
    removeDoneMarker(dir.path());
    EXPECT_FALSE(testjob::exists(dir.file("calcdone")));
    EXPECT_NO_THROW(removeDoneMarker(dir.path()));
}

TEST(ResultFiles, NonFiniteValuesAreNeverPublished)
{
    testjob::TempDir dir;
    PlaneGrid g;
    g.count1 = g.count2 = 2;
    g.step1 = g.step2 = 0.001;
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        try {
            writeFieldResult(dir.path(), g, {1, 2, bad, 4});
            ADD_FAILURE() << bad;
        } catch (const JobError &e) {
            EXPECT_NE(std::string(e.what()).find("AbsField_XY.txt содержит 1 "), std::string::npos) << e.what();
        }
        EXPECT_FALSE(testjob::exists(dir.file("AbsField_XY.txt")));
        EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
    }
}

TEST(ResultFiles, StreamedResultEqualsTheWholeText)
{
    // 300 x 200 records (several 1 MB chunks) written in pieces and renamed into place.
    PlaneGrid g;
    g.kind = PlaneKind::Axial;
    g.count1 = 300;
    g.count2 = 200;
    g.start1 = -0.03;
    g.step1 = 0.0002;
    g.start2 = 0.065;
    g.step2 = 0.00054;
    std::vector<double> v(g.pointCount());
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = std::sin(0.001 * static_cast<double>(i)) + 1.0 / 3;
    testjob::TempDir dir;
    writeFieldResult(dir.path(), g, v);
    EXPECT_EQ(testjob::readFile(dir.file("AbsField_YZ.txt")), fieldResultText(g, v));
    EXPECT_TRUE(testjob::partFiles(dir.path()).empty());
}
