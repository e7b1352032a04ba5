#ifndef KCALC_HEATING_JOB_H
#define KCALC_HEATING_JOB_H

// The volume and heating jobs (their files: JobProtocol.h): read, check, compute, write.

#include <string>
#include <vector>

#include "heating/Bioheat.h"
#include "heating/HeatingReadings.h"
#include "params/JobInput.h"
#include "volume/VolumeField.h"

namespace kcalc::heatjob {

struct JobInput {
    ArrayGeometry array;
    Medium medium;
    Point3 focus;
    VolumeGrid box;
    HeatingSettings settings; // heating job only
};

// array.txt, medium.txt, array_elements.txt, focus.txt, grid_volume.txt and, for the heating job,
// heating.txt. Throws JobError.
JobInput readJobInput(const std::string &dir, bool heating);

// The thermal properties of the job: density and heat capacity from medium.txt, the rest from heating.txt.
ThermalProperties thermalProperties(const JobInput &input);

// Bytes a job keeps at its peak: the box's field (and, heating, the solver's; bioheatMemoryBytes).
double volumeMemoryBytes(const VolumeGrid &box);
double heatingMemoryBytes(const JobInput &input);

// Checks; each throws JobError naming the file and the value. Volume: the array and medium of a
// field job, the focus, the box (whole counts from 1, steps from 1 nm to 1 km, every point within
// 1 km), and memory. Heating: also an absorbing medium, positive and finite thermal properties
// (perfusion may be 0), a positive source pressure, heating time, dose step and threshold, a cooling
// time not negative, at most kMaxDoseSteps dose steps, and memory for the solver. A job that would
// not fit in memory is refused with the size it needs.
constexpr long kMaxDoseSteps = 1000000;
void checkVolumeJob(const JobInput &input);
void checkHeatingJob(const JobInput &input);

std::vector<std::string> describeJobInput(const JobInput &input, bool heating);

struct HeatingResult {
    VolumeFieldResult field;
    BioheatLayout layout;
    BioheatResult heat;
    HeatingReadings readings;
};

// The volume field, then (progress: one unit per field point, then stepUnits per dose step) the
// bioheat solution with q = 2 alpha I and the readings. Throws JobCancelled.
HeatingResult computeHeating(const JobInput &input, RunControl *control = nullptr);
// Progress units of a heating job (set as control->total by computeHeating).
std::size_t heatingProgressUnits(const JobInput &input, std::size_t *stepUnits = nullptr);

HeatingSummary summarise(const JobInput &input, const HeatingResult &result);

// Writes the result files (not calcdone). Throws JobError.
void writeVolumeResult(const std::string &dir, const VolumeGrid &box, const VolumeFieldResult &field);
void writeHeatingResults(const std::string &dir, const JobInput &input, const HeatingResult &result);

} // namespace kcalc::heatjob

namespace kcalc {
struct JobContext;
// The modules of the kinds "volume" and "heating" (jobs/Jobs.h).
void runVolumeJob(JobContext &job);
void runHeatingJob(JobContext &job);
} // namespace kcalc

#endif // KCALC_HEATING_JOB_H
