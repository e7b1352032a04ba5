// An independent reference for the calculator's field tests: the Rayleigh integral of a flat disc
// evaluated by brute-force two-dimensional quadrature over the disc (Gauss-Legendre panels in the
// radius, the trapezoidal rule in the angle), for points not closer to the disc plane than about a
// wavelength, where the integrand is smooth.
#ifndef KCALC_TEST_RAYLEIGH_REFERENCE_H
#define KCALC_TEST_RAYLEIGH_REFERENCE_H

#include <cmath>
#include <complex>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace testref {

// Gauss-Legendre nodes and weights on [-1, 1] (Newton iterations on P_n).
inline void gaussLegendre(int n, std::vector<double> &x, std::vector<double> &w)
{
    x.assign(n, 0);
    w.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        double t = std::cos(M_PI * (i + 0.75) / (n + 0.5)), dp = 0;
        for (int it = 0; it < 100; ++it) {
            double p0 = 1, p1 = t;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * t * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = n * (t * p1 - p0) / (t * t - 1);
            const double dt = p1 / dp;
            t -= dt;
            if (std::fabs(dt) < 1e-15)
                break;
        }
        x[i] = t;
        w[i] = 2 / ((1 - t * t) * dp * dp);
    }
}

// h(x) = (-i k / 2 pi) * Integral over the disc (centre c, unit normal n, radius a) of
// exp(i K |x - s|) / |x - s| dS, K = k + i alpha, with panels x gaussOrder nodes in the radius and
// angleNodes in the angle. Zero behind the disc's plane, (x - c) . n < 0: the baffle's back is not
// part of the medium.
inline std::complex<double> rayleighDisc(const kcalc::Point3 &c, const kcalc::Point3 &n, double a, double k,
                                         const kcalc::Point3 &x, double alpha = 0, int panels = 12, int gaussOrder = 16,
                                         int angleNodes = 256)
{
    if ((x.x - c.x) * n.x + (x.y - c.y) * n.y + (x.z - c.z) * n.z < 0)
        return 0;
    // Two unit vectors spanning the disc.
    kcalc::Point3 u = std::fabs(n.z) < 0.9 ? kcalc::Point3{-n.y, n.x, 0} : kcalc::Point3{0, -n.z, n.y};
    const double lu = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    u = {u.x / lu, u.y / lu, u.z / lu};
    const kcalc::Point3 v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
    std::vector<double> gx, gw;
    gaussLegendre(gaussOrder, gx, gw);
    const std::complex<double> K(k, alpha);
    std::complex<double> sum = 0;
    for (int p = 0; p < panels; ++p) {
        const double r0 = a * p / panels, r1 = a * (p + 1) / panels;
        for (int i = 0; i < gaussOrder; ++i) {
            const double rho = 0.5 * (r0 + r1) + 0.5 * (r1 - r0) * gx[i];
            const double wr = 0.5 * (r1 - r0) * gw[i] * rho;
            std::complex<double> ring = 0;
            for (int j = 0; j < angleNodes; ++j) {
                const double phi = 2 * M_PI * j / angleNodes;
                const double cp = std::cos(phi), sp = std::sin(phi);
                const double sx = c.x + rho * (cp * u.x + sp * v.x), sy = c.y + rho * (cp * u.y + sp * v.y),
                             sz = c.z + rho * (cp * u.z + sp * v.z);
                const double R = std::sqrt((x.x - sx) * (x.x - sx) + (x.y - sy) * (x.y - sy) + (x.z - sz) * (x.z - sz));
                ring += std::exp(std::complex<double>(0, 1) * K * R) / R;
            }
            sum += wr * ring * (2 * M_PI / angleNodes);
        }
    }
    return std::complex<double>(0, -k / (2 * M_PI)) * sum;
}

} // namespace testref

#endif // KCALC_TEST_RAYLEIGH_REFERENCE_H
