#ifndef KCALC_SCAN_SCAN_JOB_RUN_H
#define KCALC_SCAN_SCAN_JOB_RUN_H

// A scan job (main_max/, side_max/) as the program runs it: reads the array, the medium, the
// focus-shift region (grid_calc.txt) and the field region (grid_scan.txt); computes the element
// fields on the field grid once and steps the focus over every position (scan/ScanJob.h);
// publishes AbsField_??.bin (and side_maxes.txt), the field at the best focus as AbsField_??.txt,
// then calcdone.

#include "jobs/Jobs.h"
#include "scan/ScanJob.h"

namespace kcalc::scan {

void runScanJob(ScanKind kind, JobContext &job);

} // namespace kcalc::scan

#endif // KCALC_SCAN_SCAN_JOB_RUN_H
