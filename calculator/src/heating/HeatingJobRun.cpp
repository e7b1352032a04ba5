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
    log.info(std::string("Чтение файлов задания: array.txt, medium.txt, array_elements.txt, focus.txt, ")
             + names::volumeGrid + (heating ? std::string(", ") + names::heatingSettings : std::string()));
    const heatjob::JobInput input = heatjob::readJobInput(job.dir, heating);
    for (const std::string &line : heatjob::describeJobInput(input, heating))
        log.info(line);
    if (heating)
        heatjob::checkHeatingJob(input);
    else
        heatjob::checkVolumeJob(input);
    log.info("Проверка пройдена. Точек области: " + std::to_string(input.box.pointCount()) + "; память около "
             + mebibytes(heating ? heatjob::heatingMemoryBytes(input) : heatjob::volumeMemoryBytes(input.box))
             + " МиБ");
    return input;
}

} // namespace

void runVolumeJob(JobContext &job)
{
    if (!job.ranks.root())
        return; // one process computes the box
    Log &log = job.log;
    const heatjob::JobInput input = readAndCheck(job, false);
    log.info("Расчет: поле решетки в объеме, слой за слоем поперек оси; потоков OpenMP: "
             + std::to_string(omp_get_max_threads()));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const VolumeFieldResult field = computeVolumeField(input.array, input.medium, input.focus, input.box, &job.control);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0) + "; |p(F)|/p0 = "
             + resultNumber(field.focusPressure) + ", максимум |p|/p0 = " + resultNumber(field.maximum));
    job.owner->publish([&] {
        heatjob::writeVolumeResult(job.dir, input.box, field);
        log.info(std::string("Результат записан в ") + names::volumeResult);
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info("Записан признак завершения calcdone");
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
    log.info("Расчет: поле в объеме, источник тепла q = 2·α·I, уравнение Пеннеса спектральным методом (FFTW, "
             "точное решение по времени для каждой гармоники); запас вокруг области "
             + resultNumber(paddingLength(tissue, input.settings.sonication) * 1000) + " мм, сетка "
             + std::to_string(layout.nx) + " x " + std::to_string(layout.ny) + " x " + std::to_string(layout.nz)
             + "; потоков OpenMP: " + std::to_string(omp_get_max_threads()));
    job.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const heatjob::HeatingResult result = heatjob::computeHeating(input, &job.control);
    const HeatingSummary summary = heatjob::summarise(input, result);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0) + ". Наибольшая температура "
             + resultNumber(summary.peakTemperature) + " °C в точке (" + resultNumber(summary.peakX) + ", "
             + resultNumber(summary.peakY) + ", " + resultNumber(summary.peakZ) + ") м; очаг: "
             + (summary.lesion ? "длина " + resultNumber(summary.lesionLength) + " м, ширина "
                                     + resultNumber(std::max(summary.lesionWidthX, summary.lesionWidthY)) + " м"
                               : std::string("нет")));
    job.owner->publish([&] {
        heatjob::writeHeatingResults(job.dir, input, result);
        log.info("Результаты записаны в " + temperatureMapName(input.settings.plane) + ", "
                 + doseMapName(input.settings.plane) + ", " + names::focusCurve + ", " + names::heatingSummary);
        if (job.control.cancelled())
            throw JobCancelled();
        markDone(job.dir);
        log.info("Записан признак завершения calcdone");
    });
}

} // namespace kcalc
