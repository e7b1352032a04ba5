#ifndef KCALC_SCAN_SCAN_JOB_H
#define KCALC_SCAN_SCAN_JOB_H

// A scan job of the quality assessment (main_max/ or side_max/): the array is focused in turn on
// every position of the focus-shift region (grid_calc.txt) and its field over the field region
// (grid_scan.txt) is reduced to one quality value per position (see scan/QualityScan.h).
//
// Phases: element fields on the field grid, once per job (every focus position reuses them);
// element fields at the focus positions; the scan; the field at the best focus position.

#include <chrono>
#include <complex>
#include <string>
#include <vector>

#include "parallel/Ranks.h"
#include "scan/QualityScan.h"
#include "scan/ScanOutput.h"

namespace kcalc::scan {

enum class ScanKind { MainMaxima, SideMaxima };

struct ScanJobSetup {
    ScanKind kind = ScanKind::MainMaxima;
    PlaneGrid focus; // focus-shift region (grid_calc.txt of a scan folder)
    PlaneGrid field; // field region (grid_scan.txt)
    // Products in single precision (cgemm, half the memory of zgemm) unless set: the quality
    // values stay within 1e-4 of those of double precision (tested).
    bool doublePrecision = false;
};

struct ScanJobResult {
    std::vector<FocusQuality> quality; // one per focus position, flat order of setup.focus
    std::size_t best = 0;              // focus position with the largest q (application's tie rule)
    std::vector<double> bestField;     // |p| over the field region focused there, flat order of setup.field
    double bestFieldMax = 0;           // largest of bestField
    double elementFieldSeconds = 0, scanSeconds = 0;

    // The value the binary result holds per position: q for main maxima, s for side maxima.
    std::vector<double> values(ScanKind kind) const;
};

// Throws std::invalid_argument when the two grids are not of the same kind of plane (a focus in
// an axial region scanned over a transverse field, or the reverse).
void checkScanJob(const ScanJobSetup &setup);

// Runs the job. Model is anything with
//   std::size_t elementCount() const;
//   void fieldMatrix(const std::vector<Point3> &, std::complex<double> *out, std::size_t ld) const;
// filling out[p * ld + n] = h_n(point p) (ElementFieldModel does); it reports its own progress.
// `progress` follows the scan itself (focus positions done, in all); returning false stops the
// job with ScanCancelled.
// Over several ranks (parallel/Ranks.h) each rank scans its share of the blocks of positions; rank 0
// gathers the shares and returns the whole result, the other ranks an empty one.
template <class Model>
ScanJobResult computeScanJob(const ScanJobSetup &setup, const Model &model, const ScanProgress &progress = {},
                             parallel::Ranks ranks = {});

// Writes the results into folder `dir`, each complete before it appears under its name: the
// binary result, for side maxima side_maxes.txt, and the field at the best focus as the field
// result text of the field region's plane (AbsField_YZ.txt / AbsField_XY.txt, seventh header
// number its maximum). calcdone is the caller's.
void writeScanResults(const std::string &dir, const ScanJobSetup &setup, const ScanJobResult &result);

// ------------------------------------------------------------------------------------------------

namespace detail {
std::vector<std::size_t> startPoints(const ScanJobSetup &setup);
ScanJobResult finishScanJob(const ScanJobSetup &setup, const FieldMatrix<double> &hGrid,
                            const FieldMatrix<double> &hFocus, std::vector<FocusQuality> quality);
template <class T>
std::vector<FocusQuality> runScan(const ScanJobSetup &setup, const FieldMatrix<double> &hGrid,
                                  const FieldMatrix<double> &hFocus, const ScanProgress &progress,
                                  parallel::Ranks ranks);
// Every rank's share put together in rank 0 (empty on the other ranks).
std::vector<FocusQuality> gatherQuality(const std::vector<FocusQuality> &mine, parallel::Ranks ranks);
} // namespace detail

template <class Model>
ScanJobResult computeScanJob(const ScanJobSetup &setup, const Model &model, const ScanProgress &progress,
                             parallel::Ranks ranks)
{
    checkScanJob(setup);
    const std::size_t N = model.elementCount();
    if (N == 0)
        throw std::invalid_argument("scan job: the array has no elements");
    const auto t0 = std::chrono::steady_clock::now();

    // Element fields, kept in double precision: the field of the best focus is computed from them
    // exactly as a field job would compute it.
    const std::vector<Point3> gridPoints = setup.field.points();
    FieldMatrix<double> hGrid(gridPoints.size(), N);
    model.fieldMatrix(gridPoints, hGrid.values.data(), N);
    FieldMatrix<double> hFocus(setup.focus.pointCount(), N);
    model.fieldMatrix(setup.focus.points(), hFocus.values.data(), N);
    const auto t1 = std::chrono::steady_clock::now();

    std::vector<FocusQuality> quality = setup.doublePrecision
                                            ? detail::runScan<double>(setup, hGrid, hFocus, progress, ranks)
                                            : detail::runScan<float>(setup, hGrid, hFocus, progress, ranks);
    quality = detail::gatherQuality(quality, ranks);
    const auto t2 = std::chrono::steady_clock::now();
    if (!ranks.root())
        return ScanJobResult();
    ScanJobResult result = detail::finishScanJob(setup, hGrid, hFocus, std::move(quality));
    result.elementFieldSeconds = std::chrono::duration<double>(t1 - t0).count();
    result.scanSeconds = std::chrono::duration<double>(t2 - t1).count();
    return result;
}

} // namespace kcalc::scan

#endif // KCALC_SCAN_SCAN_JOB_H
