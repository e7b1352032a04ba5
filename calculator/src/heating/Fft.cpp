#include "heating/Fft.h"

#include <mutex>
#include <new>

#include <fftw3.h>
#include <omp.h>

namespace kcalc {

namespace {
// FFTW's planner is not thread-safe and its thread support is set up once per process.
std::mutex &plannerMutex()
{
    static std::mutex m;
    return m;
}
} // namespace

RealFft3d::RealFft3d(long n0, long n1, long n2)
{
    realSize_ = static_cast<std::size_t>(n0) * static_cast<std::size_t>(n1) * static_cast<std::size_t>(n2);
    spectrumSize_ = static_cast<std::size_t>(n0) * static_cast<std::size_t>(n1) * static_cast<std::size_t>(n2 / 2 + 1);
    real_ = static_cast<double *>(fftw_malloc(realSize_ * sizeof(double)));
    spectrum_ = static_cast<std::complex<double> *>(fftw_malloc(spectrumSize_ * sizeof(fftw_complex)));
    if (!real_ || !spectrum_) {
        fftw_free(real_);
        fftw_free(spectrum_);
        throw std::bad_alloc();
    }
    std::lock_guard<std::mutex> lock(plannerMutex());
    static const bool threads = fftw_init_threads() != 0;
    // Threads pay off only on large transforms (below about 64^3 points one thread is faster).
    if (threads)
        fftw_plan_with_nthreads(realSize_ >= (std::size_t(1) << 18) ? omp_get_max_threads() : 1);
    // FFTW_ESTIMATE leaves the buffers alone while planning and takes no time to plan.
    auto *c = reinterpret_cast<fftw_complex *>(spectrum_);
    forwardPlan_ = fftw_plan_dft_r2c_3d(int(n0), int(n1), int(n2), real_, c, FFTW_ESTIMATE);
    inversePlan_ = fftw_plan_dft_c2r_3d(int(n0), int(n1), int(n2), c, real_, FFTW_ESTIMATE);
}

RealFft3d::~RealFft3d()
{
    {
        std::lock_guard<std::mutex> lock(plannerMutex());
        if (forwardPlan_)
            fftw_destroy_plan(static_cast<fftw_plan>(forwardPlan_));
        if (inversePlan_)
            fftw_destroy_plan(static_cast<fftw_plan>(inversePlan_));
    }
    fftw_free(real_);
    fftw_free(spectrum_);
}

void RealFft3d::forward()
{
    fftw_execute(static_cast<fftw_plan>(forwardPlan_));
}

void RealFft3d::inverse()
{
    fftw_execute(static_cast<fftw_plan>(inversePlan_));
}

long RealFft3d::fastSize(long n)
{
    for (long m = n < 1 ? 1 : n;; ++m) {
        long r = m;
        for (long p : {2L, 3L, 5L, 7L})
            while (r % p == 0)
                r /= p;
        if (r == 1)
            return m;
    }
}

} // namespace kcalc
