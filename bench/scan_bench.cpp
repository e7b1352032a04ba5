// Benchmark of the quality scans: the default axial and transverse main-maxima scans of the
// example array, each against one complex matrix product of the same shape (grid points x
// elements x focus positions) timed in the same run. Prints medians, their ratio and the peak
// memory of each scan.
//
//   scan_bench [--reps N] [--case axial|transverse|all] [--threads per-thread|shared|both]
//              [--side] [--double] [--no-prune] [--single-call]
//
// By default the scan is timed as the job runs it: exact element fields of the example array on
// the grid and at the foci, the scan, the field at the best focus. With --threads shared|both,
// --side or --no-prune the engine alone is timed instead, on element fields from a far-field
// piston model computed beforehand. --single-call adds the GEMM as one call with its whole output
// in memory where that output fits in 4 GiB.
// Every measurement runs in a child process of its own, so its peak resident memory is its own.
// Set OPENBLAS_CORETYPE to compare BLAS kernels.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scan/Blas.h"
#include "scan/QualityScan.h"
#include "scan/ScanJob.h"
#include "scan/ScanOutput.h"

#include "field/ElementFieldModel.h"
#include "geometry/ArrayLayout.h"

using namespace kcalc;
using namespace kcalc::scan;

namespace {

// The example array: 256 elements of radius 3.5 mm on a 17 cm aperture, radius of curvature
// 13 cm, central hole of 2 cm radius, 1 MHz in water.
constexpr double kA = 0.17, kR = 0.13, kHole = 0.02, kElementRadius = 0.0035, kF = 1e6, kC = 1500;
constexpr int kElements = 256;

struct Case {
    const char *name;
    PlaneGrid focus, field;
};

// Default regions of the quality windows for main maxima.
Case axialCase()
{
    const double R = static_cast<float>(kR), A = kA;
    const int nr = 51, nz = 241;
    const double dr = A / 2 / 3 / (nr - 1), dz = R / (nz - 1);
    const int fnr = static_cast<int>(1.5 * nr), fnz = static_cast<int>(1.25 * nz); // 76, 301
    return {"axial main maxima",
            PlaneGrid{PlaneKind::Axial, 0.0, std::size_t(2 * nr - 1), std::size_t(nz), -(nr - 1) * dr, R / 2, dr, dz},
            PlaneGrid{PlaneKind::Axial, 0.0, std::size_t(2 * fnr - 1), std::size_t(fnz), -(fnr - 1) * dr,
                      R - 1.25 * R / 2, dr, dz}};
}

Case transverseCase()
{
    const double R = static_cast<float>(kR), A = kA;
    const int n = 51, fn = 76;
    const double d = A / 2 / 3 / (n - 1);
    return {"transverse main maxima",
            PlaneGrid{PlaneKind::Transverse, R, std::size_t(2 * n - 1), std::size_t(2 * n - 1), -(n - 1) * d,
                      -(n - 1) * d, d, d},
            PlaneGrid{PlaneKind::Transverse, R, std::size_t(2 * fn - 1), std::size_t(2 * fn - 1), -(fn - 1) * d,
                      -(fn - 1) * d, d, d}};
}

// The example array's element positions (x, y in m): the shipped element file, found in the
// application directory beside the build's bench directory; without it a golden-angle spiral
// filling the ring between the hole and the rim.
std::string g_elementSource;

std::vector<ElementPosition> examplePositions()
{
    std::vector<ElementPosition> e;
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = 0;
        std::string dir(self);
        dir = dir.substr(0, dir.rfind('/'));
        const std::string path = dir + "/../app/Elements_Quist_Marvane.txt";
        if (std::FILE *f = std::fopen(path.c_str(), "r")) {
            double x, y; // centimetres
            while (std::fscanf(f, "%lf %lf", &x, &y) == 2)
                e.push_back({x / 100, y / 100});
            std::fclose(f);
            if (e.size() == static_cast<std::size_t>(kElements)) {
                g_elementSource = "Elements_Quist_Marvane.txt";
                return e;
            }
            e.clear();
        }
    }
    g_elementSource = "golden-angle spiral";
    const double r0 = kHole + kElementRadius * 1.2, r1 = kA / 2 - kElementRadius;
    const double golden = M_PI * (3 - std::sqrt(5.0));
    for (int k = 0; k < kElements; ++k) {
        const double rho = std::sqrt(r0 * r0 + (r1 * r1 - r0 * r0) * (k + 0.5) / kElements);
        e.push_back({rho * std::cos(k * golden), rho * std::sin(k * golden)});
    }
    return e;
}

std::vector<Point3> elementCentres()
{
    std::vector<Point3> c;
    for (const ElementPosition &p : examplePositions())
        c.push_back({p.x, p.y, kR - std::sqrt(kR * kR - p.x * p.x - p.y * p.y)});
    return c;
}

// Element fields without the calculator's model: each element as a piston in the far field,
// h(x) = -ik a^2/2 * exp(ikd)/d * 2 J1(ka sin t) / (ka sin t), t the angle from its axis (which
// points at the centre of curvature). Close enough in structure for the scan's cost.
template <class T>
FieldMatrix<T> farFieldPistons(const std::vector<Point3> &points, const std::vector<Point3> &elements)
{
    FieldMatrix<T> h(points.size(), elements.size());
    const double k = 2 * M_PI * kF / kC, a = kElementRadius;
#pragma omp parallel for schedule(static)
    for (std::ptrdiff_t p = 0; p < static_cast<std::ptrdiff_t>(points.size()); ++p)
        for (std::size_t n = 0; n < elements.size(); ++n) {
            const Point3 &x = points[p], &s = elements[n];
            const double dx = x.x - s.x, dy = x.y - s.y, dz = x.z - s.z;
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            const double nx = -s.x / kR, ny = -s.y / kR, nz = (kR - s.z) / kR; // unit normal
            const double c = (dx * nx + dy * ny + dz * nz) / d;
            const double u = k * a * std::sqrt(std::max(0.0, 1 - c * c));
            const double directivity = u < 1e-6 ? 1.0 : 2 * std::cyl_bessel_j(1.0, u) / u;
            const std::complex<double> v = std::complex<double>(0, -k * a * a / 2) * std::polar(directivity / d, k * d);
            h.at(p, n) = std::complex<T>(static_cast<T>(v.real()), static_cast<T>(v.imag()));
        }
    return h;
}

double seconds(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double peakMiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0; // kB on Linux
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + 1e-6 * (u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// Wall time, CPU time of all threads (less sensitive to other load on the machine), peak memory.
struct Measure {
    double seconds = 0, cpu = 0, peakMiB = 0, extra = 0;
};

// Runs f in a child process and returns what it reports.
template <class F> Measure inChild(F f)
{
    int fd[2];
    if (pipe(fd) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        const Measure m = f();
        if (write(fd[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m))
            _exit(1);
        _exit(0);
    }
    close(fd[1]);
    Measure m;
    const bool ok = read(fd[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(fd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measurement failed\n");
        std::exit(1);
    }
    return m;
}

template <class T> Measure runScan(const Case &c, ScanSettings settings)
{
    std::vector<std::size_t> start;
    if (settings.sideLobes)
        for (const Point3 &f : c.focus.points())
            start.push_back(nearestPoint(c.field, f));
    const auto elements = elementCentres();
    auto t0 = std::chrono::steady_clock::now();
    const FieldMatrix<T> hGrid = farFieldPistons<T>(c.field.points(), elements);
    const FieldMatrix<double> hFocus = farFieldPistons<double>(c.focus.points(), elements);
    const double fieldsTime = seconds(t0);
    t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    const auto r = scanFocusQuality(hGrid, gridShape(c.field), hFocus, start, settings);
    Measure m{seconds(t0), cpuSeconds() - c0, peakMiB(), fieldsTime};
    double best = 0;
    for (const auto &q : r)
        best = std::max(best, q.mainValue);
    if (!(best > 0.5))
        std::fprintf(stderr, "unexpected best q %g\n", best);
    return m;
}

// The compute phase of the job itself: exact element fields of the example array (256 elements
// at random places, fixed seed), the scan, the field at the best focus. `extra` is the part spent
// on element fields.
Measure runJob(const Case &c, bool dbl)
{
    ArrayGeometry array = exampleArray();
    array.elements = examplePositions();
    const ElementFieldModel model(array, water());
    ScanJobSetup setup;
    setup.kind = ScanKind::MainMaxima;
    setup.focus = c.focus;
    setup.field = c.field;
    setup.doublePrecision = dbl;
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    const ScanJobResult r = computeScanJob(setup, model);
    Measure m{seconds(t0), cpuSeconds() - c0, peakMiB(), r.elementFieldSeconds};
    if (!(r.quality[r.best].mainValue > 0.5))
        std::fprintf(stderr, "unexpected best q %g\n", r.quality[r.best].mainValue);
    return m;
}

// The reference: the same product, grid points x elements times elements x focus positions, in
// one call when `single` (the whole output in memory), else as column panels into one buffer.
template <class T> Measure runGemm(const Case &c, bool single)
{
    const std::size_t P = c.field.pointCount(), N = kElements, M = c.focus.pointCount();
    std::vector<std::complex<T>> a(P * N), b(N * M);
    std::mt19937 rng(7);
    std::uniform_real_distribution<T> u(-1, 1);
    for (auto &v : a)
        v = {u(rng), u(rng)};
    for (auto &v : b)
        v = {u(rng), u(rng)};
    const std::size_t panel = single ? M : 512;
    std::vector<std::complex<T>> out(P * panel);
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    for (std::size_t m0 = 0; m0 < M; m0 += panel) {
        const std::size_t mb = std::min(panel, M - m0);
        blas::gemmTN(int(P), int(mb), int(N), a.data(), int(N), b.data() + m0 * N, int(N), out.data(), int(P));
    }
    Measure m{seconds(t0), cpuSeconds() - c0, peakMiB(), 0};
    m.extra = std::abs(out[P * (panel - 1) / 2]); // keep the product alive
    return m;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

} // namespace

int main(int argc, char **argv)
{
    blas::preferWideKernels(argv);
    int reps = 3;
    std::string which = "all", threads = "per-thread";
    bool side = false, dbl = false, singleCall = false, noPrune = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (a == "--case" && i + 1 < argc)
            which = argv[++i];
        else if (a == "--threads" && i + 1 < argc)
            threads = argv[++i];
        else if (a == "--side")
            side = true;
        else if (a == "--double")
            dbl = true;
        else if (a == "--single-call")
            singleCall = true;
        else if (a == "--no-prune")
            noPrune = true;
        else {
            std::fprintf(stderr,
                         "usage: %s [--reps N] [--case axial|transverse|all] "
                         "[--threads per-thread|shared|both] [--side] [--double] [--no-prune] [--single-call]\n",
                         argv[0]);
            return 2;
        }
    }

    std::vector<Case> cases;
    if (which == "all" || which == "axial")
        cases.push_back(axialCase());
    if (which == "all" || which == "transverse")
        cases.push_back(transverseCase());
    std::vector<ScanSettings::Threads> modes;
    if (threads == "per-thread" || threads == "both")
        modes.push_back(ScanSettings::Threads::PerThreadProducts);
    if (threads == "shared" || threads == "both")
        modes.push_back(ScanSettings::Threads::SharedProducts);

    // The job's own path (exact element fields, default threading) when it is built in.
    const bool job = threads == "per-thread" && !noPrune && !side;
    examplePositions();
    std::printf("scan_bench: %s precision, %d repetitions (medians), %d cores, OpenBLAS core %s\n"
                "elements: %s\ntimed: %s\n",
                dbl ? "double" : "single", reps, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)),
                openblas_get_corename(), g_elementSource.c_str(),
                job ? "the job's compute phase (exact element fields of the grid and the foci, scan, best field)"
                    : "the scan alone (element fields from a far-field piston model, computed beforehand)");
    for (Case c : cases) {
        if (side)
            c.name = c.focus.kind == PlaneKind::Axial ? "axial side maxima" : "transverse side maxima";
        const double flops = 8.0 * double(c.field.pointCount()) * kElements * double(c.focus.pointCount());
        std::printf("\n%s: %zu x %zu focus positions, %zu x %zu grid points, %d elements (%.3g flop)\n", c.name,
                    c.focus.count1, c.focus.count2, c.field.count1, c.field.count2, kElements, flops);
        for (auto mode : modes) {
            ScanSettings s;
            s.sideLobes = side;
            s.threads = mode;
            s.pruneByBound = !noPrune;
            std::vector<double> scan, gemm, gemmSingle, fields, scanCpu, gemmCpu;
            double scanPeak = 0, gemmPeak = 0, singlePeak = 0;
            for (int r = 0; r < reps; ++r) { // interleaved, so load from elsewhere hits both alike
                const Measure ms = inChild([&] {
                    if (job)
                        return runJob(c, dbl);
                    return dbl ? runScan<double>(c, s) : runScan<float>(c, s);
                });
                scan.push_back(ms.seconds);
                scanCpu.push_back(ms.cpu);
                fields.push_back(ms.extra);
                scanPeak = std::max(scanPeak, ms.peakMiB);
                const Measure mg = inChild([&] { return dbl ? runGemm<double>(c, false) : runGemm<float>(c, false); });
                gemm.push_back(mg.seconds);
                gemmCpu.push_back(mg.cpu);
                gemmPeak = std::max(gemmPeak, mg.peakMiB);
                const double singleBytes = double(c.field.pointCount()) * double(c.focus.pointCount()) * (dbl ? 16 : 8);
                if (singleCall && singleBytes <= 4.0 * (1u << 30)) {
                    const Measure m1 =
                        inChild([&] { return dbl ? runGemm<double>(c, true) : runGemm<float>(c, true); });
                    gemmSingle.push_back(m1.seconds);
                    singlePeak = std::max(singlePeak, m1.peakMiB);
                }
            }
            const double ts = median(scan), tg = median(gemm);
            const double cs = median(scanCpu), cg = median(gemmCpu);
            std::printf("  threads %s:\n"
                        "    wall: scan %.3f s, GEMM %.3f s (%.0f GFLOP/s), ratio %.3f\n"
                        "    CPU:  scan %.3f s, GEMM %.3f s, ratio %.3f\n"
                        "    peak memory: scan %.0f MiB, GEMM %.0f MiB; element fields %.2f s (%s)\n",
                        mode == ScanSettings::Threads::PerThreadProducts ? "per-thread" : "shared", ts, tg,
                        flops / tg / 1e9, ts / tg, cs, cg, cs / cg, scanPeak, gemmPeak, median(fields),
                        job ? "included" : "not in scan time");
            if (!gemmSingle.empty())
                std::printf("    GEMM as one call (whole output in memory): %.3f s, peak %.0f MiB\n",
                            median(gemmSingle), singlePeak);
            else if (singleCall)
                std::printf("    GEMM as one call skipped: its output alone would take %.1f GiB\n",
                            double(c.field.pointCount()) * double(c.focus.pointCount()) * (dbl ? 16 : 8) / (1u << 30));
            std::printf("    runs (wall): scan");
            for (double t : scan)
                std::printf(" %.3f", t);
            std::printf("; GEMM");
            for (double t : gemm)
                std::printf(" %.3f", t);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    return 0;
}
