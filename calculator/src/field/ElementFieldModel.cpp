#include "field/ElementFieldModel.h"

#include <algorithm>
#include <cmath>

#include "field/PistonKernel.h"
#include "field/RunControl.h"
#include "params/JobError.h"

namespace kcalc {

// Element frames as structure of arrays (centres c, unit normals n), the piston radius a (m), the
// wave number k (1/m) and the absorption alpha (Np/m).
struct ElementFieldModel::Data {
    std::vector<double> cx, cy, cz, nx, ny, nz;
    double a = 0, k = 0, alpha = 0;
    const double *nodeTable = nullptr;  // pistonNodeCosines(4): all node tables in one block
};

namespace {

using Data = ElementFieldModel::Data;

// Points are processed in blocks: a block is the unit of OpenMP scheduling, progress and cancellation.
constexpr long kBlock = 32;

// h_e(p) as (re, im): cylinder coordinates of p about the element's axis, then the piston kernel.
inline void elementField(const Data &d, std::size_t e, double px, double py, double pz, double &re, double &im)
{
    const double vx = px - d.cx[e], vy = py - d.cy[e], vz = pz - d.cz[e];
    const double zs = vx * d.nx[e] + vy * d.ny[e] + vz * d.nz[e];
    const double wx = vx - zs * d.nx[e], wy = vy - zs * d.ny[e], wz = vz - zs * d.nz[e];
    const double r = std::sqrt(wx * wx + wy * wy + wz * wz);
    const double z = std::fabs(zs);
    const int N = pistonNodeCount(r, z, d.a, d.k);
    const int m = N / 4;
    const double *cosines = d.nodeTable + 2 * m * (m - 1);
    if (d.alpha > 0) {
        const std::complex<double> h = pistonFieldLossy(r, z, d.a, d.k, d.alpha, N, cosines);
        re = h.real();
        im = h.imag();
    } else {
        pistonFieldLossless(r, z, d.a, d.k, N, cosines, re, im);
    }
}

// sum_e w_e h_e(p). Compiled for AVX2/FMA as well as the baseline; the loader picks the best.
__attribute__((target_clones("arch=x86-64-v3", "default")))
void weightedSum(const Data &d, const double *wRe, const double *wIm, double px, double py, double pz,
                 double &outRe, double &outIm)
{
    double accRe = 0, accIm = 0;
    const std::size_t count = d.cx.size();
    for (std::size_t e = 0; e < count; ++e) {
        double re, im;
        elementField(d, e, px, py, pz, re, im);
        accRe += wRe[e] * re - wIm[e] * im;
        accIm += wRe[e] * im + wIm[e] * re;
    }
    outRe = accRe;
    outIm = accIm;
}

// h_e(p) for every element e into re[e], im[e].
__attribute__((target_clones("arch=x86-64-v3", "default")))
void fieldRow(const Data &d, double px, double py, double pz, double *re, double *im)
{
    const std::size_t count = d.cx.size();
    for (std::size_t e = 0; e < count; ++e)
        elementField(d, e, px, py, pz, re[e], im[e]);
}

// Runs body(p) for every point p in parallel blocks, reporting progress and honouring cancellation.
template <typename Body>
void forEachPoint(std::size_t pointCount, RunControl *control, Body body)
{
    const long blocks = static_cast<long>((pointCount + kBlock - 1) / kBlock);
    bool stopped = false;
#pragma omp parallel for schedule(dynamic, 1)
    for (long b = 0; b < blocks; ++b) {
        if (control && control->cancelled())
            continue;
        const std::size_t first = static_cast<std::size_t>(b) * kBlock;
        const std::size_t last = std::min(pointCount, first + kBlock);
        for (std::size_t p = first; p < last; ++p)
            body(p);
        if (control)
            control->add(last - first);
    }
    if (control && control->cancelled())
        stopped = true;
    if (stopped)
        throw JobCancelled();
}

template <typename T>
void fillMatrix(const Data &d, const std::vector<Point3> &points, std::complex<T> *out, std::size_t ld,
                RunControl *control)
{
    const std::size_t count = d.cx.size();
    forEachPoint(points.size(), control, [&](std::size_t p) {
        thread_local std::vector<double> re, im;
        re.resize(count);
        im.resize(count);
        fieldRow(d, points[p].x, points[p].y, points[p].z, re.data(), im.data());
        std::complex<T> *row = out + p * ld;
        for (std::size_t e = 0; e < count; ++e)
            row[e] = std::complex<T>(static_cast<T>(re[e]), static_cast<T>(im[e]));
    });
}

} // namespace

ElementFieldModel::ElementFieldModel(const ArrayGeometry &array, const Medium &medium)
{
    auto d = std::make_shared<Data>();
    const std::size_t count = array.elements.size();
    for (auto *v : {&d->cx, &d->cy, &d->cz, &d->nx, &d->ny, &d->nz})
        v->resize(count);
    for (std::size_t e = 0; e < count; ++e) {
        const ElementFrame f = elementFrame(array.elements[e], array.curvatureRadius);
        d->cx[e] = f.centre.x;
        d->cy[e] = f.centre.y;
        d->cz[e] = f.centre.z;
        d->nx[e] = f.normal.x;
        d->ny[e] = f.normal.y;
        d->nz[e] = f.normal.z;
    }
    d->a = array.elementRadius;
    d->k = 2 * M_PI * array.frequency / medium.soundSpeed;
    // dB/(cm MHz) -> Np/m at the operating frequency: x (f / 1 MHz) x 100 cm/m / (20 log10 e dB/Np).
    d->alpha = medium.absorption_dB_cm_MHz * (array.frequency / 1e6) * 100.0 / 8.685889638065037;
    d->nodeTable = pistonNodeCosines(4);
    d_ = std::move(d);
}

std::size_t ElementFieldModel::elementCount() const { return d_->cx.size(); }
double ElementFieldModel::waveNumber() const { return d_->k; }
double ElementFieldModel::absorptionNpPerM() const { return d_->alpha; }
double ElementFieldModel::elementRadius() const { return d_->a; }

ElementFrame ElementFieldModel::frame(std::size_t e) const
{
    const Data &d = *d_;
    return ElementFrame{Point3{d.cx[e], d.cy[e], d.cz[e]}, Point3{d.nx[e], d.ny[e], d.nz[e]}};
}

std::complex<double> ElementFieldModel::field(std::size_t element, const Point3 &x) const
{
    double re, im;
    elementField(*d_, element, x.x, x.y, x.z, re, im);
    return {re, im};
}

void ElementFieldModel::fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const
{
    fillMatrix(*d_, points, out, ld, nullptr);
}

void ElementFieldModel::fieldMatrix(const std::vector<Point3> &points, std::complex<float> *out, std::size_t ld) const
{
    fillMatrix(*d_, points, out, ld, nullptr);
}

void ElementFieldModel::fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld,
                                    RunControl *control) const
{
    fillMatrix(*d_, points, out, ld, control);
}

void ElementFieldModel::fieldMatrix(const std::vector<Point3> &points, std::complex<float> *out, std::size_t ld,
                                    RunControl *control) const
{
    fillMatrix(*d_, points, out, ld, control);
}

std::vector<std::complex<double>> ElementFieldModel::focusWeights(const Point3 &focus) const
{
    std::vector<std::complex<double>> w(elementCount());
    for (std::size_t e = 0; e < w.size(); ++e) {
        const std::complex<double> h = field(e, focus);
        const double m = std::abs(h);
        w[e] = m > 0 ? std::conj(h) / m : std::complex<double>(1, 0);
    }
    return w;
}

void ElementFieldModel::steeredAmplitude(const std::vector<Point3> &points,
                                         const std::vector<std::complex<double>> &weights, double *out,
                                         RunControl *control) const
{
    const Data &d = *d_;
    std::vector<double> wRe(weights.size()), wIm(weights.size());
    for (std::size_t e = 0; e < weights.size(); ++e) {
        wRe[e] = weights[e].real();
        wIm[e] = weights[e].imag();
    }
    forEachPoint(points.size(), control, [&](std::size_t p) {
        double re, im;
        weightedSum(d, wRe.data(), wIm.data(), points[p].x, points[p].y, points[p].z, re, im);
        out[p] = std::hypot(re, im);
    });
}

} // namespace kcalc
