#ifndef KCALC_GRID_LIMITS_H
#define KCALC_GRID_LIMITS_H

// Limits of a job's grids, read by the calculator's checks and by the application, which refuses
// a grid beyond them before it writes a job.
namespace kcalc {

// Largest grid the calculator accepts: 2e7 points make a result file of about 1.2 GB and take
// about 5 minutes per 256 elements on one core.
constexpr double kMaxGridPoints = 2e7;

// Plausibility limits, far outside anything an ultrasound array needs, so that every physically
// meaningful job passes and no input can drive the arithmetic to overflow or underflow.
constexpr double kMaxLength = 1e3; // m: any length or coordinate
constexpr double kMinStep = 1e-9;  // m: grid steps

} // namespace kcalc

#endif // KCALC_GRID_LIMITS_H
