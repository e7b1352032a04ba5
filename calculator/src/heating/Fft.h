#ifndef KCALC_HEATING_FFT_H
#define KCALC_HEATING_FFT_H

#include <complex>
#include <cstddef>

namespace kcalc {

// The one wrapper around FFTW3 (threads from OpenMP): a real-to-complex transform of an
// n0 x n1 x n2 row-major array (last index fastest) and its inverse, with both plans made once,
// when the object is built, and reused for every transform. Buffers are FFTW-aligned and owned here.
//   forward:  spectrum[(i0 * n1 + i1) * (n2 / 2 + 1) + i2] = sum_x real[x] exp(-2 pi i k.x / n)
//   inverse:  real[x] = sum_k spectrum[k] exp(+2 pi i k.x / n), unnormalised (n0 n1 n2 times the
//             inverse), and it overwrites the spectrum.
class RealFft3d
{
public:
    RealFft3d(long n0, long n1, long n2);
    ~RealFft3d();
    RealFft3d(const RealFft3d &) = delete;
    RealFft3d &operator=(const RealFft3d &) = delete;

    double *real() { return real_; }
    std::complex<double> *spectrum() { return spectrum_; }
    std::size_t realSize() const { return realSize_; }
    std::size_t spectrumSize() const { return spectrumSize_; }

    void forward();
    void inverse();

    // The smallest size >= n whose only prime factors are 2, 3, 5 and 7 (fast for FFTW).
    static long fastSize(long n);

private:
    std::size_t realSize_ = 0, spectrumSize_ = 0;
    double *real_ = nullptr;
    std::complex<double> *spectrum_ = nullptr;
    void *forwardPlan_ = nullptr, *inversePlan_ = nullptr;
};

} // namespace kcalc

#endif // KCALC_HEATING_FFT_H
