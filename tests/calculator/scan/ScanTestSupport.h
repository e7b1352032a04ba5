#ifndef KCALC_TESTS_SCAN_TEST_SUPPORT_H
#define KCALC_TESTS_SCAN_TEST_SUPPORT_H

// Synthetic element fields and a plain reference for the scan tests.

#include <cmath>
#include <complex>
#include <vector>

#include "scan/QualityScan.h"
#include "scan/ScanOutput.h"

namespace scantest {

using kcalc::PlaneGrid;
using kcalc::PlaneKind;
using kcalc::Point3;
using kcalc::scan::FieldMatrix;
using kcalc::scan::FocusQuality;
using kcalc::scan::gridShape;
using kcalc::scan::nearestPoint;

// An array of point sources on a spherical cap (radius R, centre of curvature (0, 0, R)):
// h_n(x) = exp(ik|x - s_n|) / (k|x - s_n|). Not the piston field, but a field with the same
// structure (focal lobe, side lobes, grating lobes) that tests can compute exactly.
struct PointSourceArray {
    std::vector<Point3> sources;
    double k = 2 * M_PI * 1e6 / 1500;

    // Elements on a square lattice of the given pitch inside the aperture, outside the hole.
    static PointSourceArray cap(double aperture, double R, double pitch, double hole = 0)
    {
        PointSourceArray a;
        const int n = static_cast<int>(aperture / 2 / pitch);
        for (int i = -n; i <= n; ++i)
            for (int j = -n; j <= n; ++j) {
                const double x = i * pitch + 0.3 * pitch * (j % 2), y = j * pitch;
                const double rho2 = x * x + y * y;
                if (rho2 > aperture * aperture / 4 || rho2 < hole * hole)
                    continue;
                a.sources.push_back({x, y, R - std::sqrt(R * R - rho2)});
            }
        return a;
    }

    std::complex<double> field(std::size_t n, const Point3 &x) const
    {
        const Point3 &s = sources[n];
        const double d = std::sqrt((x.x - s.x) * (x.x - s.x) + (x.y - s.y) * (x.y - s.y) + (x.z - s.z) * (x.z - s.z));
        return std::polar(1.0 / (k * d), k * d);
    }

    // The element-field model interface a scan job uses.
    std::size_t elementCount() const { return sources.size(); }
    void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const
    {
        for (std::size_t p = 0; p < points.size(); ++p)
            for (std::size_t n = 0; n < sources.size(); ++n)
                out[p * ld + n] = field(n, points[p]);
    }

    template <class T> FieldMatrix<T> matrix(const std::vector<Point3> &points) const
    {
        FieldMatrix<T> m(points.size(), sources.size());
        for (std::size_t p = 0; p < points.size(); ++p)
            for (std::size_t n = 0; n < sources.size(); ++n) {
                const std::complex<double> h = field(n, points[p]);
                m.at(p, n) = std::complex<T>(static_cast<T>(h.real()), static_cast<T>(h.imag()));
            }
        return m;
    }
};

// Direct summation, one focus position at a time, in double precision: the field
// p(x) = sum_n conj(h_n(F)) / |h_n(F)| h_n(x) on every grid point, then q and s from their
// definitions, with the main lobe searched on |p| itself.
inline std::vector<FocusQuality> directScan(const FieldMatrix<double> &hGrid, const PlaneGrid &field,
                                            const FieldMatrix<double> &hFocus, const std::vector<std::size_t> &start)
{
    std::vector<FocusQuality> out(hFocus.rows);
    kcalc::scan::MainLobeFinder finder(gridShape(field));
    std::vector<double> amp(hGrid.rows);
    for (std::size_t m = 0; m < hFocus.rows; ++m) {
        double pF = 0;
        for (std::size_t n = 0; n < hFocus.cols; ++n)
            pF += std::abs(hFocus.at(m, n));
        double gridMax = 0;
        for (std::size_t p = 0; p < hGrid.rows; ++p) {
            std::complex<double> sum = 0;
            for (std::size_t n = 0; n < hGrid.cols; ++n)
                sum += std::conj(hFocus.at(m, n)) / std::abs(hFocus.at(m, n)) * hGrid.at(p, n);
            amp[p] = std::abs(sum);
            gridMax = std::max(gridMax, amp[p]);
        }
        FocusQuality &r = out[m];
        r.focusAmplitude = pF;
        r.gridMax = gridMax;
        r.mainValue = kcalc::scan::mainMaximaValue(pF, gridMax, 1e-12);
        const kcalc::scan::LobeSearch lobe = finder.find(amp.data(), start[m]);
        r.peakPoint = lobe.peak;
        r.hasSide = lobe.hasSide;
        r.sidePoint = lobe.sidePoint;
        r.sideValue = lobe.hasSide ? lobe.sideValue / pF : 0.0;
    }
    return out;
}

inline std::vector<std::size_t> nearestPoints(const PlaneGrid &field, const std::vector<Point3> &foci)
{
    std::vector<std::size_t> s;
    for (const Point3 &f : foci)
        s.push_back(nearestPoint(field, f));
    return s;
}

} // namespace scantest

#endif // KCALC_TESTS_SCAN_TEST_SUPPORT_H
