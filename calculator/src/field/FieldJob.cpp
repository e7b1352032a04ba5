#include "field/FieldJob.h"

#include <cmath>

#include <omp.h>

#include "field/FieldPlane.h"
#include "field/RunControl.h"
#include "log/Log.h"
#include "log/Messages.h"
#include "output/FocusPressure.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"
#include "params/JobInput.h"

namespace kcalc {

void runFieldJob(JobContext &job)
{
    if (!job.ranks.root())
        return; // one plane is one rank's work
    Log &log = job.log;

    // Read.
    log.info(msg::readingFiles("array.txt, medium.txt, array_elements.txt, focus.txt, grid_calc.txt"));
    const JobInput input = readJobInput(job.dir);
    for (const std::string &line : describeJobInput(input))
        log.info(line);

    // Check.
    checkJobInput(input);
    const double k = 2 * M_PI * input.array.frequency / input.medium.soundSpeed;
    const std::size_t points = input.grid.pointCount(), pairs = points * input.array.elements.size();
    log.info(msg::fieldChecked(resultNumber(k), resultNumber(input.medium.soundSpeed / input.array.frequency), points,
                               pairs));

    // Compute.
    log.info(msg::fieldMethod(omp_get_max_threads()));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const FieldPlaneResult result = computeFieldPlane(input, &job.control);
    const double seconds = log.elapsed() - t0;
    const Point3 top = input.grid.point(static_cast<long>(result.maximumIndex / input.grid.count2),
                                        static_cast<long>(result.maximumIndex % input.grid.count2));
    log.info(msg::fieldComputed(formatDuration(seconds), formatBrief(seconds * 1e9 / static_cast<double>(pairs))));
    log.info(msg::fieldSummary(resultNumber(result.focusPressure), resultNumber(result.maximum), resultNumber(top.x),
                               resultNumber(top.y), resultNumber(top.z)));
    if (result.behindCap > 0)
        log.info(msg::pointsBehindCap(result.behindCap));

    // Publish, unless the user asked to stop meanwhile or a newer run took the folder.
    const std::string name = fieldResultName(input.grid.kind);
    requireFiniteResult(result.values, name);
    if (!std::isfinite(result.focusPressure))
        throw JobError(msg::kFocusPressureNotFinite);
    job.owner->publish([&] {
        writeFieldResult(job.dir, input.grid, result.values);
        writeFocusPressure(job.dir, result.focusPressure);
        log.info(msg::fieldWritten(name, names::focusPressure));
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

} // namespace kcalc
