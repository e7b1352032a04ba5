#ifndef KCALC_DESIGN_DESIGN_JOB_H
#define KCALC_DESIGN_DESIGN_JOB_H

// The design job (design/): reads array.txt, medium.txt, score_settings.txt (if there) and
// candidates.txt; scores every candidate, ensemble seed and search step (design/DesignBatch.h) and
// publishes design_scores.txt, a search's three best layouts and calcdone. Over several MPI ranks
// each scores its share of the candidates; the first rank alone publishes.

#include "jobs/Jobs.h"

namespace kcalc::design {

void runDesignJob(JobContext &job);

} // namespace kcalc::design

#endif // KCALC_DESIGN_DESIGN_JOB_H
