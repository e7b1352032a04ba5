#ifndef KCALC_SCAN_BLAS_H
#define KCALC_SCAN_BLAS_H

// The one place the calculator talks to BLAS (OpenBLAS). Everything else calls these overloads.

#include <complex>
#include <stdexcept>
#include <string>

#include <cblas.h>

namespace kcalc::blas {

// C = A^T * B, all column-major: A is k x m (so A^T is m x k; a row-major m x k matrix of the
// caller is exactly this), B is k x n, C is m x n. Plain transpose, no conjugation.
inline void gemmTN(int m, int n, int k, const std::complex<float> *a, int lda,
                   const std::complex<float> *b, int ldb, std::complex<float> *c, int ldc)
{
    const std::complex<float> one(1.0f, 0.0f), zero(0.0f, 0.0f);
    cblas_cgemm(CblasColMajor, CblasTrans, CblasNoTrans, m, n, k, &one, a, lda, b, ldb, &zero, c, ldc);
}

inline void gemmTN(int m, int n, int k, const std::complex<double> *a, int lda,
                   const std::complex<double> *b, int ldb, std::complex<double> *c, int ldc)
{
    const std::complex<double> one(1.0, 0.0), zero(0.0, 0.0);
    cblas_zgemm(CblasColMajor, CblasTrans, CblasNoTrans, m, n, k, &one, a, lda, b, ldb, &zero, c, ldc);
}

// BLAS dimensions are 32-bit ints; a larger matrix must be split by the caller.
inline int dim(std::size_t n, const char *what)
{
    if (n > static_cast<std::size_t>(2147483647))
        throw std::runtime_error(std::string("matrix dimension too large for BLAS: ") + what + " = "
                                 + std::to_string(n));
    return static_cast<int>(n);
}

// OpenBLAS runs its own thread pool. Code that calls BLAS from several OpenMP threads at once
// switches it to one thread for that stretch and restores it afterwards.
inline int threadCount() { return openblas_get_num_threads(); }
inline void setThreadCount(int n) { openblas_set_num_threads(n); }

class ScopedThreadCount
{
public:
    explicit ScopedThreadCount(int n) : m_saved(threadCount()) { setThreadCount(n); }
    ~ScopedThreadCount() { setThreadCount(m_saved); }
    ScopedThreadCount(const ScopedThreadCount &) = delete;
    ScopedThreadCount &operator=(const ScopedThreadCount &) = delete;

private:
    int m_saved;
};

} // namespace kcalc::blas

#endif // KCALC_SCAN_BLAS_H
