#ifndef KCALC_DESIGN_SCORE_JOB_H
#define KCALC_DESIGN_SCORE_JOB_H

// The score job (score/): reads array.txt, medium.txt, array_elements.txt and score_settings.txt,
// scores the layout (design/Scores.h) and publishes scores.txt and calcdone.

#include "jobs/Jobs.h"

namespace kcalc::design {

void runScoreJob(JobContext &job);

} // namespace kcalc::design

#endif // KCALC_DESIGN_SCORE_JOB_H
