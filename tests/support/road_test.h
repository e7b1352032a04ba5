#ifndef ROAD_TEST_H
#define ROAD_TEST_H

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>

#include "test_support.h"

namespace testsupport {

// The base of the tests that walk the application with the real calculator: an application
// directory with files of the built one copied in, the batch files started for real, detached as
// on a user's desktop, and an end like the application's.
class RoadTest : public ::testing::Test
{
protected:
    // Copies files of the built application directory into app, executable (the calculator, its
    // batch files, the shipped element file and pictures); call it under ASSERT_NO_FATAL_FAILURE.
    void copyShipped(std::initializer_list<const char *> files);
    // Starts the batch files for real, detached, noting each process and each start (the program
    // and its working directory).
    void startForReal();
    // The road ends as the application does: every window still alive goes; each calculator
    // started is let exit (up to exitWaitMs) before the folder goes; the hooks, the screen and the
    // recorded boxes are reset.
    void TearDown() override;

    TempAppDir app;
    QList<qint64> pids;
    QList<QStringList> starts; // {program, working directory}
    int exitWaitMs = 10000;
};

} // namespace testsupport

#endif // ROAD_TEST_H
