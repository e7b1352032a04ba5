#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <csignal>

#include "build_list_of_elem.h"
#include "main_params.h"
#include "shared_params.h"

namespace testsupport {

BoxRecorder &BoxRecorder::instance()
{
    static BoxRecorder recorder;
    return recorder;
}

void BoxRecorder::clear()
{
    m_boxes.clear();
    m_answer = QMessageBox::No;
}

QStringList BoxRecorder::texts() const
{
    QStringList list;
    for (const RecordedBox &b : m_boxes)
        list << b.text;
    return list;
}

QMessageBox::StandardButton BoxRecorder::record(const platform::Box &box)
{
    m_boxes.push_back(RecordedBox{box.kind, box.title, box.text});
    return box.kind == platform::BoxKind::Question ? m_answer : QMessageBox::Ok;
}

TempAppDir::TempAppDir()
{
    QDir dir(m_dir.path());
    dir.mkpath("calc");
    dir.mkpath("main_max");
    dir.mkpath("side_max");
    dir.mkpath("heat");
    dir.mkpath("score");
    platform::setAppDirOverride(m_dir.path());
}

TempAppDir::~TempAppDir()
{
    platform::setAppDirOverride(QString());
}

void TempAppDir::writeScript(const QString &relative, const QByteArray &body) const
{
    const QString path = file(relative);
    writeAll(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

namespace {
int quitRequestCount = 0;
}

int quitRequests()
{
    return quitRequestCount;
}

void installDefaultHooks()
{
    platform::setQuitHandler([] { ++quitRequestCount; });
    platform::setBoxHandler([](const platform::Box &box) { return BoxRecorder::instance().record(box); });
    platform::setFileDialogHandler([](const platform::FileDialog &) { return QString(); });
    platform::setOpenDocumentHandler([](const QString &) { return false; });
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return false; });
    platform::setPhysicalMemoryOverride(0);
}

bool closeByUser(QWidget *w)
{
    QWindow *handle = w->windowHandle();
    return handle && handle->close();
}

bool waitForFile(const QString &path, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(path) && t.elapsed() < ms)
        QThread::msleep(20);
    return QFile::exists(path);
}

bool waitForExit(qint64 pid, int ms)
{
    const auto alive = [pid] { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; };
    QElapsedTimer t;
    t.start();
    while (alive() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return !alive();
}

QLineEdit *edit(QWidget *w, const char *name)
{
    return child<QLineEdit>(w, name);
}

QPushButton *button(QWidget *w, const char *name)
{
    return child<QPushButton>(w, name);
}

bool setExampleArray()
{
    mainparams::setExampleArray();
    shared::initpres = 250000;
    return build_list_of_elem(QString(KORMAX_APP_DIR) + mainparams::exampleElementFile);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

} // namespace testsupport
