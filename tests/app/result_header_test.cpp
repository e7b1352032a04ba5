// The application's check that a field result belongs to the run it asked for.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "grid.h"
#include "read_from_file.h"
#include "test_support.h"

TEST(FieldResultHeader, MatchesOnlyTheGridOfTheRun)
{
    QTemporaryDir dir;
    const QString xy = dir.path() + "/AbsField_XY.txt", yz = dir.path() + "/AbsField_YZ.txt";
    // The transverse run of 49 x 21 points; its header as the calculator writes it from the
    // six-digit job file.
    const Grid transverse(49, 21, 0.001, 0.002, -0.024, 0.024, -0.02, 0.02);
    testsupport::writeAll(xy, "-0.024 0.001 0.024000000000000004 -0.02 0.002 0.02 3.5\n");
    EXPECT_TRUE(fieldResultMismatch(xy, transverse).isEmpty());
    // Headers of other writers: fewer digits, and a one-point axis with no step.
    const Grid row(49, 1, 0.001, 0.002, -0.024, 0.024, 0, 0);
    for (const auto &[header, grid] : {std::pair(QByteArray("-0.0240 0.0010 0.0240 -0.020 0.0020 0.020 3"), transverse),
                                       std::pair(QByteArray("-2.4e-2 1e-3 2.4e-2 0 0 0 3"), row)}) {
        testsupport::writeAll(xy, header);
        EXPECT_TRUE(fieldResultMismatch(xy, grid).isEmpty()) << header.constData();
    }
    // Another plane: other counts, another position with the same counts, no header at all.
    for (const QByteArray &header : {QByteArray("-0.35 0.001 0.35 -0.02 0.002 0.02 1"),
                                     QByteArray("-0.023 0.001 0.025 -0.02 0.002 0.02 1"), QByteArray("-0.024 0.001")}) {
        testsupport::writeAll(xy, header);
        EXPECT_FALSE(fieldResultMismatch(xy, transverse).isEmpty()) << header.constData();
    }
    EXPECT_FALSE(fieldResultMismatch(dir.path() + "/missing_XY.txt", transverse).isEmpty());

    // An axial run (z across the plot, 241 points from 0.065 m; r up, 101 points): the file
    // starts with the r axis.
    const Grid axial(241, 101, 0.000541667, 0.000566667, 0.065, 0.195, -0.0283333, 0.0283333);
    testsupport::writeAll(yz, "-0.0283333 0.000566667 0.0283333 0.065 0.000541667 0.195 50\n");
    EXPECT_TRUE(fieldResultMismatch(yz, axial).isEmpty());
    testsupport::writeAll(yz, "0.065 0.000541667 0.195 -0.0283333 0.000566667 0.0283333 50\n");
    EXPECT_TRUE(fieldResultMismatch(yz, axial).contains("101 x 241 точек вместо 241 x 101"));
}
