#ifndef KCALC_DESIGN_LAYOUT_H
#define KCALC_DESIGN_LAYOUT_H

// Element layouts on the spherical cap of an array: generators and a check.
//
// A layout is a list of element centres projected onto the aperture plane (x, y in m, the
// coordinates of array_elements.txt); element n sits on the cap at elementFrame(position, R).
// Every generator keeps three rules, and checkLayout measures them for any layout:
//  - rim:  the projected disc lies inside the aperture, rho + a <= A / 2;
//  - hole: it stays outside the central hole, rho - a >= hole radius;
//  - gap:  no two elements come closer than `gap` edge to edge, measured between the 3D centres
//          on the cap: |c_m - c_n| >= 2 a + gap.
// (rho = sqrt(x^2 + y^2), a the element radius, A the aperture.) Random generators are
// reproducible from their seed (std::mt19937_64, uniform numbers built from its raw output).

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc::design {

enum class Generator {
    Random,           // uniform over the cap's surface, dart throwing
    Spiral,           // Fermat (sunflower) spiral, successive elements turned by the golden angle
    Hexagonal,        // regular hexagonal lattice of the projected plane, one lattice row along x
    Rings,            // concentric rings of equal radial spacing
    JitteredHexagonal // hexagonal lattice plus a bounded random displacement of every element
};

struct GeneratorSettings {
    Generator kind = Generator::Random;
    // Elements wanted; 0: as many as fit (not for the spiral, which needs a count).
    std::size_t count = 256;
    double gap = 0.5e-3; // m, smallest edge-to-edge distance
    std::uint64_t seed = 1;
    // Lattices: centre-to-centre distance of neighbours in the projected plane (m). 0: for a count,
    // the largest pitch that holds it; without a count, the smallest the gap allows.
    double pitch = 0;
    // Jittered lattice: largest displacement of an element from its lattice point (m). The pitch
    // is widened by twice this, so that displaced neighbours still keep the gap.
    double jitter = 1e-3;
};

// A generator that cannot place the count asked for: `fit` is how many it could place.
struct LayoutError : std::runtime_error {
    LayoutError(const std::string &what, std::size_t fit) : std::runtime_error(what), fit(fit) {}
    std::size_t fit;
};

// The elements of `settings` on the cap of `array` (aperture, curvature radius, element radius,
// hole radius; its elements are ignored). Throws LayoutError when the count does not fit or the
// constraints leave no room at all (elements larger than the aperture, a gap that leaves no
// place), std::invalid_argument on settings that are not numbers or negative.
std::vector<ElementPosition> generateLayout(const ArrayGeometry &array, const GeneratorSettings &settings);

// The golden angle of the spiral, pi (3 - sqrt 5) radians (about 137.508 degrees).
double goldenAngle();

// What a layout looks like against the rules above.
struct LayoutCheck {
    std::size_t count = 0;
    std::size_t closePairs = 0;       // pairs closer than the gap edge to edge (overlapping included)
    std::size_t overlappingPairs = 0; // pairs whose discs overlap (3D distance < 2 a)
    std::size_t outsideAperture = 0;  // elements with rho + a > A / 2
    std::size_t insideHole = 0;       // elements with rho - a < hole radius
    double smallestGap = 0;           // m, smallest edge-to-edge distance (negative: overlap); 0 below two elements
    double fillFactor = 0;            // N pi a^2 over the cap's surface between hole and rim
    // The first pairs closer than the gap (at most 20), element indices.
    std::vector<std::pair<std::size_t, std::size_t>> firstClosePairs;

    bool valid() const { return count > 0 && closePairs == 0 && outsideAperture == 0 && insideHole == 0; }
};

// Measures a layout. The comparison of centres goes through a spatial grid, so the check is linear
// in the element count for any layout that keeps its gap. A rounding allowance of 1 nm keeps
// layouts placed exactly at the gap valid.
LayoutCheck checkLayout(const ArrayGeometry &array, const std::vector<ElementPosition> &elements, double gap);

// Surface of the cap between the hole and the rim, 2 pi R^2 (cos theta_hole - cos theta_rim), m^2.
double capArea(const ArrayGeometry &array);

} // namespace kcalc::design

#endif // KCALC_DESIGN_LAYOUT_H
