#ifndef KCALC_JOBS_H
#define KCALC_JOBS_H

// The kinds of job the program runs. Each kind is an entry of the job files' table
// (kjobs::jobKinds(): name, folder, batch file, title) and an entry here naming the module that
// runs it. A new kind adds both entries and its module (a folder of src/ with a run function).

#include <atomic>
#include <string>
#include <vector>

#include "parallel/Ranks.h"

namespace kcalc {

class FolderOwner;
class Log;
struct RunControl;

// What the program hands a job module.
struct JobContext {
    std::string dir;                   // the job folder
    Log &log;                          // the run's journal
    RunControl &control;               // progress and cancellation, watched by the program
    std::atomic<double> &computeStart; // set when computing begins (seconds on the log's clock)
    FolderOwner *owner;                // results and calcdone are published through it; null on
                                       // every MPI rank but the first
    parallel::Ranks ranks;             // the processes of an mpirun run (one when started alone)
};

// A module runs its job's phases in order: read -> check -> compute -> publish (results, then
// calcdone, through owner->publish; a rank other than the first computes its share of a scan and
// publishes nothing). It throws JobError for a job that cannot be run and
// JobCancelled when control asks it to stop.
struct JobModule {
    const char *kind; // kjobs::JobKind::name
    void (*run)(JobContext &job);
};

const std::vector<JobModule> &jobModules();
// The module of a kind, or null.
const JobModule *findJobModule(const std::string &kind);

} // namespace kcalc

#endif // KCALC_JOBS_H
