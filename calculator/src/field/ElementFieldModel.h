#ifndef KCALC_ELEMENT_FIELD_MODEL_H
#define KCALC_ELEMENT_FIELD_MODEL_H

#include <complex>
#include <cstddef>
#include <memory>
#include <vector>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

struct RunControl;

// The field of every element of the array, each normalised to the pressure on its own surface:
// h_n(x) = (-ik / 2pi) * Integral over the disc of exp(ik|x - s|) / |x - s| dS,  k = 2 pi f / c,
// with absorption applied when the medium has any.
//
// Element n is a flat disc of radius a centred at (x_n, y_n, R - sqrt(R^2 - x_n^2 - y_n^2)) whose
// normal points at the centre of curvature (0, 0, R) (elementFrame). A point x is taken to the
// element's own cylinder coordinates, z = |(x - centre) . normal| and r = |(x - centre) - z normal|,
// and h_n(x) is evaluated by the exact one-dimensional integral of field/PistonKernel.h.
// Absorption: pvs in dB/(cm MHz) at the job's frequency f, alpha = pvs * (f / 1 MHz) * 100 / 8.6859 Np/m.
// Coordinates in m, fields dimensionless (complex amplitudes, time factor exp(-i w t)).
class ElementFieldModel
{
public:
    // Throws JobError when k a exceeds kMaxPistonKa (field/PistonKernel.h), which the kernel's
    // node-count rule cannot resolve.
    ElementFieldModel(const ArrayGeometry &array, const Medium &medium);

    std::size_t elementCount() const;

    // True when x lies behind element n's plane, where h_n(x) = 0.
    bool behind(std::size_t element, const Point3 &x) const;

    // h_n(x) of one element at one point.
    std::complex<double> field(std::size_t element, const Point3 &x) const;

    // out[p * ld + n] = h_n(points[p]) for every point p and element n (row-major, points x
    // elements, leading dimension ld >= elementCount()). Parallel over points.
    void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const;
    void fieldMatrix(const std::vector<Point3> &points, std::complex<float> *out, std::size_t ld) const;

    // The same with progress (one unit per point) and cancellation: when control->cancel is set
    // the remaining points are skipped and JobCancelled is thrown. control may be null.
    void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld,
                     RunControl *control) const;
    void fieldMatrix(const std::vector<Point3> &points, std::complex<float> *out, std::size_t ld,
                     RunControl *control) const;

    // Phase-conjugation weights for a focus F: w_n = conj(h_n(F)) / |h_n(F)| (w_n = 1 where
    // h_n(F) = 0). With them sum_n w_n h_n(F) = sum_n |h_n(F)|, real and the largest any set of
    // unit-amplitude weights can give at F.
    std::vector<std::complex<double>> focusWeights(const Point3 &focus) const;

    // The steered field, out[p] = |sum_n w_n h_n(points[p])| (pressure amplitude over p0), each
    // element-point pair evaluated once, parallel over points. weights has elementCount() entries.
    // Progress and cancellation as for fieldMatrix.
    void steeredAmplitude(const std::vector<Point3> &points, const std::vector<std::complex<double>> &weights,
                          double *out, RunControl *control = nullptr) const;

    double waveNumber() const;       // k = 2 pi f / c, 1/m
    double absorptionNpPerM() const; // alpha, Np/m
    double elementRadius() const;    // a, m
    ElementFrame frame(std::size_t element) const;

    struct Data;

private:
    std::shared_ptr<const Data> d_;
};

} // namespace kcalc

#endif // KCALC_ELEMENT_FIELD_MODEL_H
