#ifndef KCALC_RESULT_FILES_H
#define KCALC_RESULT_FILES_H

#include <functional>
#include <string>
#include <vector>

#include "params/JobInput.h"

namespace kcalc {

// Name of the text result of a plane: "AbsField_XY.txt" (transverse) or "AbsField_YZ.txt" (axial).
std::string fieldResultName(PlaneKind kind);

// Text of a field result. `values` holds one value per grid point, index i1 * count2 + i2 (axis 2
// fastest, the order of PlaneGrid::points()). Layout, numbers separated by spaces and line ends,
// every number the shortest C-locale text that reads back to the same double:
//   header  start1 step1 end1  start2 step2 end2  maximum
//           (transverse: xmin dx xmax ymin dy ymax max; axial: ymin dy ymax zmin dz zmax max)
//   records, for i1 = 0 .. count1 - 1, for i2 = 0 .. count2 - 1:  coord1 coord2 value
//           (transverse: x y |p|, y fastest; axial: y z |p|, z fastest)
// `maximum` is the largest of `values`.
std::string fieldResultText(const PlaneGrid &grid, const std::vector<double> &values);

// The last guard before a result is published: throws JobError, naming the file and how many
// values are NaN or infinite, unless every value is finite.
void requireFiniteResult(const std::vector<double> &values, const std::string &name);

// Writes fieldResultText to `dir/fieldResultName(grid.kind)` with writeFileAtomically, streaming
// it in chunks (large grids never hold the whole text in memory). Refuses non-finite values
// (requireFiniteResult).
void writeFieldResult(const std::string &dir, const PlaneGrid &grid, const std::vector<double> &values);

// Writes `dir/name` so that the name appears only with complete contents: the bytes go to
// `name.<pid>.part`, are flushed to disk, and the file is then renamed. Throws JobError (naming the
// file) when any step fails; a failed write leaves no file under `name`.
void writeFileAtomically(const std::string &dir, const std::string &name, const std::string &bytes);

// Streams a large file through `produce` (called with chunks to append) under the same rule.
void writeFileAtomically(const std::string &dir, const std::string &name,
                         const std::function<void(const std::function<void(const std::string &)> &)> &produce);

// The completion marker `calcdone`: written last, after every result file is complete.
void markDone(const std::string &dir);

// Removes a marker left by an earlier run, so that a failed or killed run never leaves one.
// Throws JobError if an existing marker cannot be removed.
void removeDoneMarker(const std::string &dir);

// Appends the shortest round-trip C-locale text of v (as std::to_chars writes it) to out.
void appendNumber(std::string &out, double v);

} // namespace kcalc

#endif // KCALC_RESULT_FILES_H
