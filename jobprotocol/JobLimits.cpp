#include "JobLimits.h"

#include <algorithm>
#include <complex>

#include <unistd.h>

namespace kjobs {

double physicalMemoryBytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? static_cast<double>(pages) * static_cast<double>(pageSize) : 0;
}

bool fitsInMemory(double needBytes, double physicalBytes)
{
    return !(physicalBytes > 0 && needBytes > kMemoryShare * physicalBytes);
}

std::size_t scanBlockColumns(std::size_t gridPoints, std::size_t bytesPerValue)
{
    // About 48 MiB of products per block: large enough that BLAS runs at full speed (the element
    // matrix is re-packed once per product), small enough to keep the memory of a scan bounded.
    const std::size_t budget = std::size_t(48) << 20;
    const std::size_t perColumn = std::max<std::size_t>(1, gridPoints * bytesPerValue);
    return std::clamp<std::size_t>(budget / perColumn, 8, 512);
}

double scanMemoryBytes(std::size_t gridPoints, std::size_t focusPositions, std::size_t elements, int threads)
{
    const double P = static_cast<double>(gridPoints), M = static_cast<double>(focusPositions),
                 N = static_cast<double>(elements);
    const double block = static_cast<double>(scanBlockColumns(gridPoints, sizeof(std::complex<float>)));
    return P * N * (16 + 8) + M * N * (16 + 8) + threads * P * block * 8;
}

} // namespace kjobs
