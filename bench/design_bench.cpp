// Benchmark of the layout generators: 256 elements drawn at random with a 0.5 mm gap on the example
// array's cap (the default of the design window), and the other generators at the same count.
// Prints the median of several runs of each.
//
//   design_bench [--reps N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "design/Layout.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;
using namespace kcalc::design;

int main(int argc, char **argv)
{
    int reps = 21;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--reps") == 0)
            reps = std::max(1, std::atoi(argv[i + 1]));
    const ArrayGeometry array = exampleArray();
    const struct {
        const char *name;
        Generator kind;
    } cases[] = {{"random", Generator::Random},
                 {"spiral", Generator::Spiral},
                 {"hexagonal", Generator::Hexagonal},
                 {"rings", Generator::Rings},
                 {"jittered hexagonal", Generator::JitteredHexagonal}};
    for (const auto &c : cases) {
        std::vector<double> ms;
        std::size_t placed = 0;
        for (int r = 0; r < reps; ++r) {
            GeneratorSettings s;
            s.kind = c.kind;
            s.count = 256;
            s.gap = 0.5e-3;
            s.seed = static_cast<std::uint64_t>(r + 1);
            const auto t0 = std::chrono::steady_clock::now();
            try {
                placed = generateLayout(array, s).size();
            } catch (const LayoutError &e) {
                placed = e.fit; // the spiral's even spacing holds fewer than dart throwing
            }
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-20s 256 elements, gap 0.5 mm: median %.2f ms, max %.2f ms over %d seeds (%zu placed or fit)\n",
                    c.name, ms[ms.size() / 2], ms.back(), reps, placed);
    }
    return 0;
}
