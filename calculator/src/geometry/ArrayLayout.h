#ifndef KCALC_ARRAY_LAYOUT_H
#define KCALC_ARRAY_LAYOUT_H

#include <cstdint>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

// The example array of the application (SI units): aperture 0.17 m, R = 0.13 m, a = 3.5 mm,
// 1 MHz, central hole of radius 2 cm; and water, 1000 kg/m^3, 1500 m/s, no absorption.
ArrayGeometry exampleArray();
Medium water();

// `count` element positions drawn at random (fixed seed: reproducible) on the cap of `array`:
// every disc lies within the aperture (projected radius + a <= A / 2) and outside the hole
// (projected radius - a >= hole radius), and no two discs come closer than `gap` (m, between
// rims, measured between the 3D centres). Throws std::runtime_error if the cap cannot hold them.
std::vector<ElementPosition> randomLayout(const ArrayGeometry &array, std::size_t count, std::uint64_t seed,
                                          double gap = 0.5e-3);

} // namespace kcalc

#endif // KCALC_ARRAY_LAYOUT_H
