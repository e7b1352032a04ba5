#ifndef KCALC_JOB_INPUT_H
#define KCALC_JOB_INPUT_H

#include <string>
#include <vector>

#include "geometry/ArrayGeometry.h"
#include "params/JobError.h"

namespace kcalc {

// Everything a job folder says (SI units).
struct JobInput {
    ArrayGeometry array;
    Medium medium;
    Point3 focus;
    PlaneGrid grid; // grid_calc.txt
};

// The single files are read by the job files' readers (readArrayFile, readGridFile, ...), which
// throw JobError naming the file, the line and the value when a line is missing or a value is not a
// finite number. Ranges are checked by checkJobInput, not there.

// The five files of a field job.
JobInput readJobInput(const std::string &dir);

// Range checks of a job (the read phase has already ensured finite numbers). Throws JobError
// naming the file and the value: no elements, R <= 0, a <= 0, f <= 0, density <= 0, speed of
// sound <= 0, negative aperture, hole radius or absorption, an element outside the sphere; values
// outside the plausibility limits (lengths up to 1 km, R and a from 0.1 um, f from 1 Hz to 10 GHz,
// c from 1 m/s to 100 km/s, density from 1 g/m3 to 100 t/m3, absorption up to 1000 dB/(cm MHz));
// the geometry checks of the parameter input: A > 2 R, a > A / 2, hole radius >= A / 2.
void checkArrayAndMedium(const ArrayGeometry &array, const Medium &medium);

// Grid checks: counts below 2 or not whole numbers, zero or negative steps, grids too large to hold;
// steps from 1 nm to 1 km, the plane and every coordinate of the grid within 1 km of the origin.
void checkGrid(const PlaneGrid &grid, const std::string &fileName);

// The focus within 1 km of the origin.
void checkFocus(const Point3 &focus);

// Both of the above for a field job.
void checkJobInput(const JobInput &input);

// The parameters of a job as lines for the log (SI units, values as read).
std::vector<std::string> describeJobInput(const JobInput &input);
std::string describeGrid(const PlaneGrid &grid);

} // namespace kcalc

#endif // KCALC_JOB_INPUT_H
