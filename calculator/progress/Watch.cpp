#include "progress/Watch.h"

#include <algorithm>
#include <clocale>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include "log/Messages.h"
#include "params/JobError.h"
#include "progress/ProgressWindow.h"

using namespace kcalc;

bool waitFor(JobMonitor &monitor, std::chrono::milliseconds delay)
{
    const auto until = std::chrono::steady_clock::now() + delay;
    while (!monitor.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return monitor.finished();
}

void runWorker(const JobModule &module, Log &log, JobMonitor &monitor, FolderOwner *owner, parallel::Ranks ranks)
{
    try {
        if (!owner && ranks.root())
            throw JobError(monitor.message()); // the folder could not be claimed
        JobContext job{".", log, monitor.control, monitor.computeStart, owner, ranks};
        module.run(job);
        monitor.outcome.store(JobMonitor::Succeeded);
    } catch (const JobCancelled &e) {
        monitor.setMessage(monitor.superseded.load() ? JobSuperseded().what() : e.what());
        monitor.outcome.store(JobMonitor::Cancelled);
    } catch (const JobSuperseded &e) {
        monitor.superseded.store(true);
        monitor.setMessage(e.what());
        monitor.outcome.store(JobMonitor::Cancelled);
    } catch (const std::exception &e) {
        monitor.setMessage(e.what());
        monitor.outcome.store(JobMonitor::Failed);
    } catch (...) {
        monitor.setMessage(msg::kUnknownError);
        monitor.outcome.store(JobMonitor::Failed);
    }
}

void reportToLog(Log &log, JobMonitor &monitor)
{
    double lastReport = log.elapsed();
    while (!monitor.finished()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const double now = log.elapsed();
        if (now - lastReport >= 1.0 && monitor.computeStart.load() >= 0 && !monitor.finished()) {
            lastReport = now;
            const double remaining = monitor.remaining(now);
            const int percent = static_cast<int>(100 * monitor.control.fraction() + 0.5);
            log.info(msg::progress(std::to_string(percent) + "%", formatDuration(now),
                                   remaining >= 0 ? formatDuration(remaining) : msg::kUnknownRemaining));
        }
    }
}

bool watchOwnership(const FolderOwner &owner, JobMonitor &monitor)
{
    for (int tick = 0; !monitor.finished(); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (tick % 10 == 9 && !owner.isNewest()) {
            monitor.superseded.store(true);
            monitor.control.cancel.store(true);
            return true;
        }
    }
    return false;
}

void showProgressWindow(char **argv, const std::string &title, JobMonitor &monitor, Log &log)
{
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    std::setlocale(LC_NUMERIC, "C"); // QApplication adopts the user's locale; our numbers stay C-locale
    ProgressWindow progress(QString::fromStdString(title), monitor, [&log] { return log.elapsed(); });
    progress.adjustSize();
    // Below the centre of the screen: the application's "press OK when the calculation has
    // finished" box sits at the centre and must stay readable while this window is up.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QPoint topLeft = area.center() - progress.rect().center() + QPoint(0, progress.height() + 80);
        topLeft.setY(std::min(topLeft.y(), area.bottom() - progress.height()));
        progress.move(topLeft);
    }
    progress.show();
    app.exec();
    // The window only closes once the worker has finished.
}

void showFailure(char **argv, const std::string &title, const std::string &message)
{
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QMessageBox::critical(nullptr, QString::fromUtf8(msg::kErrorTitle),
                          QString::fromStdString(msg::failureBox(title, message)));
}
