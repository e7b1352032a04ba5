// kormax-calc: the field calculator. Started by the batch file of a job folder with that folder as
// working directory; reads the job files there, computes, writes the results and then `calcdone`.
//
//   kormax-calc <job-kind> [--no-gui]
//     job-kind  field     field of the array over grid_calc.txt      -> AbsField_XY.txt / AbsField_YZ.txt
//               main_max  main-maxima scan                            (main_max/)
//               side_max  side-maxima scan                            (side_max/)
//               volume    |p| in a box around the focus                -> volume field (heat/)
//               heating   temperature and thermal dose in that box     -> heating results (heat/)
//               score     scores of an element layout                 -> scores.txt (score/)
//               design    a batch of candidate layouts, ensembles, searches -> design_scores.txt (design/)
//     --no-gui  never open the progress window (progress goes to stderr and log.txt)
//
//   mpirun -np N kormax-calc main_max|side_max|design --no-gui
//     the job over N processes (parallel/Ranks.h): each computes a share of the focus positions or
//     of the candidates, rank 0 alone writes the log, the results and calcdone; the results are
//     those of one process, bit for bit.
//
//   kormax-calc <session.kormax> <job-kind> --out DIR [--no-gui]
//     writes the job of a session file into DIR as the application would, then runs it there
//     (one process: session_run.h)
//
// The kinds are those of the job files' table (JobProtocol.h), each run by its module
// (src/jobs/Jobs.h). Phases: parse the command line -> claim the folder -> run the job's module
// (read -> check -> compute -> publish) on a worker thread, watched -> report how it ended. Any
// error ends the run with its message in log.txt and on stderr, a non-zero exit code and no
// calcdone. Exit codes: 0 done, 1 job error, 2 usage, 3 cancelled (cancel button, SIGTERM, SIGINT,
// SIGHUP).

#include <csignal>
#include <memory>
#include <thread>

#include "CommandLine.h"
#include "log/Messages.h"
#include "params/JobError.h"
#include "progress/Display.h"
#include "progress/Watch.h"
#include "scan/Blas.h"
#include "session_run.h"

using namespace kcalc;

namespace {

// A run shorter than this shows no progress window.
constexpr auto kWindowDelay = std::chrono::seconds(1);

std::atomic<RunControl *> g_control{nullptr};

extern "C" void onTerminate(int)
{
    if (RunControl *control = g_control.load())
        control->cancel.store(true);
}

} // namespace

int main(int argc, char **argv)
{
    blas::preferWideKernels(argv);
    // A session file: its job is written into the folder given, which then is the job folder.
    if (const int status = prepareSessionRun(argc, argv); status > 0)
        return status;
    parallel::MpiSession mpi(&argc, &argv);
    const parallel::Ranks ranks = mpi.ranks();

    // The command line.
    const CommandLine line = parseCommandLine(argc, argv, ranks.size == 1); // several ranks: a batch run
    if (line.exitCode >= 0) {
        std::fputs(usage().c_str(), stderr);
        return line.exitCode;
    }
    const std::string title = line.kind->title;
    Log log;
    if (!ranks.root()) {
        // Rank 0 alone owns the folder, the log and the results; this rank computes its share.
        JobMonitor monitor;
        runWorker(*line.module, log, monitor, nullptr, ranks);
        if (monitor.outcome.load() == JobMonitor::Succeeded)
            return 0;
        log.error(msg::rankFailed(ranks.rank, ranks.size, monitor.message()));
        mpi.abortAll(1);
        return 1;
    }
    if (!log.open("."))
        log.error(msg::kNoLogFile);
    log.info(msg::jobStart(title, line.kind->name, workingDirectory()));

    // The folder is claimed before anything is read: a folder that cannot be written is reported
    // at once, and an older run still busy in it stops.
    JobMonitor monitor;
    g_control.store(&monitor.control);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, onTerminate);
    std::unique_ptr<FolderOwner> owner;
    try {
        owner = std::make_unique<FolderOwner>(".");
    } catch (const std::exception &e) {
        monitor.setMessage(e.what());
    }

    // The job, on a worker thread, watched by the progress window or in the log.
    std::thread worker(runWorker, std::cref(*line.module), std::ref(log), std::ref(monitor), owner.get(), ranks);
    std::thread watcher([&] {
        if (owner && watchOwnership(*owner, monitor))
            log.closeFile(); // log.txt belongs to the newer run now
    });
    const bool window = line.gui && !waitFor(monitor, kWindowDelay) && displayAvailable();
    if (window)
        showProgressWindow(argv, title, monitor, log);
    else
        reportToLog(log, monitor);
    worker.join();
    watcher.join();
    g_control.store(nullptr);

    // How it ended.
    switch (monitor.outcome.load()) {
    case JobMonitor::Succeeded:
        log.info(msg::doneIn(formatDuration(log.elapsed())));
        return 0;
    case JobMonitor::Cancelled:
        if (monitor.superseded.load()) {
            log.closeFile();
            log.info(monitor.message());
        } else {
            log.info(msg::kCancelledNoMarker);
        }
        mpi.abortAll(3); // ranks still waiting for rank 0 must not outlive it
        return 3;
    default:
        log.error(monitor.message());
        log.info(msg::kFailedNoMarker);
        // A failure that ended before any window appeared still reaches a user at a display.
        if (line.gui && !window && log.elapsed() < 60 && displayAvailable())
            showFailure(argv, title, monitor.message());
        mpi.abortAll(1);
        return 1;
    }
}
