#include "field_metrics.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <vector>

#include "JobProtocol.h"
#include "job_files.h"

namespace {
bool hasField(const VDOUB3 &z)
{
    return z.size() >= 3 && !z[2].empty() && !z[2][0].empty();
}

QString fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

QString general(double v)
{
    return QString::number(v, 'g', 6);
}
} // namespace

// ---- Decibels ----

bool parseDecibelLevels(const QString &text, QList<double> *levels)
{
    QList<double> out;
    for (const QString &word : text.split(QRegularExpression("[\\s,;]+"), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = word.toDouble(&ok);
        if (!ok || !(v < 0.0) || !std::isfinite(v))
            return false;
        out << v;
    }
    if (out.isEmpty())
        return false;
    *levels = out;
    return true;
}

// ---- Focus and plane ----

FocusPlacement focusPlacement(const VDOUB3 &z, double u, double v, double distance, double tolerance)
{
    FocusPlacement f;
    f.u = u;
    f.v = v;
    f.distance = std::abs(distance);
    f.inPlane = f.distance <= tolerance;
    if (hasField(z)) {
        const size_t I = z[0].size() - 1, J = z[0][0].size() - 1;
        const double x0 = std::min(z[0][0][0], z[0][I][J]), x1 = std::max(z[0][0][0], z[0][I][J]);
        const double y0 = std::min(z[1][0][0], z[1][I][J]), y1 = std::max(z[1][0][0], z[1][I][J]);
        f.onGrid = u >= x0 - tolerance && u <= x1 + tolerance && v >= y0 - tolerance && v <= y1 + tolerance;
    }
    return f;
}

FocusPlacement currentFocusPlacement(const VDOUB3 &z, bool axial)
{
    using namespace shared;
    if (axial) {
        double across = 0, along = 0;
        jobfiles::turnFocus(xF, yF, phipr, &across, &along);
        return focusPlacement(z, zF * 100.0, along * 100.0, across * 100.0);
    }
    return focusPlacement(z, xF * 100.0, yF * 100.0, (zF - zop) * 100.0);
}

double axialAngleThrough(double xF, double yF)
{
    if (xF == 0 && yF == 0)
        return 0;
    double phi = std::atan2(xF, yF) * 180.0 / M_PI;
    if (phi > 90)
        phi -= 180;
    else if (phi <= -90)
        phi += 180;
    return phi;
}

QString focusMissText(double distance)
{
    return "Плоскость не проходит через фокус: он в " + fixed(distance, 3) + " см от нее.";
}

// ---- All together ----

QString fieldMetricsText(const FieldMetrics &m, const MetricsContext &context)
{
    const QString unit = context.unit.isEmpty() ? QString() : " " + context.unit;
    auto at = [&](double x, double y) {
        return context.xName + " = " + fixed(x, 3) + " см, " + context.yName + " = " + fixed(y, 3) + " см";
    };
    auto width = [&](const LobeWidth &w) {
        return w.found ? fixed(w.width() * 10.0, 2) + " мм" : QString("за пределами сетки");
    };

    QStringList lines;
    if (!m.peak.found)
        return "Нет значений поля";
    lines << "Максимум: " + general(m.peak.value) + unit + " в точке " + at(m.peak.x, m.peak.y);
    for (int level : {3, 6}) {
        const LobeWidth &wx = level == 3 ? m.x3 : m.x6;
        const LobeWidth &wy = level == 3 ? m.y3 : m.y6;
        lines << "Ширина на уровне -" + QString::number(level) + " дБ: по " + context.xName + " " + width(wx) + ", по "
                     + context.yName + " " + width(wy);
    }
    if (m.secondary.found)
        lines << "Наибольший побочный максимум: " + general(m.secondary.value) + unit + " (" + fixed(m.secondaryDb, 1)
                     + " дБ) в точке " + at(m.secondary.x, m.secondary.y);
    else
        lines << "Побочных максимумов вне главного лепестка нет";

    if (context.haveFocus) {
        const FocusPlacement &f = context.focus;
        if (f.inPlane)
            lines << "Фокус лежит в плоскости, в точке " + at(f.u, f.v);
        else
            lines << "Плоскость не содержит фокус: расстояние от фокуса до плоскости " + fixed(f.distance, 3)
                         + " см (проекция фокуса: " + at(f.u, f.v) + ")";
        if (!f.onGrid)
            lines << "Фокус вне сетки расчета";
    }
    if (context.haveGain) {
        lines << "Усиление |p(F)|/p0: " + fixed(context.gain, 2);
        if (context.haveFocus && !context.focus.inPlane)
            lines << "Потери при отклонении не определены: плоскость не проходит через фокус, "
                     "ее максимум не относится к фокальной области";
        else
            lines << "Потери при отклонении (максимум плоскости относительно |p(F)|): "
                         + fixed(steeringLossDb(context.normalisedPeak, context.gain), 2) + " дБ";
    } else {
        lines << "|p(F)| неизвестно: программа расчета не оставила focus_pressure.txt";
    }
    return lines.join("\n");
}

bool readFocusPressure(const QString &path, double *gain)
{
    return kjobs::readFocusPressure(QFile::encodeName(path).toStdString(), *gain);
}
