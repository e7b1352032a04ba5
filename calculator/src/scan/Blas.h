#ifndef KCALC_SCAN_BLAS_H
#define KCALC_SCAN_BLAS_H

// The one place the calculator talks to BLAS (OpenBLAS). Everything else calls these overloads.

#include <complex>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <cblas.h>
#include <unistd.h>

namespace kcalc::blas {

// C = A^T * B, all column-major: A is k x m (so A^T is m x k; a row-major m x k matrix of the
// caller is exactly this), B is k x n, C is m x n. Plain transpose, no conjugation.
inline void gemmTN(int m, int n, int k, const std::complex<float> *a, int lda, const std::complex<float> *b, int ldb,
                   std::complex<float> *c, int ldc)
{
    const std::complex<float> one(1.0f, 0.0f), zero(0.0f, 0.0f);
    cblas_cgemm(CblasColMajor, CblasTrans, CblasNoTrans, m, n, k, &one, a, lda, b, ldb, &zero, c, ldc);
}

inline void gemmTN(int m, int n, int k, const std::complex<double> *a, int lda, const std::complex<double> *b, int ldb,
                   std::complex<double> *c, int ldc)
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
inline int threadCount()
{
    return openblas_get_num_threads();
}
inline void setThreadCount(int n)
{
    openblas_set_num_threads(n);
}

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

// OpenBLAS picks its kernels when it is loaded, from the CPU it recognises. Releases before
// 0.3.22 do not know the AVX-512 AMD families (Zen 4 and later) and fall back to their AVX2
// (Haswell) kernels, half the speed of the AVX-512 (SkylakeX) ones on such a CPU; later releases
// choose SkylakeX there themselves. The choice can only be made through OPENBLAS_CORETYPE before
// the library loads, so a program that wants the wide kernels calls this first thing in main():
// on an AVX-512 CPU left with the Haswell or Zen kernels it sets OPENBLAS_CORETYPE=SkylakeX and
// runs itself again (same arguments, same process id). It returns when nothing needs changing,
// when the user has set OPENBLAS_CORETYPE, or when the restart fails.
inline void preferWideKernels(char **argv)
{
    if (std::getenv("OPENBLAS_CORETYPE") || std::getenv("KORMAX_BLAS_RESTARTED"))
        return;
    __builtin_cpu_init();
    const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
                        && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")
                        && __builtin_cpu_supports("avx512cd");
    const char *core = openblas_get_corename();
    if (!avx512 || !core || (std::strcmp(core, "Haswell") != 0 && std::strncmp(core, "Zen", 3) != 0))
        return;
    ::setenv("OPENBLAS_CORETYPE", "SkylakeX", 1);
    ::setenv("KORMAX_BLAS_RESTARTED", "1", 1);
    ::execv("/proc/self/exe", argv);
    // Not restarted: carry on with the kernels already loaded.
    ::unsetenv("OPENBLAS_CORETYPE");
}

} // namespace kcalc::blas

#endif // KCALC_SCAN_BLAS_H
