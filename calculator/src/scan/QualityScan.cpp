#include "scan/QualityScan.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include <omp.h>

#include "JobLimits.h"
#include "scan/Blas.h"

namespace kcalc::scan {

namespace {
// |z| as sqrt(re^2 + im^2): no overflow guard is needed for field values, and unlike std::abs
// (hypot) it vectorises; it differs from hypot by at most one rounding.
inline double modulus(const std::complex<double> &z)
{
    return std::sqrt(z.real() * z.real() + z.imag() * z.imag());
}
} // namespace

template <class T> double steeringWeights(const std::complex<double> *hF, std::size_t elements, std::complex<T> *w)
{
    double sum = 0;
    for (std::size_t n = 0; n < elements; ++n) {
        const double magnitude = modulus(hF[n]);
        sum += magnitude;
        if (magnitude > 0) {
            const std::complex<double> c = std::conj(hF[n]) / magnitude;
            w[n] = std::complex<T>(static_cast<T>(c.real()), static_cast<T>(c.imag()));
        } else {
            w[n] = std::complex<T>(1, 0);
        }
    }
    return sum;
}

template double steeringWeights<float>(const std::complex<double> *, std::size_t, std::complex<float> *);
template double steeringWeights<double>(const std::complex<double> *, std::size_t, std::complex<double> *);

namespace {

// |p|^2 of every point of one field column into `norms`; returns the largest. NaN never wins.
template <class T> T columnNorms(const std::complex<T> *column, std::size_t n, T *norms)
{
    const T *x = reinterpret_cast<const T *>(column);
    T m = 0;
#pragma omp simd reduction(max : m)
    for (std::size_t p = 0; p < n; ++p) {
        const T a = x[2 * p] * x[2 * p] + x[2 * p + 1] * x[2 * p + 1];
        norms[p] = a;
        m = a > m ? a : m;
    }
    return m;
}

template <class T> T columnMaxNorm(const std::complex<T> *column, std::size_t n)
{
    const T *x = reinterpret_cast<const T *>(column);
    T m = 0;
#pragma omp simd reduction(max : m)
    for (std::size_t p = 0; p < n; ++p) {
        const T a = x[2 * p] * x[2 * p] + x[2 * p + 1] * x[2 * p + 1];
        m = a > m ? a : m;
    }
    return m;
}

// Per-thread scratch of the column reduction.
template <class T> struct ColumnReducer {
    ColumnReducer(GridShape shape, bool side) : points(shape.size())
    {
        if (side) {
            norms.resize(points);
            finder = std::make_unique<MainLobeFinder>(shape);
        }
    }

    // Reduces the field column of one focus position. The main lobe is searched on |p|^2, which
    // orders the points exactly as |p| does.
    // `rows` < points only in bound-pruned main-maxima scans: the column then holds the grid points
    // that can exceed |p(F)| (see scanFocusQuality).
    void reduce(const std::complex<T> *column, std::size_t rows, double focusAmplitude, const std::size_t *start,
                FocusQuality &out)
    {
        out.focusAmplitude = focusAmplitude;
        if (finder) {
            out.gridMax = std::sqrt(static_cast<double>(columnNorms(column, points, norms.data())));
            const LobeSearch lobe = finder->find(norms.data(), *start);
            out.peakPoint = lobe.peak;
            out.hasSide = lobe.hasSide;
            out.sidePoint = lobe.sidePoint;
            out.sideValue = lobe.hasSide ? sideMaximaValue(std::sqrt(lobe.sideValue), focusAmplitude) : 0.0;
        } else {
            out.gridMax = rows ? std::sqrt(static_cast<double>(columnMaxNorm(column, rows))) : 0.0;
        }
        out.mainValue = mainMaximaValue(focusAmplitude, out.gridMax, roundingTolerance<T>());
    }

    std::size_t points;
    std::vector<T> norms;
    std::unique_ptr<MainLobeFinder> finder;
};

// Storage for a block of products. Left uninitialised: BLAS overwrites it (beta = 0), and zeroing
// a buffer of this size per thread costs a noticeable part of a small scan.
template <class T> class ProductBuffer
{
public:
    explicit ProductBuffer(std::size_t n) : m_values(new T[2 * n]) {}
    std::complex<T> *data() { return reinterpret_cast<std::complex<T> *>(m_values.get()); }

private:
    std::unique_ptr<T[]> m_values;
};

// Keeps the first exception thrown inside a parallel region, to rethrow after it.
class ErrorSlot
{
public:
    void capture()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_error)
            m_error = std::current_exception();
        m_failed = true;
    }
    bool failed() const { return m_failed; }
    void rethrow() const
    {
        if (m_error)
            std::rethrow_exception(m_error);
    }

private:
    std::mutex m_mutex;
    std::exception_ptr m_error;
    std::atomic<bool> m_failed{false};
};

} // namespace

template <class S, class T>
std::vector<FocusQuality> scanFocusQuality(const FieldMatrix<S> &hGrid, GridShape shape,
                                           const FieldMatrix<double> &hFocus, const std::vector<std::size_t> &start,
                                           const ScanSettings &settings, const ScanProgress &progress)
{
    const std::size_t P = hGrid.rows, N = hGrid.cols, M = hFocus.rows;
    if (P != shape.size() || P == 0)
        throw std::invalid_argument("scan: element-field matrix has " + std::to_string(P) + " rows for a grid of "
                                    + std::to_string(shape.size()) + " points");
    if (hFocus.cols != N || N == 0)
        throw std::invalid_argument("scan: focus fields have " + std::to_string(hFocus.cols) + " elements, grid fields "
                                    + std::to_string(N));
    if (settings.sideLobes) {
        if (start.size() != M)
            throw std::invalid_argument("scan: one start point per focus position is needed");
        for (std::size_t s : start)
            if (s >= P)
                throw std::invalid_argument("scan: start point outside the grid");
    }
    std::vector<FocusQuality> result(M);
    if (M == 0)
        return result;

    const int n = blas::dim(N, "elements");
    blas::dim(P, "grid points");
    const bool prune = !settings.sideLobes && settings.pruneByBound;
    const double tolerance = roundingTolerance<T>();

    // Processing order of the focus positions: as given, or by decreasing |p(F)| when pruning.
    std::vector<double> focusAmplitude(M);
#pragma omp parallel for schedule(static)
    for (std::ptrdiff_t m = 0; m < static_cast<std::ptrdiff_t>(M); ++m) {
        double sum = 0;
        for (std::size_t k = 0; k < N; ++k)
            sum += modulus(hFocus.at(m, k));
        focusAmplitude[m] = sum;
    }
    std::vector<std::size_t> order(M);
    for (std::size_t m = 0; m < M; ++m)
        order[m] = m;
    if (prune)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return focusAmplitude[a] > focusAmplitude[b]; });

    // Steering weights, column-major elements x positions in processing order.
    std::vector<std::complex<T>> weights(N * M);
#pragma omp parallel for schedule(static)
    for (std::ptrdiff_t j = 0; j < static_cast<std::ptrdiff_t>(M); ++j)
        steeringWeights<T>(hFocus.row(order[j]), N, weights.data() + j * N);

    // Bound pruning (main maxima only). |p(x)| = |sum_n w_n h_n(x)| <= U(x) = sum_n |h_n(x)| for any
    // unit weights, and |p(F)| = U(F). A grid point with U(x) <= |p(F)| can therefore never be
    // stronger than the focus and cannot change q: only the points with U(x) > |p(F)| need their
    // field. The grid rows are sorted by decreasing U, so those points are a leading block of rows,
    // and the positions by decreasing |p(F)|, so consecutive positions need similar blocks. The
    // threshold is lowered by half the rounding tolerance, so that no point whose computed |p|
    // exceeds |p(F)| by more than the tolerance is left out: q is the same as without pruning.
    // The products use hGrid in precision T: hGrid itself when it is stored so, else a copy
    // converted once (sorted by U at the same time when pruning). U is taken from the converted
    // values, the ones the products see.
    std::vector<double> bound; // U of the rows as multiplied
    FieldMatrix<T> own;        // hGrid converted to T and/or sorted by U
    const FieldMatrix<T> *h = nullptr;
    if constexpr (std::is_same_v<S, T>)
        h = &hGrid;
    const auto converted = [&](std::size_t q, std::size_t k) {
        const std::complex<S> &v = hGrid.at(q, k);
        return std::complex<T>(static_cast<T>(v.real()), static_cast<T>(v.imag()));
    };
    if (!prune && !h) {
        own = FieldMatrix<T>(P, N);
#pragma omp parallel for schedule(static)
        for (std::ptrdiff_t q = 0; q < static_cast<std::ptrdiff_t>(P); ++q)
            for (std::size_t k = 0; k < N; ++k)
                own.at(q, k) = converted(q, k);
        h = &own;
    }
    if (prune) {
        std::vector<double> u(P);
#pragma omp parallel for schedule(static)
        for (std::ptrdiff_t q = 0; q < static_cast<std::ptrdiff_t>(P); ++q) {
            double sum = 0;
            for (std::size_t k = 0; k < N; ++k)
                sum += modulus(std::complex<double>(converted(q, k)));
            u[q] = sum;
        }
        std::vector<std::size_t> rows(P);
        for (std::size_t q = 0; q < P; ++q)
            rows[q] = q;
        std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) { return u[a] > u[b]; });
        own = FieldMatrix<T>(P, N);
        bound.resize(P);
#pragma omp parallel for schedule(static)
        for (std::ptrdiff_t q = 0; q < static_cast<std::ptrdiff_t>(P); ++q) {
            for (std::size_t k = 0; k < N; ++k)
                own.at(q, k) = converted(rows[q], k);
            bound[q] = u[rows[q]];
        }
        h = &own;
    }
    // Rows a block of positions needs: all, or those whose bound exceeds the block's smallest |p(F)|.
    const auto rowsNeeded = [&](std::size_t j0, std::size_t mb) -> std::size_t {
        if (!prune)
            return P;
        const double threshold = focusAmplitude[order[j0 + mb - 1]] * (1 + tolerance / 2);
        return static_cast<std::size_t>(std::upper_bound(bound.begin(), bound.end(), threshold, std::greater<double>())
                                        - bound.begin());
    };

    std::size_t block =
        settings.blockColumns ? settings.blockColumns : kjobs::scanBlockColumns(P, sizeof(std::complex<T>));
    if (!settings.blockColumns) {
        // At least 16 blocks, so that every thread gets work on small scans. Not tied to the thread
        // count: a column's product depends on the shape of its block, and a scan must give the
        // same bits on any machine and over any number of processes.
        block = std::min(block, std::max<std::size_t>((M + 15) / 16, 1));
    }
    block = std::min(block, M);
    if (settings.shareCount < 1 || settings.shareIndex < 0 || settings.shareIndex >= settings.shareCount)
        throw std::invalid_argument("scan: share " + std::to_string(settings.shareIndex) + " of "
                                    + std::to_string(settings.shareCount));
    // This process's blocks: their first positions, in processing order.
    std::vector<std::size_t> starts;
    for (std::size_t b = static_cast<std::size_t>(settings.shareIndex); b * block < M;
         b += static_cast<std::size_t>(settings.shareCount))
        starts.push_back(b * block);
    const std::size_t mine = [&] {
        std::size_t n = 0;
        for (std::size_t j0 : starts)
            n += std::min(block, M - j0);
        return n;
    }();

    // Progress counts positions weighted by the rows their block multiplies (pruned blocks differ
    // a lot), reported as the equivalent number of positions of this process's share.
    double totalWork = 0;
    for (std::size_t j0 : starts) {
        const std::size_t mb = std::min(block, M - j0);
        totalWork += static_cast<double>(std::max<std::size_t>(rowsNeeded(j0, mb), 1)) * static_cast<double>(mb);
    }
    double doneWork = 0;
    std::atomic<bool> cancelled{false};
    ErrorSlot error;
    std::mutex progressMutex;
    const auto report = [&](std::size_t j0, std::size_t mb) {
        std::lock_guard<std::mutex> lock(progressMutex);
        doneWork += static_cast<double>(std::max<std::size_t>(rowsNeeded(j0, mb), 1)) * static_cast<double>(mb);
        const std::size_t positions =
            doneWork >= totalWork
                ? mine
                : std::min(mine - 1, static_cast<std::size_t>(static_cast<double>(mine) * doneWork / totalWork));
        if (progress && !progress(positions, mine))
            cancelled = true;
    };
    // Reduces column c of a block of products (positions j0 + c of the processing order).
    const auto reduceColumn = [&](const std::complex<T> *products, std::size_t rows, std::size_t j0, std::size_t c,
                                  ColumnReducer<T> &reducer) {
        const std::size_t m = order[j0 + c];
        reducer.reduce(products + c * rows, rows, focusAmplitude[m], settings.sideLobes ? start.data() + m : nullptr,
                       result[m]);
    };
    const auto multiply = [&](std::size_t j0, std::size_t mb, std::complex<T> *products) {
        const std::size_t rows = rowsNeeded(j0, mb);
        if (rows > 0)
            blas::gemmTN(static_cast<int>(rows), static_cast<int>(mb), n, h->values.data(), n, weights.data() + j0 * N,
                         n, products, static_cast<int>(rows));
        return rows;
    };

    if (settings.threads == ScanSettings::Threads::PerThreadProducts) {
        // Each thread takes the next block of positions, multiplies it alone and reduces it while
        // the products are still warm; BLAS is single-threaded meanwhile.
        blas::ScopedThreadCount oneBlasThread(1);
        std::atomic<std::size_t> next{0};
#pragma omp parallel
        {
            try {
                ColumnReducer<T> reducer(shape, settings.sideLobes);
                ProductBuffer<T> products(P * block);
                for (;;) {
                    const std::size_t k = next.fetch_add(1);
                    if (k >= starts.size() || cancelled || error.failed())
                        break;
                    const std::size_t j0 = starts[k];
                    const std::size_t mb = std::min(block, M - j0);
                    const std::size_t rows = multiply(j0, mb, products.data());
                    for (std::size_t c = 0; c < mb; ++c)
                        reduceColumn(products.data(), rows, j0, c, reducer);
                    report(j0, mb);
                }
            } catch (...) {
                error.capture();
            }
        }
    } else {
        ProductBuffer<T> products(P * block);
        std::vector<std::unique_ptr<ColumnReducer<T>>> reducers(omp_get_max_threads());
        for (auto &r : reducers)
            r = std::make_unique<ColumnReducer<T>>(shape, settings.sideLobes);
        for (std::size_t k = 0; k < starts.size() && !cancelled; ++k) {
            const std::size_t j0 = starts[k];
            const std::size_t mb = std::min(block, M - j0);
            const std::size_t rows = multiply(j0, mb, products.data());
#pragma omp parallel for schedule(dynamic, 1)
            for (std::ptrdiff_t c = 0; c < static_cast<std::ptrdiff_t>(mb); ++c) {
                try {
                    reduceColumn(products.data(), rows, j0, static_cast<std::size_t>(c),
                                 *reducers[omp_get_thread_num()]);
                } catch (...) {
                    error.capture();
                }
            }
            error.rethrow();
            report(j0, mb);
        }
    }
    error.rethrow();
    if (cancelled)
        throw ScanCancelled();
    return result;
}

#define KCALC_SCAN_INSTANTIATE(S, T)                                                                                   \
    template std::vector<FocusQuality> scanFocusQuality<S, T>(                                                         \
        const FieldMatrix<S> &, GridShape, const FieldMatrix<double> &, const std::vector<std::size_t> &,              \
        const ScanSettings &, const ScanProgress &);
KCALC_SCAN_INSTANTIATE(float, float)
KCALC_SCAN_INSTANTIATE(double, double)
KCALC_SCAN_INSTANTIATE(double, float)
#undef KCALC_SCAN_INSTANTIATE

template <class T>
std::vector<double> focusedAmplitude(const FieldMatrix<T> &hGrid, const std::complex<double> *hFocusRow)
{
    const std::size_t P = hGrid.rows, N = hGrid.cols;
    std::vector<std::complex<double>> w(N);
    steeringWeights<double>(hFocusRow, N, w.data());
    std::vector<double> amplitude(P);
#pragma omp parallel for schedule(static)
    for (std::ptrdiff_t q = 0; q < static_cast<std::ptrdiff_t>(P); ++q) {
        const std::complex<T> *h = hGrid.row(q);
        double re = 0, im = 0;
        for (std::size_t k = 0; k < N; ++k) {
            const double hr = h[k].real(), hi = h[k].imag();
            re += w[k].real() * hr - w[k].imag() * hi;
            im += w[k].real() * hi + w[k].imag() * hr;
        }
        amplitude[q] = std::hypot(re, im);
    }
    return amplitude;
}

template std::vector<double> focusedAmplitude<float>(const FieldMatrix<float> &, const std::complex<double> *);
template std::vector<double> focusedAmplitude<double>(const FieldMatrix<double> &, const std::complex<double> *);

} // namespace kcalc::scan
