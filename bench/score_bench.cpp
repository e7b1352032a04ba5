// Benchmark of the scores: the example array's 256 elements scored with the default settings (six
// steering points, the coarse steerable-area scan), as `kormax-calc score` computes them. Prints
// the median of several runs and the share of its parts.
//
//   score_bench [--reps N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <omp.h>

#include "design/Scores.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;

int main(int argc, char **argv)
{
    int reps = 5;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--reps") == 0)
            reps = std::max(1, std::atoi(argv[i + 1]));
    ArrayGeometry array = exampleArray();
    // The shipped example file when run from the source tree, else a random layout of the same count.
    std::ifstream file("data/shipped/Elements_Quist_Marvane.txt");
    double x = 0, y = 0;
    while (file >> x >> y)
        array.elements.push_back({x / 100, -y / 100});
    if (array.elements.empty())
        array.elements = randomLayout(array, 256, 1);
    const design::ScoreSettings settings;
    std::vector<double> seconds;
    design::Scores s;
    for (int r = 0; r < reps; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        s = design::computeScores(array, water(), settings);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("scores of %zu elements (%zu work units, %d threads): median %.3f s, min %.3f s over %d runs\n",
                s.elementCount, design::scoreWorkUnits(array, water(), settings), omp_get_max_threads(),
                seconds[seconds.size() / 2], seconds.front(), reps);
    std::printf("gain %.4f, -6 dB %.3f x %.3f mm, worst side %.3f, steerable %.3f\n", s.gain, s.lateralWidth * 1e3,
                s.axialLength * 1e3, s.worstSide, s.steerableArea);
    return 0;
}
