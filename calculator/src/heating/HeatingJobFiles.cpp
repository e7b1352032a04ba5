#include "heating/HeatingJobFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "output/ResultFiles.h"
#include "params/JobError.h"
#include "params/JobError.h"

namespace kcalc::heatjob {

const char *const volumeGridName = "grid_volume.txt";
const char *const settingsName = "heating.txt";
const char *const volumeResultName = "AbsField_XYZ.bin";
const char *const focusCurveName = "Heating_focus.txt";
const char *const summaryName = "Heating_summary.txt";

std::string temperatureMapName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "Heating_T_XY.txt" : "Heating_T_YZ.txt";
}

std::string doseMapName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "Heating_dose_XY.txt" : "Heating_dose_YZ.txt";
}

std::vector<std::string> folderFiles()
{
    return {"array.txt",
            "medium.txt",
            "array_elements.txt",
            "focus.txt",
            volumeGridName,
            settingsName,
            volumeResultName,
            temperatureMapName(PlaneKind::Transverse),
            temperatureMapName(PlaneKind::Axial),
            doseMapName(PlaneKind::Transverse),
            doseMapName(PlaneKind::Axial),
            focusCurveName,
            summaryName,
            "calcdone",
            "log.txt"};
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

long count(const TextFile &f, std::size_t line, const char *what)
{
    const double v = f.lastNumber(line, what);
    if (v != std::floor(v) || v < 1 || v > 1e9)
        throw JobError("Ошибка в файле " + f.name + ", строка " + std::to_string(line + 1) + " (" + what
                       + "): число точек должно быть целым положительным, задано " + resultNumber(v));
    return static_cast<long>(v);
}

} // namespace

std::string volumeGridText(const VolumeGrid &g)
{
    return lines({double(g.nx), double(g.ny), double(g.nz), g.x0, g.y0, g.z0, g.dx, g.dy, g.dz});
}

std::string settingsText(const HeatingSettings &s)
{
    std::string out =
        lines({s.sourcePressure, s.sonication.heatingTime, s.sonication.coolingTime, s.sonication.doseStep,
               s.conductivity, s.perfusion, s.bloodHeatCapacity, s.sonication.baseline, s.doseThreshold});
    out += s.plane == PlaneKind::Transverse ? "xy\n" : "yz\n";
    appendResultNumber(out, s.planeFixed);
    out += '\n';
    return out;
}

VolumeGrid readVolumeGrid(const std::string &dir)
{
    const TextFile f = readTextFile(dir, volumeGridName);
    VolumeGrid g;
    g.nx = count(f, 0, "число точек по x");
    g.ny = count(f, 1, "число точек по y");
    g.nz = count(f, 2, "число точек по z");
    g.x0 = f.lastNumber(3, "первая точка по x");
    g.y0 = f.lastNumber(4, "первая точка по y");
    g.z0 = f.lastNumber(5, "первая точка по z");
    g.dx = f.lastNumber(6, "шаг по x");
    g.dy = f.lastNumber(7, "шаг по y");
    g.dz = f.lastNumber(8, "шаг по z");
    return g;
}

HeatingSettings readSettings(const std::string &dir)
{
    const TextFile f = readTextFile(dir, settingsName);
    HeatingSettings s;
    s.sourcePressure = f.lastNumber(0, "давление на элементах, Па");
    s.sonication.heatingTime = f.lastNumber(1, "время нагрева, с");
    s.sonication.coolingTime = f.lastNumber(2, "время остывания, с");
    s.sonication.doseStep = f.lastNumber(3, "шаг дозы, с");
    s.conductivity = f.lastNumber(4, "теплопроводность, Вт/(м·К)");
    s.perfusion = f.lastNumber(5, "перфузия, кг/(м³·с)");
    s.bloodHeatCapacity = f.lastNumber(6, "теплоемкость крови, Дж/(кг·К)");
    s.sonication.baseline = f.lastNumber(7, "температура тела, °C");
    s.doseThreshold = f.lastNumber(8, "порог дозы, CEM43 мин");
    const std::string plane = f.lastToken(9, "плоскость карт");
    if (plane != "xy" && plane != "yz")
        throw JobError("Ошибка в файле " + f.name + ", строка 10 (плоскость карт): ожидается xy или yz, задано "
                       + readableText(plane));
    s.plane = plane == "xy" ? PlaneKind::Transverse : PlaneKind::Axial;
    s.planeFixed = f.lastNumber(10, "координата плоскости карт, м");
    return s;
}

VolumeGrid heatingBox(const Point3 &focus, double frequency, double soundSpeed)
{
    const double lambda = soundSpeed / frequency;
    return centredVolume(focus, 73, 73, 73, lambda / 6, lambda / 6, lambda / 3);
}

double sourcePressureForPower(double power, std::size_t elements, double elementRadius, double density,
                              double soundSpeed)
{
    const double area = static_cast<double>(elements) * M_PI * elementRadius * elementRadius;
    return std::sqrt(2 * density * soundSpeed * power / area);
}

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

std::string summaryText(const HeatingSummary &s)
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

bool parseSummary(const std::string &text, HeatingSummary &s, std::string *error)
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

} // namespace kcalc::heatjob
