#include "field/ElementFieldModel.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "field/PistonKernel.h"
#include "field/RunControl.h"
#include "params/JobError.h"

namespace kcalc {

// Element frames as structure of arrays (centres c, unit normals n), padded to a multiple of
// kLanes by repeating the last element (padding lanes get zero weight and are never output), the
// piston radius a (m), the wave number k (1/m) and the absorption alpha (Np/m), with the wave number
// the node count is chosen for, kNodes = |k + i alpha|, and k / (k + i alpha) of the prefactor.
struct ElementFieldModel::Data {
    std::size_t count = 0;                      // real elements
    std::vector<double> cx, cy, cz, nx, ny, nz; // padded
    double a = 0, k = 0, alpha = 0;
    double kNodes = 0, kOverKRe = 1, kOverKIm = 0;
    const double *nodeTable = nullptr; // pistonNodeCosines(4): all node tables in one block
};

namespace {

using Data = ElementFieldModel::Data;

// Elements evaluated side by side in the vector kernel (one SIMD register of doubles with AVX2).
constexpr std::size_t kLanes = 4;

// A point counts as behind an element's plane when it lies more than this below it (m): points in
// the plane itself keep the field of the front side however rounding places them.
constexpr double kBehindPlane = -1e-12;

// Points are processed in blocks: a block is the unit of OpenMP scheduling, progress and cancellation.
constexpr long kBlock = 32;

KCALC_KERNEL const double *nodesFor(const Data &d, int N)
{
    return d.nodeTable + pistonNodeTableOffset(N);
}

// Cylinder coordinates of p about element e's axis: r (from the axis) and z (height above the disc
// plane, negative behind it).
KCALC_KERNEL void cylinder(const Data &d, std::size_t e, double px, double py, double pz, double &r, double &z)
{
    const double vx = px - d.cx[e], vy = py - d.cy[e], vz = pz - d.cz[e];
    z = vx * d.nx[e] + vy * d.ny[e] + vz * d.nz[e];
    const double wx = vx - z * d.nx[e], wy = vy - z * d.ny[e], wz = vz - z * d.nz[e];
    r = std::sqrt(wx * wx + wy * wy + wz * wz);
}

// h_e(p) of one element as (re, im); zero behind the element's plane.
KCALC_KERNEL void elementField(const Data &d, std::size_t e, double px, double py, double pz, double &re, double &im)
{
    double r, z;
    cylinder(d, e, px, py, pz, r, z);
    if (z < kBehindPlane) {
        re = im = 0;
        return;
    }
    z = std::max(z, 0.0);
    const int N = pistonNodeCount(r, z, d.a, d.kNodes);
    if (d.alpha > 0)
        pistonFieldLossy(r, z, d.a, d.k, d.alpha, N, nodesFor(d, N), re, im);
    else
        pistonFieldLossless(r, z, d.a, d.k, N, nodesFor(d, N), re, im);
}

// h_e(p) of the kLanes elements e0 .. e0 + kLanes - 1, the lanes side by side: the same midpoint
// rule as pistonFieldSum (field/PistonKernel.h) with the largest node count of the lanes, so that
// every node step is one vector operation and consecutive steps are independent of each other. A
// lane behind its element's plane is evaluated at z = 0 and then set to zero. Lossy: with absorption.
template <bool Lossy>
KCALC_KERNEL void laneField(const Data &d, std::size_t e0, double px, double py, double pz, double *re, double *im)
{
    double r[kLanes], z[kLanes], front[kLanes];
    for (std::size_t l = 0; l < kLanes; ++l) {
        cylinder(d, e0 + l, px, py, pz, r[l], z[l]);
        front[l] = z[l] < kBehindPlane ? 0 : 1;
        z[l] = std::fabs(z[l]);
    }
    // The swing part of the node rule for all lanes at once; lanes close to a rim take the full rule.
    double most = 0;
    bool nearRim = false;
    for (std::size_t l = 0; l < kLanes; ++l) {
        bool near;
        most = std::max(most, pistonSwingDemand(r[l], z[l], d.a, d.kNodes, near));
        nearRim |= near;
    }
    if (nearRim)
        for (std::size_t l = 0; l < kLanes; ++l)
            most = std::max(most, pistonNodeDemand(r[l], z[l], d.a, d.kNodes));
    const int N = pistonNodesFor(most);
    const double *cosines = nodesFor(d, N);
    const double a = d.a, halfK = 0.5 * d.k;
    double r2a2[kLanes], twoAr[kLanes], z2[kLanes], sumRe[kLanes], sumIm[kLanes];
    for (std::size_t l = 0; l < kLanes; ++l) {
        r2a2[l] = r[l] * r[l] + a * a;
        twoAr[l] = 2 * a * r[l];
        z2[l] = z[l] * z[l];
        sumRe[l] = sumIm[l] = 0;
    }
    for (int j = 0; j < N; ++j) {
        const double c = cosines[j];
        for (std::size_t l = 0; l < kLanes; ++l)
            pistonNode<Lossy>(c, r[l], a, r2a2[l], twoAr[l], z[l], z2[l], halfK, d.alpha, sumRe[l], sumIm[l]);
    }
    for (std::size_t l = 0; l < kLanes; ++l)
        pistonFinish<Lossy>(sumRe[l], sumIm[l], z[l], d.k, d.alpha, d.kOverKRe, d.kOverKIm, front[l] * a / N, re[l],
                            im[l]);
}

// sum_e w_e h_e(p) over all (padded) elements; w has the padded length, zero on padding lanes.
// Compiled for AVX2/FMA as well as the baseline; the loader picks the best.
__attribute__((target_clones("arch=x86-64-v3", "default"))) void weightedSum(const Data &d, const double *wRe,
                                                                             const double *wIm, double px, double py,
                                                                             double pz, double &outRe, double &outIm)
{
    double accRe = 0, accIm = 0;
    const std::size_t padded = d.cx.size();
    const bool lossy = d.alpha > 0;
    for (std::size_t e0 = 0; e0 < padded; e0 += kLanes) {
        double re[kLanes], im[kLanes];
        if (lossy)
            laneField<true>(d, e0, px, py, pz, re, im);
        else
            laneField<false>(d, e0, px, py, pz, re, im);
        for (std::size_t l = 0; l < kLanes; ++l) {
            accRe += wRe[e0 + l] * re[l] - wIm[e0 + l] * im[l];
            accIm += wRe[e0 + l] * im[l] + wIm[e0 + l] * re[l];
        }
    }
    outRe = accRe;
    outIm = accIm;
}

// h_e(p) for every (padded) element e into re[e], im[e].
__attribute__((target_clones("arch=x86-64-v3", "default"))) void fieldRow(const Data &d, double px, double py,
                                                                          double pz, double *re, double *im)
{
    const std::size_t padded = d.cx.size();
    const bool lossy = d.alpha > 0;
    for (std::size_t e0 = 0; e0 < padded; e0 += kLanes) {
        if (lossy)
            laneField<true>(d, e0, px, py, pz, re + e0, im + e0);
        else
            laneField<false>(d, e0, px, py, pz, re + e0, im + e0);
    }
}

// Runs body(p) for every point p in parallel blocks, reporting progress and honouring cancellation.
template <typename Body> void forEachPoint(std::size_t pointCount, RunControl *control, Body body)
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
    const std::size_t count = d.count;
    forEachPoint(points.size(), control, [&](std::size_t p) {
        thread_local std::vector<double> re, im;
        re.resize(d.cx.size());
        im.resize(d.cx.size());
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
    const std::size_t padded = (count + kLanes - 1) / kLanes * kLanes;
    d->count = count;
    for (auto *v : {&d->cx, &d->cy, &d->cz, &d->nx, &d->ny, &d->nz})
        v->resize(padded);
    for (std::size_t e = 0; e < padded; ++e) {
        const ElementFrame f = elementFrame(array.elements[std::min(e, count - 1)], array.curvatureRadius);
        d->cx[e] = f.centre.x;
        d->cy[e] = f.centre.y;
        d->cz[e] = f.centre.z;
        d->nx[e] = f.normal.x;
        d->ny[e] = f.normal.y;
        d->nz[e] = f.normal.z;
    }
    d->a = array.elementRadius;
    d->k = 2 * M_PI * array.frequency / medium.soundSpeed;
    const double ka = d->k * d->a;
    if (!(ka <= kMaxPistonKa))
        throw JobError(msg::elementTooLarge(resultNumber(ka), resultNumber(kMaxPistonKa), resultNumber(array.frequency),
                                            resultNumber(array.elementRadius), resultNumber(medium.soundSpeed)));
    // dB/(cm MHz) -> Np/m at the operating frequency: x (f / 1 MHz) x 100 cm/m / (20 log10 e dB/Np).
    d->alpha = medium.absorption_dB_cm_MHz * (array.frequency / 1e6) * 100.0 / 8.685889638065037;
    d->kNodes = pistonNodeWaveNumber(d->k, d->alpha);
    const std::complex<double> kOverK = d->k / std::complex<double>(d->k, d->alpha);
    d->kOverKRe = kOverK.real();
    d->kOverKIm = kOverK.imag();
    d->nodeTable = pistonNodeCosines(4);
    d_ = std::move(d);
}

std::size_t ElementFieldModel::elementCount() const
{
    return d_->count;
}
double ElementFieldModel::waveNumber() const
{
    return d_->k;
}
double ElementFieldModel::absorptionNpPerM() const
{
    return d_->alpha;
}
double ElementFieldModel::elementRadius() const
{
    return d_->a;
}

ElementFrame ElementFieldModel::frame(std::size_t e) const
{
    const Data &d = *d_;
    return ElementFrame{Point3{d.cx[e], d.cy[e], d.cz[e]}, Point3{d.nx[e], d.ny[e], d.nz[e]}};
}

bool ElementFieldModel::behind(std::size_t element, const Point3 &x) const
{
    double r, z;
    cylinder(*d_, element, x.x, x.y, x.z, r, z);
    return z < kBehindPlane;
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
    if (weights.size() != d.count)
        throw std::invalid_argument("steeredAmplitude: one weight per element expected");
    std::vector<double> wRe(d.cx.size(), 0.0), wIm(d.cx.size(), 0.0); // zero on the padding lanes
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
