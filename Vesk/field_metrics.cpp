#include "field_metrics.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <cmath>
#include <vector>

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

double decibelFactor(bool intensity)
{
    return intensity ? 10.0 : 20.0;
}

double toDecibels(double value, double reference, double factor, double floorDb)
{
    if (!(value > 0.0) || !(reference > 0.0) || !std::isfinite(value) || !std::isfinite(reference))
        return floorDb;
    const double db = factor * std::log10(value / reference);
    return db < floorDb ? floorDb : db;
}

double levelFraction(double db, double factor)
{
    return std::pow(10.0, db / factor);
}

VDOUB3 fieldInDecibels(const VDOUB3 &z, double reference, double factor, double floorDb)
{
    VDOUB3 out = z;
    if (out.size() < 3)
        return out;
    for (VDOUB &row : out[2])
        for (double &v : row)
            v = toDecibels(v, reference, factor, floorDb);
    return out;
}

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

// ---- Peak, profiles, widths ----

FieldPoint fieldPeak(const VDOUB3 &z)
{
    FieldPoint p;
    if (!hasField(z))
        return p;
    for (size_t i = 0; i < z[2].size(); ++i)
        for (size_t j = 0; j < z[2][i].size(); ++j) {
            const double v = z[2][i][j];
            if (std::isfinite(v) && (!p.found || v > p.value)) {
                p.found = true;
                p.i = int(i);
                p.j = int(j);
                p.value = v;
            }
        }
    if (p.found) {
        p.x = z[0][p.i][p.j];
        p.y = z[1][p.i][p.j];
    }
    return p;
}

LineProfile profileAlongX(const VDOUB3 &z, int j)
{
    LineProfile p;
    if (!hasField(z) || j < 0 || size_t(j) >= z[2][0].size())
        return p;
    for (size_t i = 0; i < z[2].size(); ++i) {
        p.coord.push_back(z[0][i][j]);
        p.value.push_back(z[2][i][j]);
    }
    return p;
}

LineProfile profileAlongY(const VDOUB3 &z, int i)
{
    LineProfile p;
    if (!hasField(z) || i < 0 || size_t(i) >= z[2].size())
        return p;
    p.coord = z[1][i];
    p.value = z[2][i];
    return p;
}

LobeWidth lobeWidth(const LineProfile &profile, int peak, double level)
{
    LobeWidth w;
    const int n = int(profile.value.size());
    if (peak < 0 || peak >= n || int(profile.coord.size()) != n)
        return w;
    const VDOUB &c = profile.coord;
    const VDOUB &v = profile.value;
    // The crossing between inside point a (at or above the level) and outside point b (below it).
    auto crossing = [&](int a, int b) {
        const double t = (v[a] - level) / (v[a] - v[b]);
        return c[a] + t * (c[b] - c[a]);
    };
    int hi = peak;
    while (hi + 1 < n && v[hi + 1] >= level)
        ++hi;
    int lo = peak;
    while (lo - 1 >= 0 && v[lo - 1] >= level)
        --lo;
    if (hi + 1 >= n || lo - 1 < 0)
        return w;
    double a = crossing(lo, lo - 1), b = crossing(hi, hi + 1);
    if (a > b)
        std::swap(a, b);
    w.found = true;
    w.low = a;
    w.high = b;
    return w;
}

FieldPoint secondaryMaximum(const VDOUB3 &z, const FieldPoint &peak)
{
    FieldPoint s;
    if (!hasField(z) || !peak.found)
        return s;
    const int ni = int(z[2].size()), nj = int(z[2][0].size());
    const VDOUB2 &v = z[2];
    std::vector<char> lobe(size_t(ni) * nj, 0);
    std::vector<std::pair<int, int>> stack{{peak.i, peak.j}};
    lobe[size_t(peak.i) * nj + peak.j] = 1;
    while (!stack.empty()) {
        const auto [i, j] = stack.back();
        stack.pop_back();
        const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            const int a = i + di[k], b = j + dj[k];
            if (a < 0 || b < 0 || a >= ni || b >= nj || lobe[size_t(a) * nj + b])
                continue;
            if (v[a][b] <= v[i][j]) {
                lobe[size_t(a) * nj + b] = 1;
                stack.push_back({a, b});
            }
        }
    }
    for (int i = 0; i < ni; ++i)
        for (int j = 0; j < nj; ++j)
            if (!lobe[size_t(i) * nj + j] && std::isfinite(v[i][j]) && (!s.found || v[i][j] > s.value)) {
                s.found = true;
                s.i = i;
                s.j = j;
                s.value = v[i][j];
            }
    if (s.found) {
        s.x = z[0][s.i][s.j];
        s.y = z[1][s.i][s.j];
    }
    return s;
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

FieldMetrics fieldMetrics(const VDOUB3 &z, double factor)
{
    FieldMetrics m;
    m.factor = factor;
    m.peak = fieldPeak(z);
    if (!m.peak.found)
        return m;
    const LineProfile alongX = profileAlongX(z, m.peak.j);
    const LineProfile alongY = profileAlongY(z, m.peak.i);
    const double l3 = m.peak.value * levelFraction(-3.0, factor);
    const double l6 = m.peak.value * levelFraction(-6.0, factor);
    m.x3 = lobeWidth(alongX, m.peak.i, l3);
    m.y3 = lobeWidth(alongY, m.peak.j, l3);
    m.x6 = lobeWidth(alongX, m.peak.i, l6);
    m.y6 = lobeWidth(alongY, m.peak.j, l6);
    m.secondary = secondaryMaximum(z, m.peak);
    if (m.secondary.found)
        m.secondaryDb = toDecibels(m.secondary.value, m.peak.value, factor, -1000.0);
    return m;
}

double steeringLossDb(double normalisedPeak, double gain)
{
    return toDecibels(normalisedPeak, gain, 20.0, -1000.0);
}

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    double v = 0;
    in >> v;
    if (in.status() != QTextStream::Ok || !(v > 0.0) || !std::isfinite(v))
        return false;
    *gain = v;
    return true;
}
