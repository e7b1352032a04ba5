#ifndef KCALC_JOB_INPUT_H
#define KCALC_JOB_INPUT_H

#include <string>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

// Which plane a grid file describes (its line 1).
enum class PlaneKind {
    Transverse, // "xy": the plane z = fixed; axis 1 is x, axis 2 is y
    Axial       // "yz": the plane x = fixed (0 after the application has rotated the array); axis 1 is y, axis 2 is z
};

// A regular grid of the eight-line layout of grid_calc.txt / grid_scan.txt (lengths in m):
//   line 1  "xy" or "yz"        line 2  fixed coordinate (z of a transverse plane, x of an axial one)
//   line 3  count1 (axis 1)     line 4  count2 (axis 2)
//   line 5  start1              line 6  start2
//   line 7  step1               line 8  step2
// Point (i1, i2) lies at coordinate start1 + i1*step1 along axis 1 and start2 + i2*step2 along axis 2.
struct PlaneGrid {
    PlaneKind kind = PlaneKind::Transverse;
    double fixed = 0;
    long count1 = 0, count2 = 0;
    double start1 = 0, start2 = 0;
    double step1 = 0, step2 = 0;

    double coord1(long i1) const { return start1 + static_cast<double>(i1) * step1; }
    double coord2(long i2) const { return start2 + static_cast<double>(i2) * step2; }
    double end1() const { return coord1(count1 - 1); }
    double end2() const { return coord2(count2 - 1); }
    std::size_t pointCount() const { return static_cast<std::size_t>(count1) * static_cast<std::size_t>(count2); }

    // The point in the job frame: transverse (c1, c2, fixed), axial (fixed, c1, c2).
    Point3 point(long i1, long i2) const;

    // Every point, axis 2 fastest: index i1 * count2 + i2 (the order of the result records).
    std::vector<Point3> points() const;
};

// Everything a job folder says (SI units).
struct JobInput {
    ArrayGeometry array;
    Medium medium;
    Point3 focus;
    PlaneGrid grid; // grid_calc.txt
};

// Readers of the single files. `dir` is the job folder ("" or "." for the working directory).
// Each throws JobError naming the file, the line and the value when a line is missing or a
// value is not a finite number. Ranges are checked by checkJobInput, not here.
void readArrayFile(const std::string &dir, ArrayGeometry &array);        // array.txt: lines 2-6
void readMediumFile(const std::string &dir, Medium &medium);             // medium.txt: lines 2-5
std::vector<ElementPosition> readElementsFile(const std::string &dir);   // array_elements.txt: "x y" per line
Point3 readFocusFile(const std::string &dir);                            // focus.txt: x, y, z
PlaneGrid readGridFile(const std::string &dir, const std::string &name); // grid_calc.txt, grid_scan.txt

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
