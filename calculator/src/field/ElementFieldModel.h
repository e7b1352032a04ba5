#ifndef KCALC_ELEMENT_FIELD_MODEL_H
#define KCALC_ELEMENT_FIELD_MODEL_H

#include <complex>
#include <cstddef>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

// The field of every element of the array, each normalised to the pressure on its own surface:
// h_n(x) = (-ik / 2pi) * Integral over the disc of exp(ik|x - s|) / |x - s| dS,  k = 2 pi f / c,
// with absorption applied when the medium has any.
class ElementFieldModel
{
public:
    ElementFieldModel(const ArrayGeometry &array, const Medium &medium);

    std::size_t elementCount() const;

    // h_n(x) of one element at one point.
    std::complex<double> field(std::size_t element, const Point3 &x) const;

    // out[p * ld + n] = h_n(points[p]) for every point p and element n (row-major, points x
    // elements, leading dimension ld >= elementCount()). Parallel over points.
    void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const;
    void fieldMatrix(const std::vector<Point3> &points, std::complex<float> *out, std::size_t ld) const;
};

} // namespace kcalc

#endif // KCALC_ELEMENT_FIELD_MODEL_H
