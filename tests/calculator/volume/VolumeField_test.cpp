#include "volume/VolumeField.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "../RayleighReference.h"
#include "field/ElementFieldModel.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;

TEST(VolumeField, MatchesBruteForceRayleighSumInAnAbsorbingMedium)
{
    // A box of 3 x 2 x 4 points (unequal counts, so a mixed-up layout shows) around a steered focus
    // in liver-like absorption, against the sum of brute-force surface integrals over every
    // element with the same phase-conjugation weights; error relative to the box's maximum.
    ArrayGeometry array = exampleArray();
    array.elements = randomLayout(array, 48, 21);
    Medium medium = water();
    medium.absorption_dB_cm_MHz = 0.5;
    const Point3 focus{0.004, -0.002, 0.125};
    const VolumeGrid g = centredVolume(focus, 3, 2, 4, 0.6e-3, 0.8e-3, 2.5e-3);
    const VolumeFieldResult r = computeVolumeField(array, medium, focus, g);

    const ElementFieldModel model(array, medium);
    const auto w = model.focusWeights(focus);
    double worst = 0;
    for (long i = 0; i < g.nx; ++i)
        for (long j = 0; j < g.ny; ++j)
            for (long k = 0; k < g.nz; ++k) {
                std::complex<double> sum = 0;
                for (std::size_t e = 0; e < model.elementCount(); ++e) {
                    const ElementFrame f = model.frame(e);
                    sum += w[e]
                           * testref::rayleighDisc(f.centre, f.normal, array.elementRadius, model.waveNumber(),
                                                   g.point(i, j, k), model.absorptionNpPerM(), 4, 12, 96);
                }
                worst = std::max(worst, std::fabs(std::abs(sum) - r.values[g.index(i, j, k)]));
            }
    std::printf("largest error / max = %.3g\n", worst / r.maximum);
    EXPECT_LT(worst, 1e-3 * r.maximum);
    EXPECT_GT(r.focusPressure, 0.9 * r.maximum);
}
