#include "scan/QualityScan.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include <omp.h>

#include "scan/Blas.h"

namespace kcalc::scan {

template <class T>
double steeringWeights(const std::complex<double> *hF, std::size_t elements, std::complex<T> *w)
{
    double sum = 0;
    for (std::size_t n = 0; n < elements; ++n) {
        const double magnitude = std::abs(hF[n]);
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

std::size_t defaultBlockColumns(std::size_t gridPoints, std::size_t bytesPerValue)
{
    // About 96 MiB of products per block: large enough that BLAS runs at full speed (the element
    // matrix is re-packed once per product), small enough to keep the memory of a scan bounded.
    const std::size_t budget = std::size_t(96) << 20;
    const std::size_t perColumn = std::max<std::size_t>(1, gridPoints * bytesPerValue);
    return std::clamp<std::size_t>(budget / perColumn, 8, 512);
}

namespace {

// |p|^2 of every point of one field column into `norms`; returns the largest. NaN never wins.
template <class T>
T columnNorms(const std::complex<T> *column, std::size_t n, T *norms)
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

template <class T>
T columnMaxNorm(const std::complex<T> *column, std::size_t n)
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
template <class T>
struct ColumnReducer {
    ColumnReducer(GridShape shape, bool side) : points(shape.size())
    {
        if (side) {
            norms.resize(points);
            finder = std::make_unique<MainLobeFinder>(shape);
        }
    }

    // Reduces the field column of one focus position. The main lobe is searched on |p|^2, which
    // orders the points exactly as |p| does.
    void reduce(const std::complex<T> *column, double focusAmplitude, const std::size_t *start, FocusQuality &out)
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
            out.gridMax = std::sqrt(static_cast<double>(columnMaxNorm(column, points)));
        }
        out.mainValue = mainMaximaValue(focusAmplitude, out.gridMax, roundingTolerance<T>());
    }

    std::size_t points;
    std::vector<T> norms;
    std::unique_ptr<MainLobeFinder> finder;
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

template <class T>
std::vector<FocusQuality> scanFocusQuality(const FieldMatrix<T> &hGrid, GridShape shape,
                                           const FieldMatrix<double> &hFocus,
                                           const std::vector<std::size_t> &start,
                                           const ScanSettings &settings, const ScanProgress &progress)
{
    const std::size_t P = hGrid.rows, N = hGrid.cols, M = hFocus.rows;
    if (P != shape.size() || P == 0)
        throw std::invalid_argument("scan: element-field matrix has " + std::to_string(P)
                                    + " rows for a grid of " + std::to_string(shape.size()) + " points");
    if (hFocus.cols != N || N == 0)
        throw std::invalid_argument("scan: focus fields have " + std::to_string(hFocus.cols)
                                    + " elements, grid fields " + std::to_string(N));
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

    const int p = blas::dim(P, "grid points");
    const int n = blas::dim(N, "elements");

    // Steering weights, column-major elements x positions, and |p(F)| of every position.
    std::vector<std::complex<T>> weights(N * M);
    std::vector<double> focusAmplitude(M);
#pragma omp parallel for schedule(static)
    for (std::ptrdiff_t m = 0; m < static_cast<std::ptrdiff_t>(M); ++m)
        focusAmplitude[m] = steeringWeights<T>(hFocus.row(m), N, weights.data() + m * N);

    std::size_t block = settings.blockColumns ? settings.blockColumns
                                              : defaultBlockColumns(P, sizeof(std::complex<T>));
    if (settings.threads == ScanSettings::Threads::PerThreadProducts) {
        // At least a few blocks per thread, so that every thread gets work on small scans.
        const std::size_t share = (M + 4 * omp_get_max_threads() - 1) / (4 * omp_get_max_threads());
        block = std::min(block, std::max<std::size_t>(share, 1));
    }
    block = std::min(block, M);

    std::atomic<std::size_t> done{0};
    std::atomic<bool> cancelled{false};
    ErrorSlot error;
    const std::size_t *startData = settings.sideLobes ? start.data() : nullptr;

    if (settings.threads == ScanSettings::Threads::PerThreadProducts) {
        // Each thread takes the next block of positions, multiplies it alone and reduces it while
        // the products are still warm; BLAS is single-threaded meanwhile.
        blas::ScopedThreadCount oneBlasThread(1);
        std::atomic<std::size_t> next{0};
        std::mutex progressMutex;
#pragma omp parallel
        {
            try {
                ColumnReducer<T> reducer(shape, settings.sideLobes);
                std::vector<std::complex<T>> products(P * block);
                for (;;) {
                    const std::size_t m0 = next.fetch_add(block);
                    if (m0 >= M || cancelled || error.failed())
                        break;
                    const std::size_t mb = std::min(block, M - m0);
                    blas::gemmTN(p, static_cast<int>(mb), n, hGrid.values.data(), n,
                                 weights.data() + m0 * N, n, products.data(), p);
                    for (std::size_t c = 0; c < mb; ++c)
                        reducer.reduce(products.data() + c * P, focusAmplitude[m0 + c],
                                       startData ? startData + m0 + c : nullptr, result[m0 + c]);
                    const std::size_t total = done += mb;
                    if (progress) {
                        std::lock_guard<std::mutex> lock(progressMutex);
                        if (!progress(total, M))
                            cancelled = true;
                    }
                }
            } catch (...) {
                error.capture();
            }
        }
    } else {
        std::vector<std::complex<T>> products(P * block);
        const int threads = omp_get_max_threads();
        std::vector<std::unique_ptr<ColumnReducer<T>>> reducers(threads);
        for (auto &r : reducers)
            r = std::make_unique<ColumnReducer<T>>(shape, settings.sideLobes);
        for (std::size_t m0 = 0; m0 < M && !cancelled; m0 += block) {
            const std::size_t mb = std::min(block, M - m0);
            blas::gemmTN(p, static_cast<int>(mb), n, hGrid.values.data(), n, weights.data() + m0 * N, n,
                         products.data(), p);
#pragma omp parallel for schedule(dynamic, 1)
            for (std::ptrdiff_t c = 0; c < static_cast<std::ptrdiff_t>(mb); ++c) {
                try {
                    reducers[omp_get_thread_num()]->reduce(products.data() + c * P, focusAmplitude[m0 + c],
                                                           startData ? startData + m0 + c : nullptr,
                                                           result[m0 + c]);
                } catch (...) {
                    error.capture();
                }
            }
            error.rethrow();
            done += mb;
            if (progress && !progress(done, M))
                cancelled = true;
        }
    }
    error.rethrow();
    if (cancelled)
        throw ScanCancelled();
    return result;
}

template std::vector<FocusQuality> scanFocusQuality<float>(const FieldMatrix<float> &, GridShape,
                                                           const FieldMatrix<double> &,
                                                           const std::vector<std::size_t> &,
                                                           const ScanSettings &, const ScanProgress &);
template std::vector<FocusQuality> scanFocusQuality<double>(const FieldMatrix<double> &, GridShape,
                                                            const FieldMatrix<double> &,
                                                            const std::vector<std::size_t> &,
                                                            const ScanSettings &, const ScanProgress &);

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
