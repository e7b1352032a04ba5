#ifndef KCALC_PISTON_KERNEL_H
#define KCALC_PISTON_KERNEL_H

// The field of one flat circular piston in a rigid baffle, normalised to the pressure on its
// surface, by an exact one-dimensional integral (the fast nearfield form of the Rayleigh integral).
//
// Rayleigh integral (time factor exp(-i w t)), piston of radius a, uniform normal velocity v,
// p0 = rho c v:
//     h(x) = p(x) / p0 = (-i k / 2 pi) * Integral over the disc of exp(i k |x - s|) / |x - s| dS.
// With the field point at distance r (m) from the piston axis and height z (m) above its plane,
// integrating the radial part in closed form leaves
//     h(r, z) = (a / pi) * Integral_0^pi  (r cos psi - a) / s(psi) * (exp(i k D(psi)) - exp(i k z)) dpsi,
//     s(psi) = r^2 + a^2 - 2 a r cos psi,   D(psi) = sqrt(s(psi) + z^2).
// With d = D - z = s / (D + z) (no cancellation) and theta = k d / 2,
//     exp(i k D) - exp(i k z) = exp(i k z) * 2 i sin(theta) exp(i theta),
// so the integrand is smooth for z > 0 (the 1/s of the edge is cancelled), bounded for z = 0 off the
// rim, and 2 pi-periodic and even in psi. The midpoint rule on [0, pi] with N nodes,
//     psi_j = (j + 1/2) pi / N,   h = exp(i k z) (a / N) sum_j (r c_j - a) / s_j * (-2 sin^2 theta_j + 2 i sin theta_j cos theta_j),
// is then the trapezoidal rule over a whole period and converges exponentially: the error falls like
// J_2N(alpha) with alpha = k (D_max - D_min) / 2 (the phase swing over the rim) and like
// exp(-2 N beta) with beta the distance of the kernel's branch point (D = 0) from the real psi axis,
// cosh beta = 1 + ((r - a)^2 + z^2) / (2 a r). pistonNodeCount() picks N from both,
// N ~ 0.55 alpha + 2 sqrt(alpha) + 3 / beta + 2 (calibrated against the converged rule), which keeps
// the absolute error of h below 1e-8 (about 1e-10 in the tests) from a quarter wavelength in front
// of the disc outwards. On the piston axis (r = 0) the rule is exact for any N:
// h = exp(i k z) - exp(i k sqrt(z^2 + a^2)).
// A baffled piston radiates into its front half-space z >= 0 only; behind its plane the field is zero
// (that side of the baffle is not part of the medium). The kernels take z >= 0.
//
// Absorption: a wave number K = k + i alpha (alpha in Np/m) in the exponentials, the prefactor keeps
// the real k of the source term: h = (k / K) exp(i K z) (a / N) sum_j (r c_j - a) / s_j * (exp(i K d_j) - 1),
// with, for E = exp(-alpha d),
//     exp(i K d) - 1 = (E - 1) - 2 E sin^2 theta + 2 i E sin theta cos theta,
// E - 1 evaluated as expm1 so that small d loses nothing. The same node loop serves both media; the
// lossy one adds one short polynomial per node (fastExpm1Neg), so it costs little more. Its node
// count takes |K| for k (the same count for tissue, where alpha is about 1e-3 k).

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The kernels are inlined into every target clone of their callers (see ElementFieldModel.cpp), so
// that each clone runs its own vector code.
#define KCALC_KERNEL inline __attribute__((always_inline))

namespace kcalc {

// Largest node count of the midpoint rule (reached only within a small fraction of a wavelength of
// the piston's rim, where the exact field has a logarithmic singularity on the rim itself).
constexpr int kMaxPistonNodes = 1024;

// Largest k a the rule resolves: in the disc's own plane the phase swing alpha reaches k a, and
// 0.55 k a + 2 sqrt(k a) + 3 nodes (about 1021 at k a = 1700) must stay within kMaxPistonNodes.
// A job beyond it (a very high frequency or a very slow medium for the element size) is refused.
constexpr double kMaxPistonKa = 1700;

// All node tables in one block: the table of N = 4 m starts at 2 m (m - 1), N = 4 .. kMaxPistonNodes.
KCALC_KERNEL std::size_t pistonNodeTableOffset(int N)
{
    const std::size_t m = static_cast<std::size_t>(N / 4);
    return 2 * m * (m - 1);
}

// cos((j + 1/2) pi / N), j = 0 .. N - 1, for N a multiple of 4 up to kMaxPistonNodes.
const double *pistonNodeCosines(int N);

// The node count the rule asks for at (r, z) of a piston of radius a at wave number k (all in m,
// 1/m), before rounding and capping; +inf or NaN for points the rule cannot place. The part for the
// phase swing, 0.55 alpha + 2 sqrt(alpha) + 3, is all there is unless the branch point lies within
// Im psi < acosh(10) ~ 3 (nearRim), where the last node becomes 3 / beta.
KCALC_KERNEL double pistonSwingDemand(double r, double z, double a, double k, bool &nearRim)
{
    const double rm = r - a, rp = r + a, z2 = z * z;
    const double Dm2 = z2 + rm * rm, Dp2 = z2 + rp * rp;
    const double twoAr = 2 * a * r;
    const double alpha = k * twoAr / (std::sqrt(Dp2) + std::sqrt(Dm2));
    nearRim = Dm2 < 9 * twoAr;
    return 0.55 * alpha + 2 * std::sqrt(alpha) + 3;
}

KCALC_KERNEL double pistonNodeDemand(double r, double z, double a, double k)
{
    bool nearRim;
    const double n = pistonSwingDemand(r, z, a, k, nearRim);
    if (!nearRim)
        return n;
    const double rm = r - a, q = (z * z + rm * rm) / (2 * a * r);
    const double beta = std::log1p(q + std::sqrt(q * (q + 2)));
    return n - 1 + (beta > 3.0 / kMaxPistonNodes ? 3 / beta : kMaxPistonNodes);
}

// A demand rounded up to a multiple of 4 (the SIMD width of the kernel loop) between 4 and
// kMaxPistonNodes. NaN and infinite demands give kMaxPistonNodes, so the count always indexes
// an existing node table.
KCALC_KERNEL int pistonNodesFor(double demand)
{
    const double capped = demand < kMaxPistonNodes ? demand : kMaxPistonNodes; // NaN -> cap
    const double n = capped > 4 ? capped : 4;
    return (static_cast<int>(std::ceil(n)) + 3) & ~3;
}

// Node count for a point at (r, z) of a piston of radius a at wave number k.
KCALC_KERNEL int pistonNodeCount(double r, double z, double a, double k)
{
    return pistonNodesFor(pistonNodeDemand(r, z, a, k));
}

// sin and cos of x, branch-free so that loops over it vectorise; absolute error below 1e-12 for
// |x| < 1e4 (the reduction to [-pi, pi] uses round-to-nearest by the 1.5 * 2^52 trick; the
// quarter angle is evaluated by Taylor polynomials to degree 13/14 and doubled twice).
KCALC_KERNEL void fastSinCos(double x, double &s, double &c)
{
    constexpr double kInv2Pi = 0.15915494309189533577;
    constexpr double k2PiHi = 6.28318530717958623200;
    constexpr double k2PiLo = 2.44929359829470635445e-16;
    constexpr double kRound = 6755399436067840.0; // 1.5 * 2^52
    const double n = (x * kInv2Pi + kRound) - kRound;
    const double t = (x - n * k2PiHi) - n * k2PiLo;
    const double u = 0.25 * t, u2 = u * u;
    const double su =
        u
        * (1
           + u2
                 * (-1.0 / 6
                    + u2
                          * (1.0 / 120
                             + u2
                                   * (-1.0 / 5040
                                      + u2 * (1.0 / 362880 + u2 * (-1.0 / 39916800 + u2 * (1.0 / 6227020800.0)))))));
    const double cu =
        1
        + u2
              * (-0.5
                 + u2
                       * (1.0 / 24
                          + u2
                                * (-1.0 / 720
                                   + u2
                                         * (1.0 / 40320
                                            + u2
                                                  * (-1.0 / 3628800
                                                     + u2 * (1.0 / 479001600.0 + u2 * (-1.0 / 87178291200.0)))))));
    const double s2 = 2 * su * cu, c2 = (cu - su) * (cu + su);
    s = 2 * s2 * c2;
    c = (c2 - s2) * (c2 + s2);
}

// expm1(-x) for x >= 0, branch-free so that loops over it vectorise; relative error below 1e-13.
// exp(-x) = 2^-m exp(t) with m = round(x / ln 2) and t = m ln 2 - x in [-ln 2 / 2, ln 2 / 2]; expm1(t)
// by its Taylor polynomial to degree 11, then expm1(-x) = 2^-m expm1(t) + (2^-m - 1), exact in the
// second term, so that small x (m = 0) keeps its relative accuracy. m is read from the low bits of
// x / ln 2 + 1.5 * 2^52 and 2^-m built from its exponent bits; x is capped at 700 (exp(-700) is far
// below anything a field sum keeps, and 2^-m stays a normal number).
KCALC_KERNEL double fastExpm1Neg(double x)
{
    constexpr double kInvLn2 = 1.4426950408889634074;
    constexpr double kLn2Hi = 6.93147180369123816490e-01;
    constexpr double kLn2Lo = 1.90821492927058770002e-10;
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
    // min(x, 700) as arithmetic: GCC turns a select here into a branch, which stops the vectoriser.
    const double xc = x + static_cast<double>(x > 700.0) * (700.0 - x);
    const double shifted = xc * kInvLn2 + kShift;
    const double m = shifted - kShift;
    const double t = (m * kLn2Hi - xc) + m * kLn2Lo;
    const double p =
        t
        * (1
           + t
                 * (1.0 / 2
                    + t
                          * (1.0 / 6
                             + t
                                   * (1.0 / 24
                                      + t
                                            * (1.0 / 120
                                               + t
                                                     * (1.0 / 720
                                                        + t
                                                              * (1.0 / 5040
                                                                 + t
                                                                       * (1.0 / 40320
                                                                          + t
                                                                                * (1.0 / 362880
                                                                                   + t
                                                                                         * (1.0 / 3628800
                                                                                            + t
                                                                                                  * (1.0
                                                                                                     / 39916800)))))))))));
    std::int64_t mBits;
    std::memcpy(&mBits, &shifted, sizeof mBits);
    const std::int64_t scaleBits = (1023 - (mBits & 0xFFFFF)) << 52;
    double scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    return scale * p + (scale - 1);
}

// Adds the term of the node with cosine c, (r c - a) / s * (exp(i K d) - 1), to (re, im); r2a2 =
// r^2 + a^2, twoAr = 2 a r, z2 = z^2, halfK = k / 2, alpha in Np/m (used only when Lossy).
// One square root and one division: with q = D + z and inv = 1 / (s q), d = D - z = s^2 inv and
// 1 / s = q inv. s > 0: the midpoint nodes avoid psi = 0.
template <bool Lossy>
KCALC_KERNEL void pistonNode(double c, double r, double a, double r2a2, double twoAr, double z, double z2, double halfK,
                             double alpha, double &re, double &im)
{
    const double s = r2a2 - twoAr * c;
    const double q = std::sqrt(s + z2) + z;
    const double inv = 1 / (s * q);
    const double d = s * s * inv;
    double sn, cs;
    fastSinCos(halfK * d, sn, cs);
    const double g = (r * c - a) * (q * inv);
    if (Lossy) {
        const double em1 = fastExpm1Neg(alpha * d);
        const double f = 2 * g * (1 + em1) * sn;
        re += g * em1 - f * sn;
        im += f * cs;
    } else {
        const double f = 2 * g * sn;
        re -= f * sn;
        im += f * cs;
    }
}

// (a / N) (k / K) exp(i K z) times the sum (sumRe, sumIm), into (re, im); scale = a / N and
// kOverK = k / K (used only when Lossy: without absorption the factor is (a / N) exp(i k z)).
template <bool Lossy>
KCALC_KERNEL void pistonFinish(double sumRe, double sumIm, double z, double k, double alpha, double kOverKRe,
                               double kOverKIm, double scale, double &re, double &im)
{
    double ez, cz;
    fastSinCos(k * z, ez, cz);
    double pRe = scale * cz, pIm = scale * ez;
    if (Lossy) {
        const double damp = 1 + fastExpm1Neg(alpha * z);
        const double tRe = damp * (pRe * kOverKRe - pIm * kOverKIm);
        pIm = damp * (pRe * kOverKIm + pIm * kOverKRe);
        pRe = tRe;
    }
    re = pRe * sumRe - pIm * sumIm;
    im = pRe * sumIm + pIm * sumRe;
}

// h(r, z) of a piston with N nodes (pistonNodeCount, a multiple of 4) and absorption alpha (Np/m,
// read only when Lossy), as (re, im). The sum runs in four independent lanes (j mod 4) so that it
// vectorises without reassociating floating-point additions.
template <bool Lossy>
KCALC_KERNEL void pistonFieldSum(double r, double z, double a, double k, double alpha, int N, const double *cosines,
                                 double &re, double &im)
{
    const double r2a2 = r * r + a * a, twoAr = 2 * a * r, z2 = z * z, halfK = 0.5 * k;
    double laneRe[4] = {0, 0, 0, 0}, laneIm[4] = {0, 0, 0, 0};
    for (int j = 0; j < N; j += 4)
        for (int l = 0; l < 4; ++l)
            pistonNode<Lossy>(cosines[j + l], r, a, r2a2, twoAr, z, z2, halfK, alpha, laneRe[l], laneIm[l]);
    const double sumRe = (laneRe[0] + laneRe[1]) + (laneRe[2] + laneRe[3]);
    const double sumIm = (laneIm[0] + laneIm[1]) + (laneIm[2] + laneIm[3]);
    const std::complex<double> kOverK = Lossy ? k / std::complex<double>(k, alpha) : 1.0;
    pistonFinish<Lossy>(sumRe, sumIm, z, k, alpha, kOverK.real(), kOverK.imag(), a / N, re, im);
}

KCALC_KERNEL void pistonFieldLossless(double r, double z, double a, double k, int N, const double *cosines, double &re,
                                      double &im)
{
    pistonFieldSum<false>(r, z, a, k, 0, N, cosines, re, im);
}

KCALC_KERNEL void pistonFieldLossy(double r, double z, double a, double k, double alpha, int N, const double *cosines,
                                   double &re, double &im)
{
    pistonFieldSum<true>(r, z, a, k, alpha, N, cosines, re, im);
}

// The wave number the node count is chosen for: |K| = |k + i alpha|.
KCALC_KERNEL double pistonNodeWaveNumber(double k, double alpha)
{
    return alpha > 0 ? std::hypot(k, alpha) : k;
}

// Convenience for tests and single evaluations: h(r, z) with the automatic node count (alpha = 0:
// lossless), or with N nodes when N > 0 (N rounded up to a multiple of 4, at most kMaxPistonNodes);
// zero for z < 0.
std::complex<double> pistonField(double r, double z, double a, double k, double alpha = 0, int N = 0);

} // namespace kcalc

#endif // KCALC_PISTON_KERNEL_H
