#include "session_run.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "job_files.h"
#include "log/Messages.h"
#include "session.h"
#include "session_jobs.h"

namespace {
bool endsWith(const char *text, const char *end)
{
    const std::size_t n = std::strlen(text), m = std::strlen(end);
    return n >= m && std::strcmp(text + n - m, end) == 0;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return 1;
}
} // namespace

int prepareSessionRun(int &argc, char **argv)
{
    if (argc < 2 || !endsWith(argv[1], ".kormax"))
        return -1;
    const char *kind = argc > 2 ? argv[2] : nullptr;
    const char *out = nullptr;
    bool gui = true;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            out = argv[++i];
        else if (std::strcmp(argv[i], "--no-gui") == 0)
            gui = false;
        else
            out = nullptr, i = argc; // anything else is a wrong command line
    }
    if (!kind || !out) {
        std::fputs(kcalc::msg::kSessionUsage, stderr);
        return 2;
    }

    session::Session s;
    QString error;
    if (!session::load(QString::fromLocal8Bit(argv[1]), &s, &error))
        return fail(error);
    QList<jobfiles::JobFile> files;
    if (!sessionjobs::jobFiles(s, QString::fromLatin1(kind), &files, &error))
        return fail(error);
    const QString folder = QDir(QString::fromLocal8Bit(out)).absolutePath() + "/";
    QString failed;
    if (!QDir().mkpath(folder) || !jobfiles::writeFiles(folder, files, &failed))
        return fail(
            QString::fromStdString(kcalc::msg::jobFileNotWritten((failed.isEmpty() ? folder : failed).toStdString())));
    QFile::remove(folder + "calcdone");
    if (::chdir(QFile::encodeName(folder).constData()) != 0)
        return fail(QString::fromStdString(kcalc::msg::folderNotEntered(folder.toStdString())));

    argv[1] = argv[2];
    argc = 2;
    if (!gui)
        argv[argc++] = const_cast<char *>("--no-gui");
    argv[argc] = nullptr;
    return 0;
}
