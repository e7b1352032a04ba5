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

std::complex<double> pistonField(double r, double z, double a, double k, double alpha, int N)
{
    if (z < 0)
        return 0; // behind the baffle
    N = N > 0 ? pistonNodesFor(N) : pistonNodeCount(r, z, a, pistonNodeWaveNumber(k, alpha));
    const double *c = pistonNodeCosines(N);
    double re, im;
    if (alpha > 0)
        pistonFieldLossy(r, z, a, k, alpha, N, c, re, im);
    else
        pistonFieldLossless(r, z, a, k, N, c, re, im);
    return {re, im};
}

} // namespace kcalc
