#include "field/PistonKernel.h"

#include <vector>

namespace kcalc {

namespace {

// All node tables in one block: the table of N = 4m starts at 2 m (m - 1).
std::vector<double> buildNodeTables()
{
    const int maxM = kMaxPistonNodes / 4;
    std::vector<double> table(static_cast<std::size_t>(2 * (maxM + 1) * maxM));
    for (int m = 1; m <= maxM; ++m) {
        const int N = 4 * m;
        double *c = table.data() + 2 * m * (m - 1);
        for (int j = 0; j < N; ++j)
            c[j] = std::cos((j + 0.5) * M_PI / N);
    }
    return table;
}

} // namespace

const double *pistonNodeCosines(int N)
{
    static const std::vector<double> table = buildNodeTables();
    const int m = N / 4;
    return table.data() + 2 * m * (m - 1);
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
    z = std::fabs(z);
    N = N > 0 ? std::min(kMaxPistonNodes, std::max(4, (N + 3) & ~3)) : pistonNodeCount(r, z, a, k);
    const double *c = pistonNodeCosines(N);
    if (alpha > 0)
        return pistonFieldLossy(r, z, a, k, alpha, N, c);
    double re, im;
    pistonFieldLossless(r, z, a, k, N, c, re, im);
    return {re, im};
}

} // namespace kcalc
