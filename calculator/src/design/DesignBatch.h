#ifndef KCALC_DESIGN_DESIGN_BATCH_H
#define KCALC_DESIGN_DESIGN_BATCH_H

// Design studies: many candidate layouts scored in one job (`kormax-calc design`, job folder
// design/), an ensemble of seeds of one family, and a search for the layout that steers best.
//
// Inputs: array.txt and medium.txt (the cap and the medium, as for a field job), score_settings.txt
// (optional, design/ScoreFiles.h) and
//   candidates.txt   one line a candidate or a study, words separated by blanks, '#' starts a comment:
//     LABEL KIND key=value ...     one candidate; KIND random | spiral | hexagonal | rings | jittered
//                                  with the keys count, gap (m), seed, pitch (m), jitter (m)
//                                  (design/Layout.h), or KIND file with elements=PATH (an element
//                                  positions file in m, "x y" a line, relative to the folder)
//     ... seeds=N                  an ensemble: N candidates LABEL-1 .. LABEL-N of seeds seed ..
//                                  seed + N - 1
//     ... budget=N [displacement=m] [gain_floor=g]
//                                  (displacement: an element diameter unless given)
//                                  a search (design/DesignBatch.cpp, optimise): N candidates in all
//   Lengths in m, numbers in the C locale.
// Output: design_scores.txt, a tab-separated table with one header line and one row per scored
//   candidate in the order scored (numpy.genfromtxt(..., names=True, dtype=None) reads it):
//     label kind seed elements fill_factor gain lateral_width_m axial_length_m worst_side
//     steerable_area
//   numbers with 17 significant digits; for a search, best_1.txt .. best_3.txt, the element
//   positions (m) of its three best candidates, and best_labels.txt, their labels a line; then
//   calcdone. While a search runs, best_so_far.txt holds the best layout so far and
//   search_progress.txt one line "done total area worst_side gain" of it (a stopped search leaves
//   them, without calcdone). A candidate that breaks the layout
//   rules, a line that cannot be read: the job fails naming it, and nothing is written.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "design/Layout.h"
#include "design/Scores.h"
#include "parallel/Ranks.h"

namespace kcalc::design {

struct CandidateEntry {
    std::string label;
    std::string kind; // the generator's name, or "file"
    GeneratorSettings settings;
    std::string elementFile; // KIND file
    std::size_t seeds = 0;   // > 0: an ensemble of that many seeds
    std::size_t budget = 0;  // > 0: a search of that many candidates
    double displacement = 0; // search: largest move of an element in one step (m); 0: its diameter
    double gainFloor = 0;    // search: gain below this makes a candidate infeasible
    std::size_t line = 0;    // in candidates.txt, from 1
};

// Reads candidates.txt; throws JobError naming the line of anything it cannot read.
std::vector<CandidateEntry> parseCandidates(const std::string &bytes);
std::string candidatesText(const std::vector<CandidateEntry> &entries);
// candidates.txt of folder `dir`; throws JobError when it is missing or cannot be read.
std::vector<CandidateEntry> readCandidates(const std::string &dir);
bool fileExists(const std::string &path);

// One scored candidate: its name, the layout and its scores.
struct ScoredCandidate {
    std::string label, kind;
    std::uint64_t seed = 0;
    std::vector<ElementPosition> elements;
    Scores scores;
};

// The layout of a plain candidate (no ensemble, no search), checked against the rules with the
// candidate's gap (0 for a file). Throws JobError naming the candidate when it cannot be made or
// breaks a rule. `folder` resolves relative element file names.
std::vector<ElementPosition> candidateLayout(const ArrayGeometry &array, const CandidateEntry &entry,
                                             const std::string &folder);

// Ensembles expanded into their seeds; searches stay as they are.
std::vector<CandidateEntry> expandEnsembles(const std::vector<CandidateEntry> &entries);

// The search's order of candidates: feasible (gain >= floor) before infeasible, then the larger
// steerable area, then the weaker strongest side maximum, then the higher gain.
bool better(const Scores &a, const Scores &b, double gainFloor);

// Scores the layouts, each rank its share (every size-th from its rank), all ranks get every score.
// `progress(done)` once per candidate of the batch, whichever rank scores it (with N ranks each of
// this rank's candidates counts N, the rest once all have arrived); returning false cancels
// (JobCancelled).
using BatchProgress = std::function<bool(std::size_t)>;
// After each round of a search: the best candidate so far and the candidates scored in all.
using BestSoFar = std::function<void(const ScoredCandidate &, std::size_t)>;
std::vector<Scores> scoreLayouts(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                                 const std::vector<std::vector<ElementPosition>> &layouts, parallel::Ranks ranks,
                                 const BatchProgress &progress = {});

// The search of one entry: the first half of the budget scores seeds seed, seed + 1, ... of the
// family; the rest moves a few elements of the best so far at a time (every move keeping the
// rules), four proposals a round, and keeps a proposal that is better. Returns every scored
// candidate in the order scored. The same for any number of ranks.
std::vector<ScoredCandidate> optimise(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                                      const CandidateEntry &entry, parallel::Ranks ranks,
                                      const BatchProgress &progress = {}, const BestSoFar &bestSoFar = {});

// Runs every entry in order: plain candidates and ensemble seeds in one shared batch, then each
// search.
std::vector<ScoredCandidate> runDesignBatch(const ArrayGeometry &array, const Medium &medium,
                                            const ScoreSettings &settings, const std::vector<CandidateEntry> &entries,
                                            const std::string &folder, parallel::Ranks ranks,
                                            const BatchProgress &progress = {}, const BestSoFar &bestSoFar = {});
// Candidates in all that runDesignBatch scores.
std::size_t batchSize(const std::vector<CandidateEntry> &entries);

std::string designTableText(const std::vector<ScoredCandidate> &rows);
// The rows of a table (label, kind, seed and the scores of the header); throws JobError.
std::vector<ScoredCandidate> parseDesignTable(const std::string &bytes);
// "x y" a line in m, 17 significant digits.
std::string elementsFileText(const std::vector<ElementPosition> &elements);

// The distribution of one score over an ensemble.
struct Distribution {
    double median = 0, p5 = 0, p95 = 0, lowest = 0, highest = 0;
    std::vector<std::size_t> histogram; // `bins` equal bins from lowest to highest
};
// Percentiles by linear interpolation between order statistics (position q (n - 1)).
Distribution distribution(std::vector<double> values, std::size_t bins = 10);

inline const char *candidatesName()
{
    return "candidates.txt";
}
inline const char *designTableName()
{
    return "design_scores.txt";
}

} // namespace kcalc::design

#endif // KCALC_DESIGN_DESIGN_BATCH_H
