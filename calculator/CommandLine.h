#ifndef KCALC_COMMAND_LINE_H
#define KCALC_COMMAND_LINE_H

#include <string>

#include "JobProtocol.h"
#include "jobs/Jobs.h"

// `kormax-calc <job-kind> [--no-gui]`: the kind, its module and whether a window may be shown.
struct CommandLine {
    const kjobs::JobKind *kind = nullptr;
    const kcalc::JobModule *module = nullptr;
    bool gui = true;
    int exitCode = -1; // 0 or more: nothing to run; print the usage and exit with it
};

// `gui` is the default of the window (false for a run over several MPI ranks).
CommandLine parseCommandLine(int argc, char **argv, bool gui);

// The usage text, the kinds and folders taken from the job files' table.
std::string usage();

// The job folder the program was started in, for the log.
std::string workingDirectory();

#endif // KCALC_COMMAND_LINE_H
