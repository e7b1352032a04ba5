#ifndef KJOBS_JOB_LIMITS_H
#define KJOBS_JOB_LIMITS_H

// What a job may ask of the calculator: the limits of its grids and the memory of a quality scan.
// The calculator refuses a job beyond them; the application refuses it before it writes the job.

#include <cstddef>

namespace kjobs {

// Largest grid the calculator accepts: 2e7 points make a result file of about 1.2 GB and take
// about 5 minutes per 256 elements on one core.
constexpr double kMaxGridPoints = 2e7;

// Plausibility limits, far outside anything an ultrasound array needs, so that every physically
// meaningful job passes and no input can drive the arithmetic to overflow or underflow.
constexpr double kMaxLength = 1e3; // m: any length or coordinate
constexpr double kMinStep = 1e-9;  // m: grid steps

// Share of the physical memory a job may plan to keep at its peak.
constexpr double kMemoryShare = 0.8;

// Physical memory of this machine in bytes; 0 when it cannot be told.
double physicalMemoryBytes();

// Whether a job that keeps `needBytes` at its peak fits a machine with `physicalBytes` of memory
// (kMemoryShare of it). Unknown memory (0 or less) lets every job pass.
bool fitsInMemory(double needBytes, double physicalBytes);

// The block of focus positions a quality scan multiplies at once, for a field region of
// `gridPoints` points held in values of `bytesPerValue` bytes.
std::size_t scanBlockColumns(std::size_t gridPoints, std::size_t bytesPerValue);

// Bytes a quality scan keeps at its peak (element fields on the field region in double and single
// precision, at the focus positions in double, single-precision weights, one block of products per
// thread) when it runs `threads` threads.
double scanMemoryBytes(std::size_t gridPoints, std::size_t focusPositions, std::size_t elements, int threads);

} // namespace kjobs

#endif // KJOBS_JOB_LIMITS_H
