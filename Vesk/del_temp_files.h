#ifndef DEL_TEMP_FILES_H
#define DEL_TEMP_FILES_H

#include <QStringList>

// The job files of every job folder (the calculator's lock files among them), relative to the
// application directory, in removal order.
QStringList jobFilesToRemove();

// Removes the job files of all three job folders (a missing file is no error). Runs when the
// user confirms leaving the application.
void del_temp_files();

#endif // DEL_TEMP_FILES_H
