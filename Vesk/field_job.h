#ifndef FIELD_JOB_H
#define FIELD_JOB_H

#include <QString>

#include "grid.h"
#include "job_files.h"

class QWidget;

// The field job of the calculation plane window: the five input files in calc/, the checks of the
// tab whose calculate button was pressed, the launch of calc/calc.bat and the wait for the user.
namespace fieldjob {

// First failing check of the tab's counts and steps, in the order they are made; empty when the
// plane can be calculated.
QString checkPlane(bool axialTab);

// A plane's own input files from the shared parameters: array_elements.txt and focus.txt, turned
// for the axial plane, and the plane in grid_calc.txt (array.txt and medium.txt come first).
QList<jobfiles::JobFile> planeFiles(bool axial);

// Runs the job. Which plane's files are written follows is_poper / is_prodol; the checks are those
// of the pressed button's tab. True when the calculator was started and the user has confirmed its
// end; false when a file could not be written, a check failed or the start failed (each reported).
bool run(QWidget *parent, bool axialTab);

// The grid of a confirmed run of the tab's plane (result windows keep it), with its point counts
// stored in Nx_G and Ny_G.
SharedGrid recordRun(bool axialTab);

} // namespace fieldjob

#endif // FIELD_JOB_H
