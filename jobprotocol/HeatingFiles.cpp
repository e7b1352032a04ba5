// The files of the volume and heating jobs: the application's writers of their input and readers of
// their results, the calculator's readers of the input and writers of the results.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "JobProtocol.h"

namespace kjobs {

VolumeGrid centredVolume(const Point3 &centre, long nx, long ny, long nz, double dx, double dy, double dz)
{
    VolumeGrid g;
    g.nx = nx;
    g.ny = ny;
    g.nz = nz;
    g.dx = dx;
    g.dy = dy;
    g.dz = dz;
    g.x0 = centre.x - 0.5 * static_cast<double>(nx - 1) * dx;
    g.y0 = centre.y - 0.5 * static_cast<double>(ny - 1) * dy;
    g.z0 = centre.z - 0.5 * static_cast<double>(nz - 1) * dz;
    return g;
}

VolumeGrid heatingBox(const Point3 &focus, double frequency, double soundSpeed)
{
    const double lambda = soundSpeed / frequency;
    return centredVolume(focus, 73, 73, 73, lambda / 6, lambda / 6, lambda / 3);
}

std::string temperatureMapName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "Heating_T_XY.txt" : "Heating_T_YZ.txt";
}

std::string doseMapName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "Heating_dose_XY.txt" : "Heating_dose_YZ.txt";
}

std::vector<std::string> heatingFolderFiles()
{
    return {names::array,
            names::medium,
            names::elements,
            names::focus,
            names::volumeGrid,
            names::heatingSettings,
            names::volumeResult,
            temperatureMapName(PlaneKind::Transverse),
            temperatureMapName(PlaneKind::Axial),
            doseMapName(PlaneKind::Transverse),
            doseMapName(PlaneKind::Axial),
            names::focusCurve,
            names::heatingSummary,
            names::done,
            names::log};
}

namespace {

std::string lines(std::initializer_list<double> values)
{
    std::string out;
    for (double v : values) {
        appendResultNumber(out, v);
        out += '\n';
    }
    return out;
}

} // namespace

// ---- Input ----

std::string volumeGridText(const VolumeGrid &g)
{
    return lines({double(g.nx), double(g.ny), double(g.nz), g.x0, g.y0, g.z0, g.dx, g.dy, g.dz});
}

std::string heatingSettingsText(const HeatingSettings &s)
{
    std::string out =
        lines({s.sourcePressure, s.sonication.heatingTime, s.sonication.coolingTime, s.sonication.doseStep,
               s.conductivity, s.perfusion, s.bloodHeatCapacity, s.sonication.baseline, s.doseThreshold});
    out += s.plane == PlaneKind::Transverse ? "xy\n" : "yz\n";
    appendResultNumber(out, s.planeFixed);
    out += '\n';
    return out;
}

VolumeGrid readVolumeGridFile(const std::string &dir)
{
    const TextFile f = readTextFile(dir, names::volumeGrid);
    VolumeGrid g;
    g.nx = f.lastCount(0, "число точек по x", Count::Positive);
    g.ny = f.lastCount(1, "число точек по y", Count::Positive);
    g.nz = f.lastCount(2, "число точек по z", Count::Positive);
    f.lastNumbers(3, {{&g.x0, "первая точка по x"},
                      {&g.y0, "первая точка по y"},
                      {&g.z0, "первая точка по z"},
                      {&g.dx, "шаг по x"},
                      {&g.dy, "шаг по y"},
                      {&g.dz, "шаг по z"}});
    return g;
}

HeatingSettings readHeatingSettingsFile(const std::string &dir)
{
    const TextFile f = readTextFile(dir, names::heatingSettings);
    HeatingSettings s;
    f.lastNumbers(0, {{&s.sourcePressure, "давление на элементах, Па"},
                      {&s.sonication.heatingTime, "время нагрева, с"},
                      {&s.sonication.coolingTime, "время остывания, с"},
                      {&s.sonication.doseStep, "шаг дозы, с"},
                      {&s.conductivity, "теплопроводность, Вт/(м·К)"},
                      {&s.perfusion, "перфузия, кг/(м³·с)"},
                      {&s.bloodHeatCapacity, "теплоемкость крови, Дж/(кг·К)"},
                      {&s.sonication.baseline, "температура тела, °C"},
                      {&s.doseThreshold, "порог дозы, CEM43 мин"}});
    const std::string plane = f.lastToken(9, "плоскость карт");
    if (!parsePlaneKind(plane, s.plane))
        throw JobError(f.where(9, "плоскость карт") + ": ожидается xy или yz, задано " + readableText(plane));
    s.planeFixed = f.lastNumber(10, "координата плоскости карт, м");
    return s;
}

// ---- Results ----

namespace {

struct SummaryKey {
    const char *key;
    double HeatingSummary::*value;
};
const SummaryKey kSummaryKeys[] = {
    {"peak_temperature", &HeatingSummary::peakTemperature},
    {"peak_x", &HeatingSummary::peakX},
    {"peak_y", &HeatingSummary::peakY},
    {"peak_z", &HeatingSummary::peakZ},
    {"lesion_length", &HeatingSummary::lesionLength},
    {"lesion_width_x", &HeatingSummary::lesionWidthX},
    {"lesion_width_y", &HeatingSummary::lesionWidthY},
    {"outside_temperature", &HeatingSummary::outsideTemperature},
    {"outside_x", &HeatingSummary::outsideX},
    {"outside_y", &HeatingSummary::outsideY},
    {"outside_z", &HeatingSummary::outsideZ},
    {"focal_semi_axis_x", &HeatingSummary::focalSemiAxisX},
    {"focal_semi_axis_y", &HeatingSummary::focalSemiAxisY},
    {"focal_semi_axis_z", &HeatingSummary::focalSemiAxisZ},
    {"focus_peak_temperature", &HeatingSummary::focusPeakTemperature},
    {"padding", &HeatingSummary::padding},
    {"dose_threshold", &HeatingSummary::doseThreshold},
};

} // namespace

std::string heatingSummaryText(const HeatingSummary &s)
{
    std::string out = std::string("lesion ") + (s.lesion ? "1" : "0") + "\n";
    for (const SummaryKey &k : kSummaryKeys) {
        out += k.key;
        out += ' ';
        appendResultNumber(out, s.*k.value);
        out += '\n';
    }
    return out;
}

bool parseHeatingSummary(const std::string &text, HeatingSummary &s, std::string *error)
{
    bool haveLesion = false;
    std::vector<bool> have(std::size(kSummaryKeys), false);
    for (const std::string &line : splitLines(text)) {
        const std::vector<std::string> t = splitTokens(line);
        if (t.size() != 2)
            continue;
        double v;
        if (!parseNumber(t[1], v) || !std::isfinite(v))
            continue;
        if (t[0] == "lesion") {
            s.lesion = v != 0;
            haveLesion = true;
        }
        for (std::size_t i = 0; i < std::size(kSummaryKeys); ++i)
            if (t[0] == kSummaryKeys[i].key) {
                s.*kSummaryKeys[i].value = v;
                have[i] = true;
            }
    }
    for (std::size_t i = 0; i < have.size(); ++i)
        if (!have[i]) {
            if (error)
                *error = kSummaryKeys[i].key;
            return false;
        }
    if (!haveLesion && error)
        *error = "lesion";
    return haveLesion;
}

std::string focusCurveText(const std::vector<double> &times, const std::vector<double> &temperatures)
{
    std::string out;
    for (std::size_t i = 0; i < times.size() && i < temperatures.size(); ++i) {
        appendResultNumber(out, times[i]);
        out += ' ';
        appendResultNumber(out, temperatures[i]);
        out += '\n';
    }
    return out;
}

bool parseFocusCurve(const std::string &text, std::vector<double> &times, std::vector<double> &temperatures)
{
    times.clear();
    temperatures.clear();
    for (const std::string &line : splitLines(text)) {
        const std::vector<std::string> t = splitTokens(line);
        if (t.empty())
            continue;
        double a, b;
        if (t.size() != 2 || !parseNumber(t[0], a) || !parseNumber(t[1], b) || !std::isfinite(a) || !std::isfinite(b))
            return false;
        times.push_back(a);
        temperatures.push_back(b);
    }
    return !times.empty();
}

std::string volumeResultBytes(const VolumeGrid &g, const std::vector<double> &values)
{
    double top = 0;
    for (double v : values)
        top = std::max(top, v);
    std::string out = "kormax-volume";
    for (double v : {double(g.nx), double(g.ny), double(g.nz), g.x0, g.y0, g.z0, g.dx, g.dy, g.dz, top}) {
        out += ' ';
        appendResultNumber(out, v);
    }
    out += '\n';
    const std::size_t head = out.size();
    out.resize(head + values.size() * sizeof(double));
    std::memcpy(&out[head], values.data(), values.size() * sizeof(double)); // x86-64: little-endian
    return out;
}

} // namespace kjobs
