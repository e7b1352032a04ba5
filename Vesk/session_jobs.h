#ifndef SESSION_JOBS_H
#define SESSION_JOBS_H

#include <QList>
#include <QString>

#include "job_files.h"
#include "session.h"

// The jobs of a session without the windows (kormax-calc session.kormax KIND --out DIR): the input
// files the windows would write for it, byte for byte.
namespace sessionjobs {

// The input files of job `kind` ("field", "main_max" or "side_max") of session `s`, which is applied
// to the shared parameters first. A field job calculates the session's current plane; a scan uses
// the fields of the quality window the session holds (the current plane's when it holds both).
// False with `error` set when the session fails the main window's checks or lacks the plane or the
// quality regions of the job.
bool jobFiles(const session::Session &s, const QString &kind, QList<jobfiles::JobFile> *files, QString *error);

} // namespace sessionjobs

#endif // SESSION_JOBS_H
