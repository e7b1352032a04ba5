#include "field/PistonKernel.h"

#include <vector>

namespace kcalc {

namespace {

std::vector<double> buildNodeTables()
{
    std::vector<double> table(pistonNodeTableOffset(kMaxPistonNodes + 4));
    for (int N = 4; N <= kMaxPistonNodes; N += 4) {
        double *c = table.data() + pistonNodeTableOffset(N);
        for (int j = 0; j < N; ++j)
            c[j] = std::cos((j + 0.5) * M_PI / N);
    }
    return table;
}

} // namespace

const double *pistonNodeCosines(int N)
{
    static const std::vector<double> table = buildNodeTables();
    return table.data() + pistonNodeTableOffset(N);
}

std::complex<double> pistonFieldLossy(double r, double z, double a, double k, double alpha, int N,
                                      const double *cosines)
{
    const double r2a2 = r * r + a * a, twoAr = 2 * a * r, z2 = z * z;
    double sumRe = 0, sumIm = 0;
    for (int j = 0; j < N; ++j) {
        const double c = cosines[j];
        const double s = r2a2 - twoAr * c;
        const double D = std::sqrt(s + z2);
        const double d = s / (D + z);
        // exp(i K d) - 1 = expm1(-alpha d) cos(k d) - 2 sin^2(k d / 2) + i exp(-alpha d) sin(k d)
        const double sh = std::sin(0.5 * k * d);
        const double em1 = std::expm1(-alpha * d);
        const double eRe = em1 * std::cos(k * d) - 2 * sh * sh;
        const double eIm = (1 + em1) * std::sin(k * d);
        const double f = (r * c - a) / s;
        sumRe += f * eRe;
        sumIm += f * eIm;
    }
    const std::complex<double> K(k, alpha);
    return (k / K) * std::exp(std::complex<double>(0, 1) * K * z) * (a / N) * std::complex<double>(sumRe, sumIm);
}

std::complex<double> pistonField(double r, double z, double a, double k, double alpha, int N)
{
    if (z < 0)
        return 0;  // behind the baffle
    N = N > 0 ? pistonNodesFor(N) : pistonNodeCount(r, z, a, k);
    const double *c = pistonNodeCosines(N);
    if (alpha > 0)
        return pistonFieldLossy(r, z, a, k, alpha, N, c);
    double re, im;
    pistonFieldLossless(r, z, a, k, N, c, re, im);
    return {re, im};
}

} // namespace kcalc
