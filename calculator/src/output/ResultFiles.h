#ifndef KCALC_RESULT_FILES_H
#define KCALC_RESULT_FILES_H

#include <functional>
#include <string>
#include <vector>

#include "params/JobInput.h"

namespace kcalc {

// The last guard before a result is published: throws JobError, naming the file and how many
// values are NaN or infinite, unless every value is finite.
void requireFiniteResult(const std::vector<double> &values, const std::string &name);

// Writes the field result text (produceFieldResult) to `dir/fieldResultName(grid.kind)` with writeFileAtomically, streaming
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

} // namespace kcalc

#endif // KCALC_RESULT_FILES_H
