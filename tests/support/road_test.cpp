#include "road_test.h"

#include <QFile>
#include <QProcess>
#include <QRect>

#include "platform.h"
#include "window_common.h"

namespace testsupport {

void RoadTest::copyShipped(std::initializer_list<const char *> files)
{
    const QString built = KORMAX_APP_DIR;
    for (const char *f : files) {
        ASSERT_TRUE(QFile::copy(built + "/" + f, app.file(f))) << f;
        QFile::setPermissions(app.file(f), QFile::permissions(app.file(f)) | QFileDevice::ExeOwner);
    }
}

void RoadTest::startForReal()
{
    platform::setStartDetachedHandler([this](const QString &program, const QStringList &args, const QString &dir) {
        qint64 pid = 0;
        const bool started = QProcess::startDetached(program, args, dir, &pid);
        starts << QStringList{program, dir};
        pids << pid;
        return started;
    });
}

void RoadTest::TearDown()
{
    window::freeRemaining();
    for (qint64 pid : pids)
        waitForExit(pid, exitWaitMs);
    installDefaultHooks();
    platform::setScreenOverride(0, QRect());
    BoxRecorder::instance().clear();
}

} // namespace testsupport
