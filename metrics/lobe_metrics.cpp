#include "lobe_metrics.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
bool hasField(const VDOUB3 &z)
{
    return z.size() >= 3 && !z[2].empty() && !z[2][0].empty();
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
