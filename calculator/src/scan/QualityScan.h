#ifndef KCALC_SCAN_QUALITY_SCAN_H
#define KCALC_SCAN_QUALITY_SCAN_H

// The quality scan: for every focus position F of the focus-shift region, the array is steered to
// F by phase conjugation and its field is evaluated over the whole field region; each field is
// reduced at once to the quality values of F, so the fields of all positions are never stored.
//
// Steering (as in field jobs): w_n = conj(h_n(F)) / |h_n(F)| (equal amplitudes), so that
//   p(x) = sum_n w_n h_n(x)   and   |p(F)| = sum_n |h_n(F)|  exactly,
// with h_n the field of element n normalised to the pressure on its surface; |p| is therefore the
// pressure amplitude normalised to p0 = rho c v.
//
// Quality values of one focus position F, with |p| the normalised amplitude on the field-region grid:
//  - main-maxima value  q = |p(F)| / max(|p(F)|, max over the grid of |p|):
//    1 when the focus is the strongest point of the field, less when another point is stronger.
//    |p(F)| is evaluated at F itself, not at the nearest grid point.
//  - side-maxima value  s = (largest |p| on the grid outside the main lobe) / |p(F)|.
//    The main lobe is found on the grid: start at the grid point nearest F, climb to the local
//    maximum (steepest ascent over the 8 neighbours), then take every point reachable from that
//    peak by steps to 8-neighbours whose |p| never increases. s = 0 when every grid point
//    belongs to the main lobe.
//
// Computation: the fields of a block of focus positions are one complex matrix product
//   P (grid points x positions) = Hgrid (grid points x elements) * W (elements x positions),
// done by BLAS (cgemm in single precision, zgemm in double); each column of P is reduced to its
// maximum (and, for side maxima, searched for its main lobe) right after its block is multiplied.
// Main-maxima scans multiply only the grid points whose field can exceed |p(F)| at all.

#include <complex>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <vector>

#include "scan/MainLobe.h"

namespace kcalc::scan {

// Complex element fields, row-major: rows are points, columns are elements,
// at(p, n) = h_n(point p). This is the layout ElementFieldModel::fieldMatrix fills (ld = cols).
template <class T> struct FieldMatrix {
    std::size_t rows = 0, cols = 0;
    std::vector<std::complex<T>> values;

    FieldMatrix() = default;
    FieldMatrix(std::size_t r, std::size_t c) : rows(r), cols(c), values(r * c) {}
    std::complex<T> *row(std::size_t p) { return values.data() + p * cols; }
    const std::complex<T> *row(std::size_t p) const { return values.data() + p * cols; }
    std::complex<T> &at(std::size_t p, std::size_t n) { return values[p * cols + n]; }
    const std::complex<T> &at(std::size_t p, std::size_t n) const { return values[p * cols + n]; }
};

// The quality values of one focus position (see the definitions above).
struct FocusQuality {
    double focusAmplitude = 0; // |p(F)| = sum_n |h_n(F)|
    // max over the grid of |p|; in bound-pruned main-maxima scans only over the points that can
    // exceed |p(F)| (0 when there are none), which gives the same q.
    double gridMax = 0;
    double mainValue = 0; // q
    // Side-maxima scans only:
    double sideValue = 0;      // s
    bool hasSide = false;      // false: the whole grid is main lobe (s = 0)
    std::size_t peakPoint = 0; // grid index of the main-lobe peak
    std::size_t sidePoint = 0; // grid index of the largest side maximum (when hasSide)
};

// q from |p(F)| and the grid maximum. A field that is zero everywhere has no focus: q = 0.
// |p(F)| is the exact sum of |h_n(F)|, the grid maximum the rounded result of a long sum; where
// the focus lies on a grid point the two agree only to the precision of the sum. A grid maximum
// within `tolerance` (relative) of |p(F)| therefore counts as equal to it: q is then exactly 1, so
// every focus position that is the strongest point of its field gets the same value, and ties
// between such positions are resolved by position, not by rounding noise.
inline double mainMaximaValue(double focusAmplitude, double gridMax, double tolerance = 0)
{
    if (!(focusAmplitude > 0))
        return 0.0;
    if (gridMax <= focusAmplitude * (1 + tolerance))
        return 1.0;
    return focusAmplitude / gridMax;
}

// The tolerance of mainMaximaValue for fields summed in precision T: a few times the relative
// rounding error of a sum of a few hundred products.
template <class T> constexpr double roundingTolerance()
{
    return sizeof(T) == sizeof(float) ? 1e-5 : 1e-12;
}

// s from the largest side value and |p(F)|. Zero when there is no side maximum or no focus field.
inline double sideMaximaValue(double sideAmplitude, double focusAmplitude)
{
    return focusAmplitude > 0 ? sideAmplitude / focusAmplitude : 0.0;
}

// Steering weights of one focus position: w[n] = conj(hF[n]) / |hF[n]|; returns |p(F)| = sum |hF[n]|.
// An element whose field at F is exactly zero contributes nothing there; it keeps the weight 1.
template <class T> double steeringWeights(const std::complex<double> *hF, std::size_t elements, std::complex<T> *w);

struct ScanSettings {
    // Also search each field's main lobe and side maxima (side-maxima job).
    bool sideLobes = false;
    // Focus positions per matrix product; 0 chooses from the grid size (bounded memory,
    // kjobs::scanBlockColumns).
    std::size_t blockColumns = 0;
    // How the two levels of parallelism share the cores:
    //  PerThreadProducts: every OpenMP thread multiplies its own block of focus positions with a
    //    single-threaded BLAS call and reduces it at once (no hand-over between thread pools);
    //  SharedProducts: one block at a time, multiplied by BLAS's own threads, then reduced by
    //    OpenMP threads.
    enum class Threads { PerThreadProducts, SharedProducts } threads = Threads::PerThreadProducts;
    // Main-maxima scans: compute the field only where it can exceed |p(F)| (exact; see the .cpp).
    bool pruneByBound = true;
    // A share of the scan for one of several processes (MPI ranks): only the blocks b of positions
    // (in processing order) with b % shareCount == shareIndex are computed; the other positions keep
    // a default FocusQuality. The blocks are the same whatever the share and the thread count, and
    // each is one BLAS product, so every position gets the same bits as in a whole scan.
    int shareIndex = 0;
    int shareCount = 1;
};

// Progress report: positions done, positions in all. Called from the scanning threads, one call at a
// time, after each block; return false to cancel.
using ScanProgress = std::function<bool(std::size_t done, std::size_t total)>;

struct ScanCancelled : std::runtime_error {
    ScanCancelled() : std::runtime_error("scan cancelled") {}
};

// Runs the scan.
//  hGrid:  element fields on the field-region grid (grid points x elements), grid order of `shape`,
//          stored in precision S; the products are computed in precision T (float: cgemm,
//          double: zgemm), T = S unless given (scanFocusQuality<double, float>(...)).
//  hFocus: element fields at the focus positions (positions x elements), in double precision.
//  start:  for side-maxima scans, the grid index nearest each focus position (may be empty otherwise).
// Returns one FocusQuality per focus position, in the order of hFocus. Throws ScanCancelled when
// the progress callback asks to stop, std::invalid_argument on inconsistent sizes.
template <class S, class T = S>
std::vector<FocusQuality> scanFocusQuality(const FieldMatrix<S> &hGrid, GridShape shape,
                                           const FieldMatrix<double> &hFocus, const std::vector<std::size_t> &start,
                                           const ScanSettings &settings, const ScanProgress &progress = {});

// |p(x)| on every grid point when the array is steered to one focus position (weights from the
// element fields hFocusRow at that position); accumulated in double whatever the precision of hGrid.
template <class T>
std::vector<double> focusedAmplitude(const FieldMatrix<T> &hGrid, const std::complex<double> *hFocusRow);

} // namespace kcalc::scan

#endif // KCALC_SCAN_QUALITY_SCAN_H
