#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

// The real executable on the test's display: it starts, shows its main window and keeps running
// in its event loop until it is told to end.
TEST(StartUp, ApplicationStartsAndStaysInItsEventLoop)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    QProcess kormax;
    kormax.setProgram(QString(KORMAX_APP_DIR) + "/kormax");
    kormax.start();
    ASSERT_TRUE(kormax.waitForStarted(10000));
    // Still running after start-up: the window was built and exec() is waiting for events.
    EXPECT_FALSE(kormax.waitForFinished(2000)) << kormax.readAllStandardError().toStdString();
    EXPECT_EQ(kormax.state(), QProcess::Running);
    kormax.kill();
    kormax.waitForFinished(5000);
}
