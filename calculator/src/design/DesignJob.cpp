#include "design/DesignJob.h"

#include <algorithm>

#include "design/DesignBatch.h"
#include "design/ScoreFiles.h"
#include "field/RunControl.h"
#include "log/Log.h"
#include "log/Messages.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"
#include "params/JobInput.h"

namespace kcalc::design {

namespace {

// A search's three best layouts (best_1.txt ... and their labels), best first.
void writeBestOfSearches(const std::string &dir, const std::vector<CandidateEntry> &entries,
                         const std::vector<ScoredCandidate> &rows)
{
    for (const CandidateEntry &entry : entries) {
        if (!entry.budget)
            continue;
        std::vector<const ScoredCandidate *> own;
        for (const ScoredCandidate &c : rows)
            if (c.label.rfind(entry.label + "-", 0) == 0)
                own.push_back(&c);
        std::stable_sort(own.begin(), own.end(), [&](const ScoredCandidate *x, const ScoredCandidate *y) {
            return better(x->scores, y->scores, entry.gainFloor);
        });
        std::string labels;
        for (std::size_t k = 0; k < own.size() && k < 3; ++k) {
            writeFileAtomically(dir, "best_" + std::to_string(k + 1) + ".txt", elementsFileText(own[k]->elements));
            labels += own[k]->label + "\n";
        }
        writeFileAtomically(dir, "best_labels.txt", labels);
    }
}

} // namespace

void runDesignJob(JobContext &job)
{
    Log &log = job.log;

    // Read.
    log.info(msg::readingFiles("array.txt, medium.txt, score_settings.txt, candidates.txt"));
    ArrayGeometry array;
    Medium medium;
    readArrayFile(job.dir, array);
    readMediumFile(job.dir, medium);
    const ScoreSettings settings =
        fileExists(job.dir + "/" + scoreSettingsName()) ? readScoreSettings(job.dir) : ScoreSettings();
    const std::vector<CandidateEntry> entries = readCandidates(job.dir);

    // Check (every layout is made and checked again before it is scored).
    array.elements = {{0, 0}};
    checkArrayAndMedium(array, medium);
    const std::size_t total = batchSize(entries);
    log.info("Проверка пройдена. Кандидатов: " + std::to_string(total)
             + ", процессов: " + std::to_string(job.ranks.size));

    // Compute.
    job.control.total.store(total);
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    std::size_t reported = 0;
    const auto progress = [&](std::size_t done) {
        job.control.add(done - reported);
        reported = done;
        return !job.control.cancelled();
    };
    // A search's best so far stays in the folder, so that a stopped search still leaves it.
    const auto bestSoFar = [&](const ScoredCandidate &best, std::size_t done) {
        if (!job.owner || !job.owner->isNewest())
            return;
        writeFileAtomically(job.dir, "best_so_far.txt", elementsFileText(best.elements));
        writeFileAtomically(job.dir, "search_progress.txt",
                            std::to_string(done) + " " + std::to_string(total) + " "
                                + resultNumber(best.scores.steerableArea) + " " + resultNumber(best.scores.worstSide)
                                + " " + resultNumber(best.scores.gain) + "\n");
    };
    const std::vector<ScoredCandidate> rows =
        runDesignBatch(array, medium, settings, entries, job.dir, job.ranks, progress, bestSoFar);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0)
             + "; оценено кандидатов: " + std::to_string(rows.size()));
    if (!job.owner)
        return; // a rank other than the first

    // Publish.
    job.owner->publish([&] {
        writeFileAtomically(job.dir, designTableName(), designTableText(rows));
        writeBestOfSearches(job.dir, entries, rows);
        log.info(std::string("Результат записан в ") + designTableName());
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info(msg::kMarkerWritten);
    });
}

} // namespace kcalc::design
