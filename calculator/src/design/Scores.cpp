#include "design/Scores.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "design/Layout.h"
#include "field/ElementFieldModel.h"
#include "field/RunControl.h"
#include "params/JobError.h"
#include "params/JobInput.h"
#include "scan/QualityScan.h"
#include "scan/ScanOutput.h"

namespace kcalc::design {

namespace {

// A plane grid through `origin` spanned by two unit vectors: point (i1, i2) at
// origin + i1 d1 u + i2 d2 v, flat index i1 * n2 + i2 (the scans' order).
struct Plane {
    Point3 origin, u, v;
    long n1 = 0, n2 = 0;
    double d1 = 0, d2 = 0;

    std::vector<Point3> points() const
    {
        std::vector<Point3> p;
        p.reserve(static_cast<std::size_t>(n1 * n2));
        for (long i = 0; i < n1; ++i)
            for (long j = 0; j < n2; ++j)
                p.push_back(at(i, j));
        return p;
    }
    Point3 at(long i, long j) const
    {
        const double s = static_cast<double>(i) * d1, t = static_cast<double>(j) * d2;
        return {origin.x + s * u.x + t * v.x, origin.y + s * u.y + t * v.y, origin.z + s * u.z + t * v.z};
    }
    std::size_t nearest(const Point3 &x) const
    {
        const Point3 r{x.x - origin.x, x.y - origin.y, x.z - origin.z};
        const auto index = [](double coordinate, double step, long n) {
            return std::clamp(static_cast<long>(std::lround(coordinate / step)), 0L, n - 1);
        };
        const long i = index(r.x * u.x + r.y * u.y + r.z * u.z, d1, n1);
        const long j = index(r.x * v.x + r.y * v.y + r.z * v.z, d2, n2);
        return static_cast<std::size_t>(i * n2 + j);
    }
    scan::GridShape shape() const { return {static_cast<std::size_t>(n1), static_cast<std::size_t>(n2)}; }
};

double wavelength(const ArrayGeometry &array, const Medium &medium)
{
    return medium.soundSpeed / array.frequency;
}

// The transverse plane z = z0, +-W in steps h.
Plane transversePlane(double z0, double W, double h)
{
    const long half = std::lround(W / h);
    return {{-static_cast<double>(half) * h, -static_cast<double>(half) * h, z0},
            {1, 0, 0},
            {0, 1, 0},
            2 * half + 1,
            2 * half + 1,
            h,
            h};
}

// The plane of the axis and the azimuth phi: +-W across in steps h, z from z0 to z1 in steps dz.
Plane axialPlane(double phi, double W, double h, double z0, double z1, double dz)
{
    const long half = std::lround(W / h);
    const Point3 u{std::cos(phi), std::sin(phi), 0};
    return {{-static_cast<double>(half) * h * u.x, -static_cast<double>(half) * h * u.y, z0},
            u,
            {0, 0, 1},
            2 * half + 1,
            std::lround((z1 - z0) / dz) + 1,
            h,
            dz};
}

double azimuth(const Point3 &p)
{
    return (p.x == 0 && p.y == 0) ? 0.0 : std::atan2(p.y, p.x);
}

// The planes the side maxima of the steering points are sought on, and for each steering point
// the planes through it.
struct SidePlanes {
    std::vector<Plane> planes;
    std::vector<std::vector<std::size_t>> of; // per steering point
};

SidePlanes sidePlanes(const std::vector<Point3> &steering, double lambda, const ScoreSettings &s)
{
    SidePlanes sp;
    if (steering.empty())
        return sp;
    const double W = s.sideHalfWidth * lambda, h = s.sideStep * lambda;
    double zMin = steering.front().z, zMax = zMin;
    for (const Point3 &p : steering) {
        zMin = std::min(zMin, p.z);
        zMax = std::max(zMax, p.z);
    }
    std::map<double, std::size_t> transverse, axial;
    for (const Point3 &p : steering) {
        std::vector<std::size_t> mine;
        auto t = transverse.find(p.z);
        if (t == transverse.end()) {
            t = transverse.emplace(p.z, sp.planes.size()).first;
            sp.planes.push_back(transversePlane(p.z, W, h));
        }
        mine.push_back(t->second);
        // Azimuths on one line through the axis share a plane.
        double phi = azimuth(p);
        if (phi < 0)
            phi += M_PI;
        if (phi >= M_PI - 1e-12)
            phi = 0;
        auto a = axial.find(phi);
        if (a == axial.end()) {
            a = axial.emplace(phi, sp.planes.size()).first;
            sp.planes.push_back(axialPlane(phi, W, h, zMin - W, zMax + W, lambda / 2));
        }
        mine.push_back(a->second);
        sp.of.push_back(mine);
    }
    return sp;
}

// The default side-maxima regions of the axial plane (x = 0): focus-shift z from R/2 in 25 steps
// of R/24, r over +-5 steps of A/30; field from 0.375 R over 30 such z steps, r over +-8 steps,
// both field steps divided by `refinement`.
struct SteerableRegions {
    PlaneGrid focus, field;
};
SteerableRegions steerableRegions(const ArrayGeometry &array, int refinement)
{
    const double R = array.curvatureRadius, A = array.aperture;
    const double dr = A / 2 / 3 / 5, dz = R / 24;
    const int k = std::max(1, refinement);
    SteerableRegions r;
    r.focus = PlaneGrid{PlaneKind::Axial, 0.0, 11, 25, -5 * dr, R / 2, dr, dz};
    r.field = PlaneGrid{PlaneKind::Axial, 0.0, 16 * k + 1, 30 * k + 1, -8 * dr, R - 1.25 * R / 2, dr / k, dz / k};
    return r;
}

std::vector<Point3> line(Point3 start, Point3 step, int n)
{
    std::vector<Point3> p;
    for (int i = 0; i < n; ++i)
        p.push_back({start.x + i * step.x, start.y + i * step.y, start.z + i * step.z});
    return p;
}

void add(RunControl *control, std::size_t units)
{
    if (control) {
        control->add(units);
        if (control->cancelled())
            throw JobCancelled();
    }
}

} // namespace

std::vector<Point3> defaultSteering(double R)
{
    return {{0, 0, R}, {0.005, 0, R}, {0.010, 0, R}, {0.015, 0, R}, {0, 0, R - 0.015}, {0, 0, R + 0.015}};
}

double halfPressureWidth(const std::vector<double> &coord, const std::vector<double> &value)
{
    const long n = static_cast<long>(value.size());
    if (n == 0 || coord.size() != value.size())
        return 0;
    const long peak = static_cast<long>(std::max_element(value.begin(), value.end()) - value.begin());
    const double level = value[static_cast<std::size_t>(peak)] * std::pow(10.0, -6.0 / 20);
    const auto v = [&](long i) { return value[static_cast<std::size_t>(i)]; };
    const auto c = [&](long i) { return coord[static_cast<std::size_t>(i)]; };
    long hi = peak, lo = peak;
    while (hi + 1 < n && v(hi + 1) >= level)
        ++hi;
    while (lo - 1 >= 0 && v(lo - 1) >= level)
        --lo;
    if (hi + 1 >= n || lo - 1 < 0)
        return 0;
    const auto crossing = [&](long in, long out) {
        return c(in) + (v(in) - level) / (v(in) - v(out)) * (c(out) - c(in));
    };
    return std::abs(crossing(hi, hi + 1) - crossing(lo, lo - 1));
}

std::size_t scoreWorkUnits(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings)
{
    const std::vector<Point3> steering =
        settings.steering.empty() ? defaultSteering(array.curvatureRadius) : settings.steering;
    std::size_t units = 101 + 241 + 1 + steering.size();
    for (const Plane &p : sidePlanes(steering, wavelength(array, medium), settings).planes)
        units += static_cast<std::size_t>(p.n1 * p.n2);
    const SteerableRegions r = steerableRegions(array, settings.fieldRefinement);
    return units + r.field.pointCount() + 2 * r.focus.pointCount();
}

Scores computeScores(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                     RunControl *control)
{
    const ElementFieldModel model(array, medium);
    const std::size_t N = model.elementCount();
    const double R = array.curvatureRadius, A = array.aperture, lambda = wavelength(array, medium);
    Scores s;
    s.elementCount = N;
    s.fillFactor = checkLayout(array, array.elements, 0).fillFactor;

    // Gain and -6 dB sizes, focused on the geometric focus.
    const Point3 F{0, 0, R};
    const std::vector<std::complex<double>> weights = model.focusWeights(F);
    for (std::size_t n = 0; n < N; ++n)
        s.gain += std::abs(model.field(n, F));
    const auto width = [&](const std::vector<Point3> &points, bool alongZ) {
        std::vector<double> value(points.size()), coord(points.size());
        model.steeredAmplitude(points, weights, value.data());
        for (std::size_t i = 0; i < points.size(); ++i)
            coord[i] = alongZ ? points[i].z : points[i].x;
        add(control, points.size());
        return halfPressureWidth(coord, value);
    };
    s.lateralWidth = width(line({-A / 6, 0, R}, {A / 300, 0, 0}, 101), false);
    s.axialLength = width(line({0, 0, R / 2}, {0, 0, R / 240}, 241), true);
    add(control, 1);

    // Side maxima of the steering points.
    const std::vector<Point3> steering = settings.steering.empty() ? defaultSteering(R) : settings.steering;
    const SidePlanes planes = sidePlanes(steering, lambda, settings);
    std::vector<scan::FieldMatrix<double>> fields;
    for (const Plane &p : planes.planes) {
        const std::vector<Point3> points = p.points();
        fields.emplace_back(points.size(), N);
        model.fieldMatrix(points, fields.back().values.data(), N, control);
    }
    for (std::size_t k = 0; k < steering.size(); ++k) {
        SteeringScore score;
        score.focus = steering[k];
        std::vector<std::complex<double>> hF(N);
        model.fieldMatrix({steering[k]}, hF.data(), N);
        for (const std::complex<double> &h : hF)
            score.gain += std::abs(h);
        double gridMax = 0;
        for (std::size_t q : planes.of[k]) {
            const Plane &plane = planes.planes[q];
            const std::vector<double> amplitude = scan::focusedAmplitude(fields[q], hF.data());
            gridMax = std::max(gridMax, *std::max_element(amplitude.begin(), amplitude.end()));
            scan::MainLobeFinder finder(plane.shape());
            const scan::LobeSearch lobe = finder.find(amplitude.data(), plane.nearest(steering[k]));
            const double side = lobe.hasSide ? scan::sideMaximaValue(lobe.sideValue, score.gain) : 0.0;
            if (side > score.side) {
                score.side = side;
                score.sidePoint = plane.at(static_cast<long>(lobe.sidePoint) / plane.n2,
                                           static_cast<long>(lobe.sidePoint) % plane.n2);
            }
        }
        score.mainRatio = scan::mainMaximaValue(score.gain, gridMax, 1e-12);
        s.worstSide = std::max(s.worstSide, score.side);
        s.steering.push_back(score);
        add(control, 1);
    }

    // Steerable area: the scan engine over the coarse default side-maxima regions.
    const SteerableRegions regions = steerableRegions(array, settings.fieldRefinement);
    scan::FieldMatrix<double> hGrid(regions.field.pointCount(), N), hFocus(regions.focus.pointCount(), N);
    model.fieldMatrix(regions.field.points(), hGrid.values.data(), N, control);
    model.fieldMatrix(regions.focus.points(), hFocus.values.data(), N, control);
    std::vector<std::size_t> start;
    for (std::size_t m = 0; m < regions.focus.pointCount(); ++m)
        start.push_back(scan::nearestPoint(regions.field, scan::gridPoint(regions.focus, m)));
    scan::ScanSettings scanSettings;
    scanSettings.sideLobes = true;
    std::size_t reported = 0;
    std::vector<scan::FocusQuality> quality;
    try {
        quality = scan::scanFocusQuality<double, float>(hGrid, scan::gridShape(regions.field), hFocus, start,
                                                        scanSettings, [&](std::size_t done, std::size_t) {
                                                            if (control && done > reported) {
                                                                control->add(done - reported);
                                                                reported = done;
                                                            }
                                                            return !(control && control->cancelled());
                                                        });
    } catch (const scan::ScanCancelled &) {
        throw JobCancelled();
    }
    s.positions = quality.size();
    for (const scan::FocusQuality &q : quality)
        s.steerablePositions += q.mainValue >= settings.mainLevel && q.sideValue <= settings.sideLevel;
    s.steerableArea = s.positions ? static_cast<double>(s.steerablePositions) / static_cast<double>(s.positions) : 0.0;
    return s;
}

} // namespace kcalc::design
