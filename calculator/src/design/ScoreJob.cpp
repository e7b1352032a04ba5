#include "design/ScoreJob.h"

#include <omp.h>

#include "design/ScoreFiles.h"
#include "design/Scores.h"
#include "field/RunControl.h"
#include "log/Log.h"
#include "log/Messages.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"
#include "params/JobInput.h"

namespace kcalc::design {

void runScoreJob(JobContext &job)
{
    if (!job.ranks.root())
        return; // one layout is one rank's work
    Log &log = job.log;

    // Read.
    log.info(msg::readingFiles("array.txt, medium.txt, array_elements.txt, score_settings.txt"));
    ArrayGeometry array;
    Medium medium;
    readArrayFile(job.dir, array);
    readMediumFile(job.dir, medium);
    array.elements = readElementsFile(job.dir);
    const ScoreSettings settings = readScoreSettings(job.dir);

    // Check.
    checkArrayAndMedium(array, medium);
    log.info("Проверка пройдена. Элементов: " + std::to_string(array.elements.size()) + ", точек наведения: "
             + std::to_string(settings.steering.empty() ? defaultSteering(array.curvatureRadius).size()
                                                        : settings.steering.size())
             + ", уровни: q >= " + resultNumber(settings.mainLevel) + ", s <= " + resultNumber(settings.sideLevel));

    // Compute.
    log.info("Расчет: поля элементов на линиях через фокус, на плоскостях через точки наведения и в области "
             "смещения фокуса (грубые шаги), затем перебор положений фокуса; потоков OpenMP: "
             + std::to_string(omp_get_max_threads()));
    job.control.total.store(scoreWorkUnits(array, medium, settings));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const Scores scores = computeScores(array, medium, settings, &job.control);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0) + "; |p(F)|/p0 = " + resultNumber(scores.gain)
             + ", наибольший боковой максимум " + resultNumber(scores.worstSide) + ", доля области наведения "
             + resultNumber(scores.steerableArea));

    // Publish.
    job.owner->publish([&] {
        writeFileAtomically(job.dir, scoresName(), scoresText(scores));
        log.info(std::string("Результат записан в ") + scoresName());
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

} // namespace kcalc::design
