#ifndef KCALC_FIELD_JOB_H
#define KCALC_FIELD_JOB_H

// The field job (calc/): reads array.txt, medium.txt, array_elements.txt, focus.txt and
// grid_calc.txt, checks them, computes the field of the array focused on the focus over the grid
// (field/FieldPlane.h) and publishes AbsField_XY.txt or AbsField_YZ.txt, focus_pressure.txt and
// calcdone.

#include "jobs/Jobs.h"

namespace kcalc {

void runFieldJob(JobContext &job);

} // namespace kcalc

#endif // KCALC_FIELD_JOB_H
