#ifndef SESSION_RUN_H
#define SESSION_RUN_H

// kormax-calc SESSION.kormax field|main_max|side_max --out DIR [--no-gui]: a job of a session file
// run without the application. The job's input files are written into DIR (made if need be) as
// the application's windows would write them, DIR becomes the working directory, and the run goes
// on as in a job folder.
//
// Returns -1 when the command line names no session file (argv untouched); 0 when the job folder
// is ready, with argv reduced to "kormax-calc KIND [--no-gui]"; 2 for a wrong command line and 1
// for a session that cannot be run (the reason on stderr).
int prepareSessionRun(int &argc, char **argv);

#endif // SESSION_RUN_H
