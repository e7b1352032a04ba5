// Timings of the heating job's two parts on the example array (the shipped element file when given,
// else 256 elements at random places on the cap, fixed seed) in liver (1060 kg/m^3, 1595 m/s,
// 0.5 dB/(cm MHz); heat capacity 3540 J/(kg K), conductivity 0.52 W/(m K), perfusion 16.2 kg/(m^3 s)):
//
//   1. the bioheat solver on a 128 x 128 x 128 periodic box (a 96 x 96 x 96 region, the rest
//      padding), a Gaussian source, 10 s of heating and 20 s of cooling at 0.1 s dose steps;
//   2. the volume field of the heating window's box around the focus at (0, 0, R): 73 x 73 x 73
//      points, lambda/6 across the axis and lambda/3 along it (heatingBox).
//
//   heating_bench [repetitions [elements]]   repetitions default 3
//
// Prints the median and minimum wall time of each and the median CPU time of the process (all
// threads): on a machine shared with other work the wall time varies, the CPU time hardly does.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <vector>

#include <omp.h>

#include "geometry/ArrayLayout.h"
#include "heating/Bioheat.h"
#include "volume/VolumeField.h"

using namespace kcalc;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : 0.5 * (v[v.size() / 2 - 1] + v[v.size() / 2]);
}

void timed(const char *name, int repetitions, const std::function<void()> &run)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < repetitions; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t c0 = std::clock();
        run();
        cpu.push_back(static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
        wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%-58s wall median %7.3f s  min %7.3f s  cpu median %7.3f s\n", name, median(wall),
                *std::min_element(wall.begin(), wall.end()), median(cpu));
}

} // namespace

int main(int argc, char **argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    ArrayGeometry array = exampleArray();
    if (argc > 2) {
        std::ifstream in(argv[2]);
        double x, y;
        while (in >> x >> y)
            array.elements.push_back({x / 100, y / 100});
    }
    if (array.elements.empty())
        array.elements = randomLayout(array, 256, 2026);
    Medium liver = water();
    liver.density = 1060;
    liver.soundSpeed = 1595;
    liver.heatCapacity = 3540;
    liver.absorption_dB_cm_MHz = 0.5;
    ThermalProperties tissue;
    tissue.density = liver.density;
    tissue.heatCapacity = liver.heatCapacity;
    tissue.conductivity = 0.52;
    tissue.perfusion = 16.2;
    tissue.bloodHeatCapacity = 3617;
    std::printf("heating_bench: %zu elements, %d OpenMP threads, %d repetitions\n", array.elements.size(),
                omp_get_max_threads(), repetitions);

    // 1. The bioheat step on a 128^3 box.
    Sonication s;
    s.heatingTime = 10;
    s.coolingTime = 20;
    s.doseStep = 0.1;
    VolumeGrid region;
    region.nx = region.ny = region.nz = 96;
    region.dx = region.dy = 0.25e-3;
    region.dz = 0.5e-3;
    BioheatLayout layout = bioheatLayout(region, tissue, s);
    // Whatever the padding rule asks for this region, time the 128^3 box, the region centred in it.
    layout.nx = layout.ny = layout.nz = 128;
    layout.padX = layout.padY = layout.padZ = 16;
    std::vector<double> q(region.pointCount());
    for (long i = 0; i < region.nx; ++i)
        for (long j = 0; j < region.ny; ++j)
            for (long k = 0; k < region.nz; ++k) {
                const Point3 p = region.point(i - 48, j - 48, k - 48);
                q[region.index(i, j, k)] =
                    5e7 * std::exp(-(p.x * p.x + p.y * p.y) / (2 * 1e-6) - p.z * p.z / (2 * 16e-6));
            }
    std::printf("bioheat: box 128 x 128 x 128 (region 96^3, padding rule asks for %.2f mm), %ld steps\n",
                paddingLength(tissue, s) * 1e3, phaseSteps(10, 0.1).count + phaseSteps(20, 0.1).count);
    timed("bioheat 128^3, 10 s heating + 20 s cooling, 0.1 s steps", repetitions,
          [&] { solveBioheat(layout, q, tissue, s, region.index(48, 48, 48)); });

    // 2. The volume field of the heating window's box.
    const Point3 focus{0, 0, array.curvatureRadius};
    const VolumeGrid box = heatingBox(focus, array.frequency, liver.soundSpeed);
    std::printf("volume field: %ld x %ld x %ld points, steps %.3f, %.3f, %.3f mm\n", box.nx, box.ny, box.nz,
                box.dx * 1e3, box.dy * 1e3, box.dz * 1e3);
    timed("volume field of the heating box, liver", repetitions, [&] { computeVolumeField(array, liver, focus, box); });
    return 0;
}
