#include "heating_job.h"

#include <QFile>
#include <cmath>

#include "heating/Bioheat.h"
#include "media.h"
#include "read_from_file.h"
#include "rotate.h"

namespace heatingjob {

double sourcePressure(const Sonication &s)
{
    using namespace shared;
    if (!s.byPower)
        return initpres;
    return kcalc::sourcePressureForPower(s.power, Elem.size(), r, ro, c);
}

kjobs::Point3 jobFocus(const Plane &plane)
{
    if (!plane.axial)
        return {plane.xF, plane.yF, plane.zF};
    double x = 0, y = 0;
    jobfiles::turnFocus(plane.xF, plane.yF, plane.phipr, &x, &y);
    return {x, y, plane.zF};
}

kjobs::VolumeGrid box(const Plane &plane)
{
    return kjobs::heatingBox(jobFocus(plane), shared::nu, shared::c);
}

QString check(const Sonication &s)
{
    if (!(shared::pvs > 0))
        return "В среде нет поглощения: ультразвук ее не нагревает. Выберите ткань в главном окне.";
    if (!(s.heatingTime > 0))
        return "Задайте время нагрева больше нуля, в секундах.";
    if (!(s.coolingTime >= 0))
        return "Время остывания не может быть отрицательным.";
    if (!(s.threshold > 0))
        return "Задайте порог дозы больше нуля, в CEM43 минутах (обычно 240).";
    if (s.byPower && !(s.power > 0))
        return "Задайте акустическую мощность больше нуля, в ваттах.";
    if (!s.byPower && !(shared::initpres > 0))
        return "Давление на элементах в главном окне равно нулю. Задайте его там или выберите мощность.";
    if (shared::Elem.empty())
        return "Нет элементов решетки. Загрузите файл элементов в главном окне.";
    return QString();
}

QList<jobfiles::JobFile> files(const Plane &plane, const Sonication &s)
{
    using namespace shared;
    QList<jobfiles::JobFile> list = jobfiles::arrayAndMediumFiles();
    const double dPhi = plane.axial ? jobfiles::degreesToRadians(plane.phipr) : 0.0;
    list.append({kjobs::names::elements, jobfiles::elementsText(rotateEl(Elem, dPhi))});
    list.append({kjobs::names::focus, plane.axial ? jobfiles::axialFocusText(plane.xF, plane.yF, plane.zF, plane.phipr)
                                                  : jobfiles::transverseFocusText(plane.xF, plane.yF, plane.zF)});
    list.append({kjobs::names::volumeGrid, QByteArray::fromStdString(kjobs::volumeGridText(box(plane)))});

    const media::Thermal tissue = media::thermal(medium, ro, c, pvs);
    kjobs::HeatingSettings h;
    h.sourcePressure = sourcePressure(s);
    h.sonication.heatingTime = s.heatingTime;
    h.sonication.coolingTime = s.coolingTime;
    h.sonication.doseStep = doseStep;
    h.conductivity = tissue.conductivity;
    h.perfusion = tissue.perfusion;
    h.bloodHeatCapacity = media::bloodHeatCapacity;
    h.doseThreshold = s.threshold;
    h.plane = plane.axial ? kjobs::PlaneKind::Axial : kjobs::PlaneKind::Transverse;
    h.planeFixed = plane.axial ? 0.0 : plane.zop; // the axial plane is x = 0 after the turn
    list.append({kjobs::names::heatingSettings, QByteArray::fromStdString(kjobs::heatingSettingsText(h))});
    return list;
}

QString folder()
{
    return jobfiles::folderPath("heat");
}

namespace {

std::string readText(const QString &path, bool *ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? f.readAll().toStdString() : std::string();
}

// Coordinates from metres to centimetres.
void toCentimetres(VDOUB3 &z)
{
    for (int p = 0; p < 2; ++p)
        for (VDOUB &row : z[p])
            for (double &v : row)
                v *= 100;
}

} // namespace

bool readResults(const Plane &plane, Results *results, QString *error)
{
    const QString dir = folder();
    const kjobs::PlaneKind kind = plane.axial ? kjobs::PlaneKind::Axial : kjobs::PlaneKind::Transverse;
    bool ok = false;
    const std::string summary = readText(dir + kjobs::names::heatingSummary, &ok);
    std::string missing;
    if (!ok || !kjobs::parseHeatingSummary(summary, results->summary, &missing)) {
        *error = "Результаты нагрева не прочитаны: в файле " + dir + kjobs::names::heatingSummary + " нет значения "
                 + QString::fromStdString(missing) + ". Повторите расчет.";
        return false;
    }
    const std::string curve = readText(dir + kjobs::names::focusCurve, &ok);
    if (!ok || !kjobs::parseFocusCurve(curve, results->times, results->focusTemperature)) {
        *error = "Результаты нагрева не прочитаны: файл " + dir + kjobs::names::focusCurve
                 + " отсутствует или поврежден. Повторите расчет.";
        return false;
    }
    // The maps in the layout of the field results: horizontal x (transverse) or z (axial).
    const kjobs::VolumeGrid g = box(plane);
    const int ni = plane.axial ? int(g.nz) : int(g.nx), nj = int(g.ny);
    const QString tName = dir + QString::fromStdString(kjobs::temperatureMapName(kind));
    const QString dName = dir + QString::fromStdString(kjobs::doseMapName(kind));
    for (const QString &name : {tName, dName})
        if (!QFile::exists(name)) {
            *error = "Результаты нагрева не прочитаны: нет файла " + name + ". Повторите расчет.";
            return false;
        }
    results->temperature = read_from_file(tName, ni, nj);
    results->dose = read_from_file(dName, ni, nj);
    toCentimetres(results->temperature);
    toCentimetres(results->dose);
    return true;
}

namespace {

QString num(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

QString where(double x, double y, double z, bool axial)
{
    // Axial maps: z along the axis, r across it in the plane, x the distance from the plane.
    if (axial)
        return "z = " + num(z * 100, 2) + " см, r = " + num(y * 100, 2) + " см"
               + (std::fabs(x) > 1e-9 ? ", вне плоскости на " + num(x * 100, 2) + " см" : QString());
    return "x = " + num(x * 100, 2) + " см, y = " + num(y * 100, 2) + " см, z = " + num(z * 100, 2) + " см";
}

} // namespace

QString readingsText(const kjobs::HeatingSummary &s, bool axial)
{
    QStringList lines;
    lines << "Наибольшая температура: " + num(s.peakTemperature, 1) + " °C (" + where(s.peakX, s.peakY, s.peakZ, axial)
                 + ")";
    lines << "Наибольшая температура в фокусе: " + num(s.focusPeakTemperature, 1) + " °C";
    if (s.lesion)
        lines << "Очаг (доза не менее " + QString::number(s.doseThreshold, 'g', 6) + " CEM43 мин): длина "
                     + num(s.lesionLength * 1000, 1) + " мм, ширина "
                     + num(std::max(s.lesionWidthX, s.lesionWidthY) * 1000, 1) + " мм";
    else
        lines << "Очага нет: доза нигде не достигла " + QString::number(s.doseThreshold, 'g', 6) + " CEM43 мин";
    lines << "Вне фокальной области: наибольшая температура " + num(s.outsideTemperature, 1) + " °C ("
                 + where(s.outsideX, s.outsideY, s.outsideZ, axial) + "); фокальная область: эллипсоид с полуосями "
                 + num(s.focalSemiAxisX * 1000, 1) + " × " + num(s.focalSemiAxisY * 1000, 1) + " × "
                 + num(s.focalSemiAxisZ * 1000, 1) + " мм";
    return lines.join("\n");
}

QString tissueText()
{
    using namespace shared;
    const media::Thermal t = media::thermal(medium, ro, c, pvs);
    return "Среда: " + QString::fromUtf8(media::preset(medium).label).toLower() + "; теплоемкость "
           + QString::number(t.heatCapacity, 'g', 6) + " Дж/(кг·К), теплопроводность "
           + QString::number(t.conductivity, 'g', 6) + " Вт/(м·К), перфузия " + num(t.perfusion, 2) + " кг/(м³·с)";
}

} // namespace heatingjob
