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
