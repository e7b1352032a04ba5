#include "heating/HeatingJob.h"

#include <algorithm>
#include <cmath>

#include "JobLimits.h"
#include "field/RunControl.h"
#include "output/ResultFiles.h"
#include "params/JobError.h"

namespace kcalc::heatjob {

JobInput readJobInput(const std::string &dir, bool heating)
{
    JobInput input;
    readArrayFile(dir, input.array);
    readMediumFile(dir, input.medium);
    input.array.elements = readElementsFile(dir);
    input.focus = readFocusFile(dir);
    input.box = readVolumeGridFile(dir);
    if (heating)
        input.settings = readHeatingSettingsFile(dir);
    return input;
}

ThermalProperties thermalProperties(const JobInput &input)
{
    ThermalProperties t;
    t.density = input.medium.density;
    t.heatCapacity = input.medium.heatCapacity;
    t.conductivity = input.settings.conductivity;
    t.perfusion = input.settings.perfusion;
    t.bloodHeatCapacity = input.settings.bloodHeatCapacity;
    return t;
}

double volumeMemoryBytes(const VolumeGrid &box)
{
    // The field and one plane of points and amplitudes.
    return static_cast<double>(box.pointCount()) * 8
           + static_cast<double>(box.nx) * static_cast<double>(box.ny) * (24 + 8);
}

namespace {

long doseSteps(const Sonication &s)
{
    return phaseSteps(s.heatingTime, s.doseStep).count + phaseSteps(s.coolingTime, s.doseStep).count;
}

} // namespace

double heatingMemoryBytes(const JobInput &input)
{
    const BioheatLayout layout = bioheatLayout(input.box, thermalProperties(input), input.settings.sonication);
    return volumeMemoryBytes(input.box)
           + bioheatMemoryBytes(layout, static_cast<std::size_t>(doseSteps(input.settings.sonication)));
}

namespace {

const char *const kGrid = "grid_volume.txt";
const char *const kSettings = "heating.txt";

void checkMemory(double need, const std::string &what)
{
    const double have = kjobs::physicalMemoryBytes();
    if (!kjobs::fitsInMemory(need, have))
        throw JobError(what + ": нужно около " + resultNumber(std::round(need / 1048576)) + " МиБ памяти, доступно "
                       + resultNumber(std::round(have / 1048576)) + " МиБ. Уменьшите область или число шагов");
}

void requirePositive(double v, const char *file, int line, const char *what)
{
    if (!(v > 0))
        throw JobError(std::string("Ошибка в файле ") + file + ", строка " + std::to_string(line) + " (" + what
                       + "): значение должно быть больше нуля, задано " + resultNumber(v));
}

} // namespace

void checkVolumeJob(const JobInput &input)
{
    checkArrayAndMedium(input.array, input.medium);
    checkFocus(input.focus);
    const VolumeGrid &g = input.box;
    const double steps[] = {g.dx, g.dy, g.dz};
    const char *names[] = {"шаг по x", "шаг по y", "шаг по z"};
    for (int i = 0; i < 3; ++i)
        if (!(steps[i] >= 1e-9 && steps[i] <= 1e3))
            throw JobError(std::string("Ошибка в файле ") + kGrid + ", строка " + std::to_string(7 + i) + " ("
                           + names[i] + "): шаг должен быть от 1 нм до 1 км, задано " + resultNumber(steps[i]) + " м");
    const Point3 last = g.point(g.nx - 1, g.ny - 1, g.nz - 1);
    for (double v : {g.x0, g.y0, g.z0, last.x, last.y, last.z})
        if (!(std::fabs(v) <= 1e3))
            throw JobError(std::string("Ошибка в файле ") + kGrid
                           + ": область выходит за 1 км от начала координат (координата " + resultNumber(v) + " м)");
    checkMemory(volumeMemoryBytes(g), std::string("Слишком большая область (") + kGrid + ", " + std::to_string(g.nx)
                                          + " x " + std::to_string(g.ny) + " x " + std::to_string(g.nz) + " точек)");
}

void checkHeatingJob(const JobInput &input)
{
    checkVolumeJob(input);
    if (!(input.medium.absorption_dB_cm_MHz > 0))
        throw JobError("В файле medium.txt поглощение в среде равно " + resultNumber(input.medium.absorption_dB_cm_MHz)
                       + " дБ/(см·МГц): среда без поглощения ультразвуком не нагревается. Выберите ткань с "
                         "поглощением");
    if (!(input.medium.heatCapacity > 0))
        throw JobError("Ошибка в файле medium.txt, строка 4 (теплоемкость): значение должно быть больше нуля, "
                       "задано "
                       + resultNumber(input.medium.heatCapacity));
    const HeatingSettings &s = input.settings;
    requirePositive(s.sourcePressure, kSettings, 1, "давление на элементах");
    requirePositive(s.sonication.heatingTime, kSettings, 2, "время нагрева");
    if (!(s.sonication.coolingTime >= 0))
        throw JobError(std::string("Ошибка в файле ") + kSettings
                       + ", строка 3 (время остывания): значение не может быть отрицательным, задано "
                       + resultNumber(s.sonication.coolingTime));
    requirePositive(s.sonication.doseStep, kSettings, 4, "шаг дозы");
    requirePositive(s.conductivity, kSettings, 5, "теплопроводность");
    if (!(s.perfusion >= 0))
        throw JobError(std::string("Ошибка в файле ") + kSettings
                       + ", строка 6 (перфузия): значение не может быть отрицательным, задано "
                       + resultNumber(s.perfusion));
    requirePositive(s.bloodHeatCapacity, kSettings, 7, "теплоемкость крови");
    if (!(s.sonication.baseline > 0 && s.sonication.baseline < 60))
        throw JobError(std::string("Ошибка в файле ") + kSettings
                       + ", строка 8 (температура тела): ожидается от 0 до 60 °C, задано "
                       + resultNumber(s.sonication.baseline));
    requirePositive(s.doseThreshold, kSettings, 9, "порог дозы");
    const double steps = (s.sonication.heatingTime + s.sonication.coolingTime) / s.sonication.doseStep;
    if (steps > static_cast<double>(kMaxDoseSteps))
        throw JobError(std::string("Ошибка в файле ") + kSettings + ": шаг дозы " + resultNumber(s.sonication.doseStep)
                       + " с дает " + resultNumber(std::ceil(steps)) + " шагов на "
                       + resultNumber(s.sonication.heatingTime + s.sonication.coolingTime) + " с, допустимо не более "
                       + std::to_string(kMaxDoseSteps) + ". Увеличьте шаг");
    const BioheatLayout layout = bioheatLayout(input.box, thermalProperties(input), s.sonication);
    checkMemory(heatingMemoryBytes(input), std::string("Слишком большая область нагрева (") + kGrid + ", "
                                               + std::to_string(layout.nx) + " x " + std::to_string(layout.ny) + " x "
                                               + std::to_string(layout.nz) + " точек с запасом)");
}

std::vector<std::string> describeJobInput(const JobInput &input, bool heating)
{
    kcalc::JobInput asField;
    asField.array = input.array;
    asField.medium = input.medium;
    asField.focus = input.focus;
    std::vector<std::string> lines = kcalc::describeJobInput(asField);
    lines.resize(std::min<std::size_t>(lines.size(), 3));
    const VolumeGrid &g = input.box;
    lines.push_back("Область (grid_volume.txt): " + std::to_string(g.nx) + " x " + std::to_string(g.ny) + " x "
                    + std::to_string(g.nz) + " точек от (" + resultNumber(g.x0) + ", " + resultNumber(g.y0) + ", "
                    + resultNumber(g.z0) + ") м с шагами " + resultNumber(g.dx) + ", " + resultNumber(g.dy) + ", "
                    + resultNumber(g.dz) + " м");
    if (heating) {
        const HeatingSettings &s = input.settings;
        lines.push_back("Нагрев (heating.txt): p0 = " + resultNumber(s.sourcePressure) + " Па, нагрев "
                        + resultNumber(s.sonication.heatingTime) + " с, остывание "
                        + resultNumber(s.sonication.coolingTime) + " с, шаг дозы " + resultNumber(s.sonication.doseStep)
                        + " с; k = " + resultNumber(s.conductivity) + " Вт/(м·К), w_b = " + resultNumber(s.perfusion)
                        + " кг/(м³·с), c_b = " + resultNumber(s.bloodHeatCapacity)
                        + " Дж/(кг·К), T0 = " + resultNumber(s.sonication.baseline) + " °C, порог дозы "
                        + resultNumber(s.doseThreshold) + " CEM43 мин");
    }
    return lines;
}

std::size_t heatingProgressUnits(const JobInput &input, std::size_t *stepUnits)
{
    // A dose step costs about as much as field points of the box / 50 (measured on the example).
    const BioheatLayout layout = bioheatLayout(input.box, thermalProperties(input), input.settings.sonication);
    const std::size_t perStep =
        std::max<std::size_t>(1, layout.boxPoints() / 50 / std::max<std::size_t>(1, input.array.elements.size()));
    if (stepUnits)
        *stepUnits = perStep;
    return input.box.pointCount() + perStep * static_cast<std::size_t>(doseSteps(input.settings.sonication) + 1);
}

HeatingResult computeHeating(const JobInput &input, RunControl *control)
{
    HeatingResult r;
    std::size_t stepUnits = 1;
    if (control)
        control->total.store(heatingProgressUnits(input, &stepUnits));
    r.field = computeVolumeField(input.array, input.medium, input.focus, input.box, control);
    // dB/(cm MHz) at the job's frequency to Np/m, as the field model converts it.
    const double alpha = input.medium.absorption_dB_cm_MHz * (input.array.frequency / 1e6) * 100.0 / 8.685889638065037;
    const std::vector<double> q = absorbedPower(r.field.values, input.settings.sourcePressure, alpha,
                                                input.medium.density, input.medium.soundSpeed);
    const ThermalProperties tissue = thermalProperties(input);
    r.layout = bioheatLayout(input.box, tissue, input.settings.sonication);
    // The probe: the box point nearest the focus.
    const VolumeGrid &g = input.box;
    const std::size_t probe = g.index(nearestIndex(g, 0, input.focus.x), nearestIndex(g, 1, input.focus.y),
                                      nearestIndex(g, 2, input.focus.z));
    r.heat = solveBioheat(r.layout, q, tissue, input.settings.sonication, probe, control, stepUnits);
    r.readings = heatingReadings(g, r.field.values, r.heat.peakTemperature, r.heat.dose, input.settings.doseThreshold,
                                 input.settings.sonication.baseline);
    return r;
}

HeatingSummary summarise(const JobInput &input, const HeatingResult &result)
{
    const HeatingReadings &h = result.readings;
    HeatingSummary s;
    s.peakTemperature = h.peakTemperature;
    s.peakX = h.peakAt.x;
    s.peakY = h.peakAt.y;
    s.peakZ = h.peakAt.z;
    s.lesion = h.lesion;
    s.lesionLength = h.lesionLength;
    s.lesionWidthX = h.lesionWidthX;
    s.lesionWidthY = h.lesionWidthY;
    s.outsideTemperature = h.outsideTemperature;
    s.outsideX = h.outsideAt.x;
    s.outsideY = h.outsideAt.y;
    s.outsideZ = h.outsideAt.z;
    s.focalSemiAxisX = h.focalSemiAxisX;
    s.focalSemiAxisY = h.focalSemiAxisY;
    s.focalSemiAxisZ = h.focalSemiAxisZ;
    s.focusPeakTemperature = *std::max_element(result.heat.probe.begin(), result.heat.probe.end());
    s.padding = paddingLength(thermalProperties(input), input.settings.sonication);
    s.doseThreshold = input.settings.doseThreshold;
    return s;
}

void writeVolumeResult(const std::string &dir, const VolumeGrid &box, const VolumeFieldResult &field)
{
    requireFiniteResult(field.values, names::volumeResult);
    writeFileAtomically(dir, names::volumeResult, volumeResultBytes(box, field.values));
}

void writeHeatingResults(const std::string &dir, const JobInput &input, const HeatingResult &result)
{
    const HeatingSettings &s = input.settings;
    const PlaneGrid slice = boxSlice(input.box, s.plane, s.planeFixed);
    const std::vector<double> temperature = sliceValues(input.box, slice, result.heat.peakTemperature);
    const std::vector<double> dose = sliceValues(input.box, slice, result.heat.dose);
    requireFiniteResult(result.heat.peakTemperature, temperatureMapName(s.plane));
    requireFiniteResult(result.heat.dose, doseMapName(s.plane));
    requireFiniteResult(result.heat.probe, names::focusCurve);
    writeFileAtomically(dir, temperatureMapName(s.plane), fieldResultText(slice, temperature));
    writeFileAtomically(dir, doseMapName(s.plane), fieldResultText(slice, dose));
    writeFileAtomically(dir, names::focusCurve, focusCurveText(result.heat.times, result.heat.probe));
    writeFileAtomically(dir, names::heatingSummary, heatingSummaryText(summarise(input, result)));
}

} // namespace kcalc::heatjob
