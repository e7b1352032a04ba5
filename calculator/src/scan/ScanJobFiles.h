#ifndef KCALC_SCAN_SCAN_JOB_FILES_H
#define KCALC_SCAN_SCAN_JOB_FILES_H

// The job folder of a scan (main_max/ or side_max/): what is read from it and the checks.

#include <string>
#include <vector>

#include "params/JobInput.h"
#include "scan/ScanJob.h"

namespace kcalc::scan {

struct ScanJobInput {
    ArrayGeometry array;
    Medium medium;
    PlaneGrid focusGrid; // grid_calc.txt: the focus-shift region
    PlaneGrid fieldGrid; // grid_scan.txt: the field region
};

// Reads array.txt, medium.txt, array_elements.txt, grid_calc.txt and grid_scan.txt from `dir`.
// (focus.txt is not needed: the focus is stepped over grid_calc.txt.) Throws JobError.
ScanJobInput readScanJobInput(const std::string &dir);

// The checks of a field job for the array, the medium and both grids, and that both grids lie in
// the same kind of plane; a job whose matrices would not fit in memory is refused. Throws JobError.
void checkScanJobInput(const ScanJobInput &input);

// Lines for the log.
std::vector<std::string> describeScanJobInput(const ScanJobInput &input);

ScanJobSetup scanJobSetup(const ScanJobInput &input, ScanKind kind);

} // namespace kcalc::scan

#endif // KCALC_SCAN_SCAN_JOB_FILES_H
