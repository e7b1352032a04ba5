#ifndef KCALC_WATCH_H
#define KCALC_WATCH_H

// Watching the worker thread that runs a job: on the progress window when there is a display,
// otherwise as progress lines in the log; and watching the job folder for a newer run.

#include <chrono>
#include <string>

#include "jobs/Jobs.h"
#include "log/Log.h"
#include "output/FolderOwner.h"
#include "progress/JobMonitor.h"

// The worker thread: runs the job's module in the folder `owner` has claimed (null on the first
// rank: the claim failed with the monitor's message; null on any other rank: it publishes nothing)
// and records how it ended in the monitor.
void runWorker(const kcalc::JobModule &module, kcalc::Log &log, JobMonitor &monitor, kcalc::FolderOwner *owner,
               kcalc::parallel::Ranks ranks);

// Waits up to `delay` for the worker; true if it finished.
bool waitFor(JobMonitor &monitor, std::chrono::milliseconds delay);

// Until the worker finishes: a progress line on stderr and in log.txt about once a second.
void reportToLog(kcalc::Log &log, JobMonitor &monitor);

// Until the worker finishes: stops it (and returns true) once a newer run has claimed the folder.
bool watchOwnership(const kcalc::FolderOwner &owner, JobMonitor &monitor);

// The progress window until the worker has finished and the window is closed.
void showProgressWindow(char **argv, const std::string &title, JobMonitor &monitor, kcalc::Log &log);

// A message box for a failure that ended the run before any window appeared.
void showFailure(char **argv, const std::string &title, const std::string &message);

#endif // KCALC_WATCH_H
