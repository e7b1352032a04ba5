#include "scan/ScanJobRun.h"

#include <algorithm>

#include <omp.h>

#include "JobLimits.h"
#include "field/ElementFieldModel.h"
#include "field/RunControl.h"
#include "log/Log.h"
#include "log/Messages.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"
#include "scan/Blas.h"
#include "scan/ScanJobFiles.h"

namespace kcalc::scan {

namespace {

// The element-field model with its progress counted in the run's control.
struct CountedModel {
    const ElementFieldModel &model;
    RunControl *control;
    std::size_t elementCount() const { return model.elementCount(); }
    void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const
    {
        model.fieldMatrix(points, out, ld, control);
    }
};

} // namespace

void runScanJob(ScanKind kind, JobContext &job)
{
    Log &log = job.log;
    const bool side = kind == ScanKind::SideMaxima;

    // Read.
    log.info(msg::readingFiles("array.txt, medium.txt, array_elements.txt, grid_calc.txt, grid_scan.txt"));
    const ScanJobInput input = readScanJobInput(job.dir);
    for (const std::string &line : describeScanJobInput(input))
        log.info(line);

    // Check.
    checkScanJobInput(input);
    const ScanJobSetup setup = scanJobSetup(input, kind);
    const std::size_t P = setup.field.pointCount(), M = setup.focus.pointCount(), N = input.array.elements.size();
    log.info(msg::scanChecked(P, M, N, formatBrief(kjobs::scanMemoryBytes(P, M, N, omp_get_max_threads()) / 1048576)));

    // Compute.
    log.info(msg::scanMethod(openblas_get_corename(), side, omp_get_max_threads()));
    // Progress units: one per point of element fields (the model counts them) and, per focus
    // position, its matrix product and search in the same units (measured on the example array:
    // a position costs about as much as P / 4000 points of element fields in a main-maxima scan,
    // which multiplies only the points that can beat the focus, and P / 1000 in a side-maxima scan).
    const std::size_t perPosition = std::max<std::size_t>(1, P / (side ? 1000 : 4000));
    job.control.total.store(P + M + M * perPosition);
    job.computeStart.store(log.elapsed());
    const ElementFieldModel model(input.array, input.medium);
    const CountedModel counted{model, &job.control};
    std::size_t reported = 0;
    const auto progress = [&](std::size_t done, std::size_t) {
        if (done > reported) { // blocks may finish out of order
            job.control.add((done - reported) * perPosition);
            reported = done;
        }
        return !job.control.cancelled();
    };
    ScanJobResult result;
    try {
        result = computeScanJob(setup, counted, progress, job.ranks);
    } catch (const ScanCancelled &) {
        throw JobCancelled();
    }
    if (!job.owner)
        return; // a rank other than 0: its share has gone to rank 0, which writes the results
    const Point3 best = gridPoint(setup.focus, result.best);
    log.info(msg::scanTimes(formatDuration(result.elementFieldSeconds), formatDuration(result.scanSeconds)));
    log.info(msg::scanBest(resultNumber(result.quality[result.best].mainValue), resultNumber(best.x),
                           resultNumber(best.y), resultNumber(best.z), resultNumber(result.bestFieldMax)));

    // Publish, unless the user asked to stop meanwhile or a newer run took the folder.
    job.owner->publish([&] {
        writeScanResults(job.dir, setup, result);
        log.info(msg::scanWritten(scanResultName(setup.focus.kind) + ", " + fieldResultName(setup.field.kind)
                                  + (side ? std::string(", ") + names::sideMaxes : "")));
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

} // namespace kcalc::scan
