#include "geometry/ArrayLayout.h"

#include <cmath>
#include <random>
#include <stdexcept>

namespace kcalc {

ArrayGeometry exampleArray()
{
    ArrayGeometry array;
    array.aperture = 0.17;
    array.curvatureRadius = 0.13;
    array.elementRadius = 0.0035;
    array.frequency = 1e6;
    array.holeRadius = 0.02;
    return array;
}

Medium water()
{
    Medium medium;
    medium.density = 1000;
    medium.soundSpeed = 1500;
    medium.heatCapacity = 4200;
    medium.absorption_dB_cm_MHz = 0;
    return medium;
}

std::vector<ElementPosition> randomLayout(const ArrayGeometry &array, std::size_t count, std::uint64_t seed, double gap)
{
    const double a = array.elementRadius, R = array.curvatureRadius;
    const double rhoMin = array.holeRadius + a, rhoMax = array.aperture / 2 - a;
    const double minDistance = 2 * a + gap;
    std::mt19937_64 random(seed);
    const auto uniform = [&random] { return static_cast<double>(random() >> 11) * 0x1.0p-53; };
    std::vector<ElementPosition> placed;
    std::vector<Point3> centres;
    for (std::size_t attempt = 0; placed.size() < count; ++attempt) {
        if (attempt > 2000000)
            throw std::runtime_error("randomLayout: the cap cannot hold the requested elements");
        // Uniform over the annulus of the projection.
        const double rho = std::sqrt(rhoMin * rhoMin + uniform() * (rhoMax * rhoMax - rhoMin * rhoMin));
        const double phi = 2 * M_PI * uniform();
        const ElementPosition p{rho * std::cos(phi), rho * std::sin(phi)};
        const Point3 c = elementFrame(p, R).centre;
        bool free = true;
        for (const Point3 &q : centres) {
            const double dx = c.x - q.x, dy = c.y - q.y, dz = c.z - q.z;
            if (dx * dx + dy * dy + dz * dz < minDistance * minDistance) {
                free = false;
                break;
            }
        }
        if (free) {
            placed.push_back(p);
            centres.push_back(c);
        }
    }
    return placed;
}

} // namespace kcalc
