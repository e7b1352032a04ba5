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
        throw JobError(
            msg::needsMemory(what, resultNumber(std::round(need / 1048576)), resultNumber(std::round(have / 1048576))));
}

void requirePositive(double v, const char *file, int line, const char *what)
{
    if (!(v > 0))
        throw JobError(msg::atLine(file, line, what) + msg::notPositive(resultNumber(v)));
}

void requireNotNegative(double v, const char *file, int line, const char *what)
{
    if (!(v >= 0))
        throw JobError(msg::atLine(file, line, what) + msg::negative(resultNumber(v)));
}

} // namespace

void checkVolumeJob(const JobInput &input)
{
    checkArrayAndMedium(input.array, input.medium);
    checkFocus(input.focus);
    const VolumeGrid &g = input.box;
    const double steps[] = {g.dx, g.dy, g.dz};
    for (int i = 0; i < 3; ++i)
        if (!(steps[i] >= 1e-9 && steps[i] <= 1e3))
            throw JobError(msg::atLine(kGrid, 7 + i, msg::kBoxStepNames[i])
                           + msg::boxStepOutOfRange(resultNumber(steps[i])));
    const Point3 last = g.point(g.nx - 1, g.ny - 1, g.nz - 1);
    for (double v : {g.x0, g.y0, g.z0, last.x, last.y, last.z})
        if (!(std::fabs(v) <= 1e3))
            throw JobError(msg::inFile(kGrid, msg::boxTooFar(resultNumber(v))));
    checkMemory(volumeMemoryBytes(g), msg::boxTooLarge(kGrid, g.nx, g.ny, g.nz));
}

void checkHeatingJob(const JobInput &input)
{
    checkVolumeJob(input);
    if (!(input.medium.absorption_dB_cm_MHz > 0))
        throw JobError(msg::noAbsorption(resultNumber(input.medium.absorption_dB_cm_MHz)));
    requirePositive(input.medium.heatCapacity, "medium.txt", 4, msg::kHeatCapacity);
    const HeatingSettings &s = input.settings;
    requirePositive(s.sourcePressure, kSettings, 1, msg::kSourcePressure);
    requirePositive(s.sonication.heatingTime, kSettings, 2, msg::kHeatingTime);
    requireNotNegative(s.sonication.coolingTime, kSettings, 3, msg::kCoolingTime);
    requirePositive(s.sonication.doseStep, kSettings, 4, msg::kDoseStep);
    requirePositive(s.conductivity, kSettings, 5, msg::kConductivity);
    requireNotNegative(s.perfusion, kSettings, 6, msg::kPerfusion);
    requirePositive(s.bloodHeatCapacity, kSettings, 7, msg::kBloodHeatCapacity);
    if (!(s.sonication.baseline > 0 && s.sonication.baseline < 60))
        throw JobError(msg::atLine(kSettings, 8, msg::kBaseline)
                       + msg::baselineOutOfRange(resultNumber(s.sonication.baseline)));
    requirePositive(s.doseThreshold, kSettings, 9, msg::kDoseThreshold);
    const double steps = (s.sonication.heatingTime + s.sonication.coolingTime) / s.sonication.doseStep;
    if (steps > static_cast<double>(kMaxDoseSteps))
        throw JobError(msg::inFile(
            kSettings,
            msg::tooManyDoseSteps(resultNumber(s.sonication.doseStep), resultNumber(std::ceil(steps)),
                                  resultNumber(s.sonication.heatingTime + s.sonication.coolingTime), kMaxDoseSteps)));
    const BioheatLayout layout = bioheatLayout(input.box, thermalProperties(input), s.sonication);
    checkMemory(heatingMemoryBytes(input), msg::heatedBoxTooLarge(kGrid, layout.nx, layout.ny, layout.nz));
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
    lines.push_back(msg::boxLine(g.nx, g.ny, g.nz, resultNumber(g.x0), resultNumber(g.y0), resultNumber(g.z0),
                                 resultNumber(g.dx), resultNumber(g.dy), resultNumber(g.dz)));
    if (heating) {
        const HeatingSettings &s = input.settings;
        lines.push_back(msg::sonicationLine(resultNumber(s.sourcePressure), resultNumber(s.sonication.heatingTime),
                                            resultNumber(s.sonication.coolingTime), resultNumber(s.sonication.doseStep),
                                            resultNumber(s.conductivity), resultNumber(s.perfusion),
                                            resultNumber(s.bloodHeatCapacity), resultNumber(s.sonication.baseline),
                                            resultNumber(s.doseThreshold)));
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
