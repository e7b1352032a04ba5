#ifndef KCALC_DESIGN_SCORE_FILES_H
#define KCALC_DESIGN_SCORE_FILES_H

// The job folder of the scores (score/), read by `kormax-calc score` and written and read by the
// application's design window; both use these functions, so the layout is described only here.
//
// Inputs: array.txt, medium.txt and array_elements.txt as for a field job, and
//   score_settings.txt   one setting a line, a name and numbers (C locale), in any order:
//                          main_level q        steerable where q >= this (0.9)
//                          side_level s        and s <= this (0.32)
//                          steering x y z      a steering point in m (repeated; none: the defaults)
// Output: scores.txt, one score a line, a name and numbers (17 significant digits):
//   elements N | fill_factor f | gain g | lateral_width_m w | axial_length_m l | worst_side s
//   steerable_area fraction positions_steerable positions_in_all
//   steering x y z gain side side_x side_y side_z q       (one line per steering point, in order)
// then calcdone.

#include <string>

#include "design/Scores.h"

namespace kcalc::design {

// Every digit of a double (%.17g): what the score files hold, so that reading gives the value back.
std::string allDigits(double v);
std::string scoreSettingsText(const ScoreSettings &settings);
// Throws JobError naming the file and line of anything it cannot read.
ScoreSettings parseScoreSettings(const std::string &bytes);
ScoreSettings readScoreSettings(const std::string &dir);

std::string scoresText(const Scores &scores);
// Throws JobError when a score is missing or not a number.
Scores parseScores(const std::string &bytes);

inline const char *scoreSettingsName()
{
    return "score_settings.txt";
}
inline const char *scoresName()
{
    return "scores.txt";
}

} // namespace kcalc::design

#endif // KCALC_DESIGN_SCORE_FILES_H
