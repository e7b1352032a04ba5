#include "design/Layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace kcalc::design {

namespace {

// Placed centres are kept this much further apart than the rule asks, so that rounding in the
// check never turns a layout placed exactly at its gap into a violation.
constexpr double kPlacementMargin = 2e-9;
// The check's allowance for the same rounding.
constexpr double kCheckTolerance = 1e-9;

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string mm(double metres)
{
    return number(std::round(metres * 1e4) / 10) + " мм";
}

// Where centres may lie: rho in [rhoMin, rhoMax], polar angle on the cap in [thetaMin, thetaMax].
struct Annulus {
    double R, a, rhoMin, rhoMax, thetaMin, thetaMax;

    explicit Annulus(const ArrayGeometry &array) :
        R(array.curvatureRadius), a(array.elementRadius), rhoMin(array.holeRadius + array.elementRadius),
        rhoMax(array.aperture / 2 - array.elementRadius)
    {
        rhoMin = std::max(rhoMin, 0.0);
        thetaMin = std::asin(std::min(1.0, rhoMin / R));
        thetaMax = std::asin(std::min(1.0, std::max(rhoMax, 0.0) / R));
    }
    bool empty() const { return rhoMax < rhoMin; }
    bool holds(double x, double y) const
    {
        const double rho = std::hypot(x, y);
        return rho <= rhoMax && rho >= rhoMin;
    }
};

Point3 centreOf(const ElementPosition &p, double R)
{
    return elementFrame(p, R).centre;
}

double distance2(const Point3 &u, const Point3 &v)
{
    const double dx = u.x - v.x, dy = u.y - v.y, dz = u.z - v.z;
    return dx * dx + dy * dy + dz * dz;
}

// Centres binned by their projection on a square grid of cells of side `cell` over the aperture.
// The projected distance never exceeds the 3D one, so every centre closer than `cell` to a point
// lies in the point's cell or one of its eight neighbours.
class CentreGrid
{
public:
    CentreGrid(double halfWidth, double cell) : m_half(halfWidth), m_cell(cell)
    {
        // Cells no smaller than needed to keep the grid within a few million cells.
        m_cell = std::max(cell, 2 * halfWidth / 500);
        m_n = static_cast<long>(std::ceil(2 * halfWidth / m_cell)) + 1;
        m_head.assign(static_cast<std::size_t>(m_n * m_n), -1);
    }

    // The smallest squared distance from c to a stored centre closer than the cell size
    // (infinity if none), and that centre's index in `index`.
    double nearest2(const ElementPosition &p, const Point3 &c, long *index = nullptr) const
    {
        const long ci = cellOf(p.x), cj = cellOf(p.y);
        double best = std::numeric_limits<double>::infinity();
        for (long i = std::max(0L, ci - 1); i <= std::min(m_n - 1, ci + 1); ++i)
            for (long j = std::max(0L, cj - 1); j <= std::min(m_n - 1, cj + 1); ++j)
                for (long k = m_head[static_cast<std::size_t>(i * m_n + j)]; k >= 0; k = m_next[k]) {
                    const double d2 = distance2(c, m_centres[k]);
                    if (d2 < best) {
                        best = d2;
                        if (index)
                            *index = k;
                    }
                }
        return best;
    }

    // Calls f(k) for every stored centre in the neighbourhood of p.
    template <class F> void forNeighbours(const ElementPosition &p, F f) const
    {
        const long ci = cellOf(p.x), cj = cellOf(p.y);
        for (long i = std::max(0L, ci - 1); i <= std::min(m_n - 1, ci + 1); ++i)
            for (long j = std::max(0L, cj - 1); j <= std::min(m_n - 1, cj + 1); ++j)
                for (long k = m_head[static_cast<std::size_t>(i * m_n + j)]; k >= 0; k = m_next[k])
                    f(static_cast<std::size_t>(k));
    }

    void add(const ElementPosition &p, const Point3 &c)
    {
        const std::size_t cell = static_cast<std::size_t>(cellOf(p.x) * m_n + cellOf(p.y));
        m_next.push_back(m_head[cell]);
        m_head[cell] = static_cast<long>(m_centres.size());
        m_centres.push_back(c);
    }

    const Point3 &centre(std::size_t k) const { return m_centres[k]; }

private:
    long cellOf(double v) const
    {
        const long c = static_cast<long>(std::floor((v + m_half) / m_cell));
        return std::clamp(c, 0L, m_n - 1);
    }

    double m_half, m_cell;
    long m_n = 0;
    std::vector<long> m_head, m_next;
    std::vector<Point3> m_centres;
};

class Uniform
{
public:
    explicit Uniform(std::uint64_t seed) : m_random(seed) {}
    double operator()() { return static_cast<double>(m_random() >> 11) * 0x1.0p-53; } // [0, 1)

private:
    std::mt19937_64 m_random;
};

void checkSettings(const ArrayGeometry &array, const GeneratorSettings &s)
{
    const double values[] = {
        array.aperture, array.curvatureRadius, array.elementRadius, array.holeRadius, s.gap, s.pitch, s.jitter};
    for (double v : values)
        if (!std::isfinite(v) || v < 0)
            throw std::invalid_argument("Размеры решетки, зазор, шаг и смещение должны быть неотрицательными числами");
    if (!(array.curvatureRadius > 0) || !(array.elementRadius > 0))
        throw std::invalid_argument("Радиус кривизны и радиус элемента должны быть больше нуля");
    if (array.aperture > 2 * array.curvatureRadius)
        throw std::invalid_argument("Апертура больше двух радиусов кривизны");
    if (s.count > 1000000)
        throw std::invalid_argument("Слишком много элементов: не больше 1000000");
}

std::string tooMany(std::size_t asked, std::size_t fit)
{
    return "Запрошено элементов: " + std::to_string(asked) + ", помещается: " + std::to_string(fit)
           + ". Уменьшите число элементов, радиус элемента или зазор";
}

// Throws when not a single element fits between hole and rim.
void requireRoom(const Annulus &room, const ArrayGeometry &array)
{
    if (room.empty())
        throw LayoutError("Элемент радиусом " + mm(array.elementRadius) + " не помещается между отверстием ("
                              + mm(array.holeRadius) + ") и краем апертуры (" + mm(array.aperture / 2) + ")",
                          0);
}

// ---- random ----

// Dart throwing: a candidate uniform over the cap's surface between hole and rim (cos theta
// uniform, azimuth uniform) is kept when no centre lies closer than the minimum distance.
std::vector<ElementPosition> randomLayout(const ArrayGeometry &array, const GeneratorSettings &s)
{
    const Annulus room(array);
    requireRoom(room, array);
    const double minDistance = 2 * array.elementRadius + s.gap + kPlacementMargin;
    const double R = room.R;
    const double cosMin = std::cos(room.thetaMin), cosMax = std::cos(room.thetaMax);
    CentreGrid grid(array.aperture / 2, minDistance);
    Uniform uniform(s.seed);
    std::vector<ElementPosition> placed;
    // Misses in a row after which the cap counts as full; for a count, the candidates in all.
    const std::size_t missLimit = 20000;
    const std::size_t attemptLimit = s.count ? std::max<std::size_t>(400000, 4000 * s.count) : 0;
    std::size_t misses = 0;
    for (std::size_t attempt = 0; s.count == 0 || placed.size() < s.count; ++attempt) {
        if (s.count ? attempt >= attemptLimit : misses >= missLimit)
            break;
        const double cosTheta = cosMin - uniform() * (cosMin - cosMax);
        const double rho = std::clamp(R * std::sqrt(std::max(0.0, 1 - cosTheta * cosTheta)), room.rhoMin, room.rhoMax);
        const double phi = 2 * M_PI * uniform();
        const ElementPosition p{rho * std::cos(phi), rho * std::sin(phi)};
        const Point3 c = centreOf(p, R);
        if (grid.nearest2(p, c) < minDistance * minDistance) {
            ++misses;
            continue;
        }
        misses = 0;
        grid.add(p, c);
        placed.push_back(p);
    }
    if (s.count && placed.size() < s.count)
        throw LayoutError(tooMany(s.count, placed.size()), placed.size());
    if (placed.empty())
        throw LayoutError("Ни один элемент не помещается на решетке", 0);
    return placed;
}

// ---- spiral ----

std::vector<ElementPosition> spiralPoints(const Annulus &room, std::size_t n)
{
    // Equal surface per element: cos theta in equal steps between hole and rim.
    const double cosMin = std::cos(room.thetaMin), cosMax = std::cos(room.thetaMax);
    std::vector<ElementPosition> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double cosTheta = cosMin - (static_cast<double>(i) + 0.5) / static_cast<double>(n) * (cosMin - cosMax);
        const double rho =
            std::clamp(room.R * std::sqrt(std::max(0.0, 1 - cosTheta * cosTheta)), room.rhoMin, room.rhoMax);
        const double phi = static_cast<double>(i) * goldenAngle();
        points[i] = {rho * std::cos(phi), rho * std::sin(phi)};
    }
    return points;
}

bool keepsGap(const std::vector<ElementPosition> &points, double minDistance, double R, double halfWidth)
{
    CentreGrid grid(halfWidth, minDistance);
    for (const ElementPosition &p : points) {
        const Point3 c = centreOf(p, R);
        if (grid.nearest2(p, c) < minDistance * minDistance)
            return false;
        grid.add(p, c);
    }
    return true;
}

std::vector<ElementPosition> spiralLayout(const ArrayGeometry &array, const GeneratorSettings &s)
{
    if (s.count == 0)
        throw LayoutError("Для спирали задайте число элементов", 0);
    const Annulus room(array);
    requireRoom(room, array);
    const double minDistance = 2 * array.elementRadius + s.gap;
    const auto fits = [&](std::size_t n) {
        return n <= 1 || keepsGap(spiralPoints(room, n), minDistance, room.R, array.aperture / 2);
    };
    if (fits(s.count))
        return spiralPoints(room, s.count);
    // The largest count that keeps the gap (the spacing shrinks as the count grows).
    std::size_t low = 1, high = s.count;
    while (high - low > 1) {
        const std::size_t mid = (low + high) / 2;
        (fits(mid) ? low : high) = mid;
    }
    throw LayoutError(tooMany(s.count, low), low);
}

// ---- lattices ----

// Lattice points of pitch p (rows along x, spaced p sqrt(3)/2, every other row shifted by p/2)
// that lie between hole and rim, innermost first.
std::vector<ElementPosition> hexagonalPoints(const Annulus &room, double p)
{
    std::vector<ElementPosition> points;
    const double rowStep = p * std::sqrt(3.0) / 2;
    const long rows = static_cast<long>(room.rhoMax / rowStep) + 1;
    for (long j = -rows; j <= rows; ++j) {
        const double y = static_cast<double>(j) * rowStep;
        const double shift = (j % 2 != 0) ? p / 2 : 0.0;
        const long columns = static_cast<long>(room.rhoMax / p) + 2;
        for (long i = -columns; i <= columns; ++i) {
            const double x = static_cast<double>(i) * p + shift;
            if (room.holds(x, y))
                points.push_back({x, y});
        }
    }
    std::stable_sort(points.begin(), points.end(), [](const ElementPosition &u, const ElementPosition &v) {
        return u.x * u.x + u.y * u.y < v.x * v.x + v.y * v.y;
    });
    return points;
}

// The pitch of a lattice for settings s whose neighbours must stay `minPitch` apart.
double latticePitch(const Annulus &room, const GeneratorSettings &s, double minPitch)
{
    if (s.pitch > 0)
        return s.pitch;
    if (s.count == 0)
        return minPitch;
    // The largest pitch that still holds the count (bisection; the count falls as the pitch grows).
    double low = minPitch, high = std::max(minPitch, 2 * room.rhoMax + minPitch);
    if (hexagonalPoints(room, low).size() < s.count)
        return low;
    for (int step = 0; step < 60; ++step) {
        const double mid = (low + high) / 2;
        (hexagonalPoints(room, mid).size() >= s.count ? low : high) = mid;
    }
    return low;
}

std::vector<ElementPosition> latticeLayout(const ArrayGeometry &array, const GeneratorSettings &s, bool jittered)
{
    const Annulus room(array);
    requireRoom(room, array);
    const double minDistance = 2 * array.elementRadius + s.gap + kPlacementMargin;
    const double jitterAsked = jittered ? s.jitter : 0.0;
    const double pitch = latticePitch(room, s, minDistance + 2 * jitterAsked);
    if (pitch < minDistance)
        throw LayoutError("Шаг решетки " + mm(pitch) + " меньше диаметра элемента с зазором ("
                              + mm(minDistance - kPlacementMargin) + ")",
                          0);
    // A given pitch narrower than the jitter needs: the displacement shrinks to what keeps the gap.
    const double jitter = std::min(jitterAsked, (pitch - minDistance) / 2);
    std::vector<ElementPosition> points = hexagonalPoints(room, pitch);
    if (s.count && points.size() < s.count)
        throw LayoutError(tooMany(s.count, points.size()), points.size());
    if (points.empty())
        throw LayoutError("Ни один узел решетки не попадает между отверстием и краем апертуры", 0);
    if (s.count)
        points.resize(s.count); // the innermost ones
    if (jitter > 0) {
        Uniform uniform(s.seed);
        for (ElementPosition &p : points) {
            // Uniform in the disc of radius `jitter`; redrawn while it would leave the annulus,
            // left on its lattice point (which lies inside) after that many tries.
            for (int attempt = 0; attempt < 32; ++attempt) {
                const double d = jitter * std::sqrt(uniform()), phi = 2 * M_PI * uniform();
                const ElementPosition q{p.x + d * std::cos(phi), p.y + d * std::sin(phi)};
                if (room.holds(q.x, q.y)) {
                    p = q;
                    break;
                }
            }
        }
    }
    return points;
}

// ---- rings ----

std::vector<ElementPosition> ringLayout(const ArrayGeometry &array, const GeneratorSettings &s)
{
    const Annulus room(array);
    requireRoom(room, array);
    const double D = 2 * array.elementRadius + s.gap + kPlacementMargin;
    const double R = room.R;
    if (D >= 2 * R)
        throw LayoutError("Элемент с зазором больше диаметра сферы", 0);
    // Rings equally spaced in polar angle, neighbouring rings at least D apart on the cap (two
    // points on different rings are never closer than on the same meridian).
    const double dTheta = 2 * std::asin(D / (2 * R));
    const double span = room.thetaMax - room.thetaMin;
    const std::size_t rings = static_cast<std::size_t>(std::floor(span / dTheta + 1e-12)) + 1;
    std::vector<double> rho(rings);
    std::vector<std::size_t> capacity(rings);
    std::size_t total = 0;
    for (std::size_t k = 0; k < rings; ++k) {
        const double theta =
            rings == 1 ? room.thetaMin : room.thetaMin + span * static_cast<double>(k) / static_cast<double>(rings - 1);
        rho[k] = std::clamp(R * std::sin(theta), room.rhoMin, room.rhoMax);
        // Neighbours on a ring of radius rho are a chord 2 rho sin(pi / n) apart.
        capacity[k] = rho[k] <= D / 2 ? 1 : static_cast<std::size_t>(std::floor(M_PI / std::asin(D / (2 * rho[k]))));
        total += capacity[k];
    }
    if (s.count > total)
        throw LayoutError(tooMany(s.count, total), total);
    std::vector<std::size_t> n = capacity;
    if (s.count && s.count < total) {
        // Shares proportional to the ring's circumference, largest remainders first, within capacity.
        double rhoSum = 0;
        for (double v : rho)
            rhoSum += v;
        std::size_t given = 0;
        std::vector<std::pair<double, std::size_t>> remainders;
        for (std::size_t k = 0; k < rings; ++k) {
            const double share = static_cast<double>(s.count) * rho[k] / rhoSum;
            n[k] = std::min(capacity[k], static_cast<std::size_t>(share));
            given += n[k];
            remainders.push_back({share - static_cast<double>(n[k]), k});
        }
        std::stable_sort(remainders.begin(), remainders.end(),
                         [](const auto &u, const auto &v) { return u.first > v.first; });
        while (given < s.count)
            for (const auto &[fraction, k] : remainders) {
                (void)fraction;
                if (given < s.count && n[k] < capacity[k]) {
                    ++n[k];
                    ++given;
                }
            }
    }
    std::vector<ElementPosition> points;
    for (std::size_t k = 0; k < rings; ++k) {
        const double offset = static_cast<double>(k) * goldenAngle(); // no spokes from ring to ring
        for (std::size_t i = 0; i < n[k]; ++i) {
            const double phi = offset + 2 * M_PI * static_cast<double>(i) / static_cast<double>(n[k]);
            points.push_back({rho[k] * std::cos(phi), rho[k] * std::sin(phi)});
        }
    }
    return points;
}

} // namespace

double goldenAngle()
{
    return M_PI * (3 - std::sqrt(5.0));
}

std::vector<ElementPosition> generateLayout(const ArrayGeometry &array, const GeneratorSettings &settings)
{
    checkSettings(array, settings);
    switch (settings.kind) {
    case Generator::Random:
        return randomLayout(array, settings);
    case Generator::Spiral:
        return spiralLayout(array, settings);
    case Generator::Hexagonal:
        return latticeLayout(array, settings, false);
    case Generator::Rings:
        return ringLayout(array, settings);
    case Generator::JitteredHexagonal:
        return latticeLayout(array, settings, true);
    }
    throw std::invalid_argument("unknown layout generator");
}

double capArea(const ArrayGeometry &array)
{
    const double R = array.curvatureRadius;
    const auto cosTheta = [R](double rho) { return std::sqrt(std::max(0.0, 1 - std::min(1.0, rho / R) * (rho / R))); };
    return 2 * M_PI * R * R * (cosTheta(array.holeRadius) - cosTheta(array.aperture / 2));
}

LayoutCheck checkLayout(const ArrayGeometry &array, const std::vector<ElementPosition> &elements, double gap)
{
    LayoutCheck check;
    check.count = elements.size();
    const double a = array.elementRadius, R = array.curvatureRadius;
    const double minDistance = 2 * a + gap;
    const double area = capArea(array);
    check.fillFactor = area > 0 ? static_cast<double>(elements.size()) * M_PI * a * a / area : 0.0;
    double half = array.aperture / 2;
    for (const ElementPosition &p : elements) {
        const double rho = std::hypot(p.x, p.y);
        half = std::max(half, rho);
        if (rho + a > array.aperture / 2 + kCheckTolerance)
            ++check.outsideAperture;
        if (rho - a < array.holeRadius - kCheckTolerance)
            ++check.insideHole;
    }
    if (elements.size() < 2)
        return check;
    // Pairs closer than the rule through the grid; the smallest gap among them, or, when no pair
    // comes that close, by comparing every pair (then nothing is close and the layout is sparse).
    CentreGrid grid(half, std::max(minDistance, 1e-6));
    double smallest2 = std::numeric_limits<double>::infinity();
    const double close2 = (minDistance - kCheckTolerance) * (minDistance - kCheckTolerance);
    const double overlap2 = (2 * a - kCheckTolerance) * (2 * a - kCheckTolerance);
    for (std::size_t n = 0; n < elements.size(); ++n) {
        const Point3 c = centreOf(elements[n], R);
        grid.forNeighbours(elements[n], [&](std::size_t m) {
            const double d2 = distance2(c, grid.centre(m));
            smallest2 = std::min(smallest2, d2);
            if (d2 < close2) {
                ++check.closePairs;
                if (check.firstClosePairs.size() < 20)
                    check.firstClosePairs.push_back({m, n});
            }
            if (d2 < overlap2)
                ++check.overlappingPairs;
        });
        grid.add(elements[n], c);
    }
    if (!(smallest2 < minDistance * minDistance)) {
        for (std::size_t n = 0; n < elements.size(); ++n)
            for (std::size_t m = n + 1; m < elements.size(); ++m)
                smallest2 = std::min(smallest2, distance2(grid.centre(n), grid.centre(m)));
    }
    check.smallestGap = std::sqrt(smallest2) - 2 * a;
    return check;
}

} // namespace kcalc::design
