// Writes the example array's element positions: 256 circular elements of radius 3.5 mm placed at
// random on a spherical cap of aperture 17 cm and radius of curvature 13 cm with a central hole of
// radius 2 cm. A random sparse layout (no periodic pattern) is what keeps grating lobes down.
//
// Output: one element per line, "x y" in centimetres, the centre projected onto the aperture
// plane with the array axis at (0, 0) -- the element file format the application reads.
//
// Where "wholly between the hole and the rim" and "not overlapping" are measured: in the projected
// (aperture) plane, with the element's full radius. That is the plane the file's coordinates, the
// aperture and the hole radius live in, and it is the stricter choice: a tilted disc projects to an
// ellipse whose radial half-width a*cos(gamma) is below a, and two centres at least 2a apart in
// projection are at least 2a apart on the cap too (a chord is never shorter than its projection),
// so discs in the cap's tangent planes do not touch either.
//
// The layout is random sequential addition with a fixed seed and a self-contained generator
// (std::mt19937_64 is fully specified; the mapping to [0, 1) is done here, not by a library
// distribution), so the file is the same on every machine. Usage: generate_elements [output]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

namespace {

const int elementCount = 256;
const double elementRadius = 0.35; // cm
const double rimRadius = 8.5;      // cm, half the aperture
const double holeRadius = 2.0;     // cm
// A kerf between neighbours and to the edges, so rounding to 1e-4 cm cannot break the constraints.
const double gap = 0.02; // cm
const std::uint64_t seed = 20261209;
const long maxAttempts = 50000000;

struct Point {
    double x, y;
};

double uniform01(std::mt19937_64 &gen)
{
    return double(gen() >> 11) * (1.0 / 9007199254740992.0); // 53 random bits
}

} // namespace

int main(int argc, char **argv)
{
    const double pi = 3.14159265358979323846;
    const double rhoMin = holeRadius + elementRadius + gap;
    const double rhoMax = rimRadius - elementRadius - gap;
    const double minDistance = 2 * elementRadius + gap;

    std::mt19937_64 gen(seed);
    std::vector<Point> points;
    long attempts = 0;
    while (int(points.size()) < elementCount) {
        if (++attempts > maxAttempts) {
            std::fprintf(stderr, "gave up after %ld attempts with %zu elements placed\n", attempts, points.size());
            return 1;
        }
        // Uniform over the annulus of allowed centres.
        const double u = uniform01(gen);
        const double v = uniform01(gen);
        const double rho = std::sqrt(rhoMin * rhoMin + u * (rhoMax * rhoMax - rhoMin * rhoMin));
        const double phi = 2 * pi * v;
        // Rounded as written, so the checks below see the file's own numbers.
        const Point p{std::round(rho * std::cos(phi) * 1e4) / 1e4, std::round(rho * std::sin(phi) * 1e4) / 1e4};
        const double rp = std::hypot(p.x, p.y);
        if (rp < rhoMin || rp > rhoMax)
            continue;
        bool free = true;
        for (const Point &q : points) {
            if (std::hypot(p.x - q.x, p.y - q.y) < minDistance) {
                free = false;
                break;
            }
        }
        if (free)
            points.push_back(p);
    }

    FILE *out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    for (const Point &p : points)
        std::fprintf(out, "%.4f %.4f\n", p.x, p.y);
    if (out != stdout)
        std::fclose(out);
    std::fprintf(stderr, "%zu elements after %ld attempts\n", points.size(), attempts);
    return 0;
}
