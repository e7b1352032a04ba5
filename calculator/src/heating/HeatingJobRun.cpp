// The volume and heating job modules (jobs/Jobs.h): read -> check -> compute -> publish.
#include <algorithm>
#include <cmath>

#include <omp.h>

#include "field/RunControl.h"
#include "heating/HeatingJob.h"
#include "jobs/Jobs.h"
#include "log/Log.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"

namespace kcalc {

namespace {

std::string mebibytes(double bytes)
{
    return resultNumber(std::round(bytes / 1048576));
}

heatjob::JobInput readAndCheck(JobContext &job, bool heating)
{
    Log &log = job.log;
    log.info(msg::readingFiles(std::string("array.txt, medium.txt, array_elements.txt, focus.txt, ") + names::volumeGrid
                               + (heating ? std::string(", ") + names::heatingSettings : std::string())));
    const heatjob::JobInput input = heatjob::readJobInput(job.dir, heating);
    for (const std::string &line : heatjob::describeJobInput(input, heating))
        log.info(line);
    if (heating)
        heatjob::checkHeatingJob(input);
    else
        heatjob::checkVolumeJob(input);
    log.info(msg::boxChecked(input.box.pointCount(), mebibytes(heating ? heatjob::heatingMemoryBytes(input)
                                                                       : heatjob::volumeMemoryBytes(input.box))));
    return input;
}

} // namespace

void runVolumeJob(JobContext &job)
{
    if (!job.ranks.root())
        return; // one process computes the box
    Log &log = job.log;
    const heatjob::JobInput input = readAndCheck(job, false);
    log.info(msg::volumeMethod(omp_get_max_threads()));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const VolumeFieldResult field = computeVolumeField(input.array, input.medium, input.focus, input.box, &job.control);
    log.info(msg::volumeComputed(formatDuration(log.elapsed() - t0), resultNumber(field.focusPressure),
                                 resultNumber(field.maximum)));
    job.owner->publish([&] {
        heatjob::writeVolumeResult(job.dir, input.box, field);
        log.info(msg::volumeWritten(names::volumeResult));
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

void runHeatingJob(JobContext &job)
{
    if (!job.ranks.root())
        return;
    Log &log = job.log;
    const heatjob::JobInput input = readAndCheck(job, true);
    const ThermalProperties tissue = heatjob::thermalProperties(input);
    const BioheatLayout layout = bioheatLayout(input.box, tissue, input.settings.sonication);
    log.info(msg::heatingMethod(resultNumber(paddingLength(tissue, input.settings.sonication) * 1000), layout.nx,
                                layout.ny, layout.nz, omp_get_max_threads()));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const heatjob::HeatingResult result = heatjob::computeHeating(input, &job.control);
    const HeatingSummary summary = heatjob::summarise(input, result);
    log.info(msg::heatingComputed(
        formatDuration(log.elapsed() - t0), resultNumber(summary.peakTemperature), resultNumber(summary.peakX),
        resultNumber(summary.peakY), resultNumber(summary.peakZ),
        summary.lesion ? msg::lesionSize(resultNumber(summary.lesionLength),
                                         resultNumber(std::max(summary.lesionWidthX, summary.lesionWidthY)))
                       : msg::kNoLesion));
    job.owner->publish([&] {
        heatjob::writeHeatingResults(job.dir, input, result);
        log.info(msg::resultsWritten(temperatureMapName(input.settings.plane) + ", " + doseMapName(input.settings.plane)
                                     + ", " + names::focusCurve + ", " + names::heatingSummary));
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

} // namespace kcalc
