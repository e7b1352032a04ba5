// Timings of field jobs on the example array (256 elements at random non-overlapping places on the
// cap; aperture 0.17 m, R = 0.13 m, a = 3.5 mm, 1 MHz, hole radius 2 cm, water) over the default
// planes of the application: transverse 101 x 101 points at z = R spanning +-A/6, axial 241 x 101
// points from z = R/2 to 3R/2 spanning +-A/6.
//
//   field_bench [repetitions [elements]]   repetitions default 7; elements: an element positions
//                                           file (x y pairs in cm, e.g. data/shipped/Elements_Quist_Marvane.txt);
//                                           without it 256 elements are placed at random (fixed seed)
//
// Prints, per case, the median and the minimum wall time of the repetitions, the median CPU time of
// the process (all threads) and the cost per element-point pair (median CPU time / pairs). On a
// machine shared with other work the wall times vary; the CPU time per pair hardly does.
// The steered field in an absorbing medium (0.5 dB/(cm MHz), otherwise water, so that both cases
// take the same nodes) is timed against the lossless one with the repetitions interleaved, and the
// ratio of their median CPU times per pair is printed as "lossy/lossless".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <ctime>

#include <omp.h>
#include <unistd.h>

#include "field/ElementFieldModel.h"
#include "field/FieldPlane.h"
#include "geometry/ArrayLayout.h"
#include "output/ResultFiles.h"
#include "params/JobInput.h"

using namespace kcalc;

namespace {

PlaneGrid defaultTransverse(const ArrayGeometry &a)
{
    PlaneGrid g;
    g.kind = PlaneKind::Transverse;
    g.fixed = a.curvatureRadius;
    g.count1 = g.count2 = 101;
    g.step1 = g.step2 = a.aperture / 2 / 3 / 50;
    g.start1 = g.start2 = -50 * g.step1;
    return g;
}

PlaneGrid defaultAxial(const ArrayGeometry &a)
{
    PlaneGrid g;
    g.kind = PlaneKind::Axial;
    g.fixed = 0;
    g.count1 = 101;
    g.step1 = a.aperture / 2 / 3 / 50;
    g.start1 = -50 * g.step1;
    g.count2 = 241;
    g.start2 = a.curvatureRadius / 2;
    g.step2 = a.curvatureRadius / 240;
    return g;
}

double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void run(const char *name, int repetitions, double pairs, int threads, const std::function<void()> &body)
{
    std::vector<double> wall, cpu;
    body(); // warm-up: node tables, page faults, thread pool
    for (int r = 0; r < repetitions; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        body();
        cpu.push_back(cpuSeconds() - c0);
        wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%-46s %d thr  wall median %6.3f s  min %6.3f s  cpu median %6.3f s  %6.1f ns/pair\n", name, threads,
                median(wall), *std::min_element(wall.begin(), wall.end()), median(cpu), median(cpu) * 1e9 / pairs);
    std::fflush(stdout);
}

// Times two bodies with their repetitions interleaved (so that a change of the machine's load hits
// both alike) and prints both and the ratio of their median CPU times.
void compare(const std::string &name, int repetitions, double pairs, int threads, const std::function<void()> &lossless,
             const std::function<void()> &lossy)
{
    std::vector<double> cpu[2], wall[2];
    lossless();
    lossy();
    for (int r = 0; r < repetitions; ++r) {
        for (int which = 0; which < 2; ++which) {
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = cpuSeconds();
            (which == 0 ? lossless : lossy)();
            cpu[which].push_back(cpuSeconds() - c0);
            wall[which].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
    }
    const char *label[2] = {"lossless", "lossy 0.5 dB/(cm MHz)"};
    for (int which = 0; which < 2; ++which)
        std::printf("%-46s %d thr  wall median %6.3f s  cpu median %6.3f s  %6.1f ns/pair\n",
                    (name + ": " + label[which]).c_str(), threads, median(wall[which]), median(cpu[which]),
                    median(cpu[which]) * 1e9 / pairs);
    std::printf("%-46s lossy/lossless %.2f (median CPU time per pair)\n", name.c_str(),
                median(cpu[1]) / median(cpu[0]));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    JobInput input;
    input.array = exampleArray();
    if (argc > 2) {
        std::FILE *file = std::fopen(argv[2], "r");
        double x, y;
        while (file && std::fscanf(file, "%lf %lf", &x, &y) == 2)
            input.array.elements.push_back({x / 100, y / 100});
        if (file)
            std::fclose(file);
        if (input.array.elements.empty()) {
            std::fprintf(stderr, "field_bench: no element positions in %s\n", argv[2]);
            return 1;
        }
    } else {
        input.array.elements = randomLayout(input.array, 256, 2026);
    }
    input.medium = water();
    input.focus = {0, 0, input.array.curvatureRadius};
    const ElementFieldModel model(input.array, input.medium);
    Medium absorbing = input.medium;
    absorbing.absorption_dB_cm_MHz = 0.5;
    const ElementFieldModel lossyModel(input.array, absorbing);
    const int threads = omp_get_max_threads();
    std::printf("field_bench: %zu elements, %d OpenMP threads, %d repetitions\n", model.elementCount(), threads,
                repetitions);

    char dirPattern[] = "/tmp/field_bench_XXXXXX";
    const std::string dir = mkdtemp(dirPattern);

    for (const bool axial : {false, true}) {
        input.grid = axial ? defaultAxial(input.array) : defaultTransverse(input.array);
        const std::vector<Point3> points = input.grid.points();
        const double pairs = static_cast<double>(points.size()) * static_cast<double>(model.elementCount());
        const std::string plane = axial ? "axial 241 x 101" : "transverse 101 x 101";
        const auto w = model.focusWeights(input.focus);
        std::vector<double> out(points.size());

        const auto lossyW = lossyModel.focusWeights(input.focus);
        compare(
            plane + ": steered field", repetitions, pairs, threads,
            [&] { model.steeredAmplitude(points, w, out.data()); },
            [&] { lossyModel.steeredAmplitude(points, lossyW, out.data()); });
        run((plane + ": whole job (compute, write, mark)").c_str(), repetitions, pairs, threads, [&] {
            const FieldPlaneResult r = computeFieldPlane(input);
            writeFileAtomically(dir, fieldResultName(input.grid.kind), fieldResultText(input.grid, r.values));
            markDone(dir);
        });
        omp_set_num_threads(1);
        run((plane + ": steered field, 1 thread").c_str(), std::max(1, repetitions / 2), pairs, 1,
            [&] { model.steeredAmplitude(points, w, out.data()); });
        omp_set_num_threads(threads);
    }
    {
        // The element-field matrix that the scan jobs build (single precision), 2000 points.
        std::vector<Point3> points = defaultTransverse(input.array).points();
        points.resize(2000);
        std::vector<std::complex<float>> matrix(points.size() * model.elementCount());
        run("field matrix 2000 points x 256 (float)", repetitions,
            static_cast<double>(points.size() * model.elementCount()), threads,
            [&] { model.fieldMatrix(points, matrix.data(), model.elementCount()); });
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
