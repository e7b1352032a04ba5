#include "scan/ScanJob.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

namespace kcalc::scan {

std::vector<double> ScanJobResult::values(ScanKind kind) const
{
    std::vector<double> v(quality.size());
    for (std::size_t m = 0; m < quality.size(); ++m)
        v[m] = kind == ScanKind::MainMaxima ? quality[m].mainValue : quality[m].sideValue;
    return v;
}

void checkScanJob(const ScanJobSpec &spec)
{
    if (spec.focus.axial != spec.field.axial)
        throw std::invalid_argument(std::string("grid_calc.txt describes ")
                                    + (spec.focus.axial ? "an axial (\"yz\")" : "a transverse (\"xy\")")
                                    + " focus-shift region but grid_scan.txt "
                                    + (spec.field.axial ? "an axial (\"yz\")" : "a transverse (\"xy\")")
                                    + " field region; both must lie in the same plane");
    if (spec.focus.size() == 0 || spec.field.size() == 0)
        throw std::invalid_argument("scan job: empty focus-shift or field region");
}

std::string scanBinaryName(const ScanPlane &focus)
{
    return focus.axial ? "AbsField_YZ.bin" : "AbsField_XY.bin";
}

namespace detail {

std::vector<std::size_t> startPoints(const ScanJobSpec &spec)
{
    std::vector<std::size_t> start;
    start.reserve(spec.focus.size());
    for (std::size_t m = 0; m < spec.focus.size(); ++m)
        start.push_back(spec.field.nearestPoint(spec.focus.point(m)));
    return start;
}

template <class T>
std::vector<FocusQuality> runScan(const ScanJobSpec &spec, const FieldMatrix<double> &hGrid,
                                  const FieldMatrix<double> &hFocus, const ScanProgress &scanProgress)
{
    ScanSettings settings;
    settings.sideLobes = spec.kind == ScanKind::SideMaxima;
    const std::vector<std::size_t> start = settings.sideLobes ? startPoints(spec) : std::vector<std::size_t>();
    if constexpr (std::is_same_v<T, double>) {
        return scanFocusQuality(hGrid, spec.field.shape(), hFocus, start, settings, scanProgress);
    } else {
        FieldMatrix<T> h(hGrid.rows, hGrid.cols);
        std::transform(hGrid.values.begin(), hGrid.values.end(), h.values.begin(),
                       [](const std::complex<double> &v) { return std::complex<T>(v); });
        return scanFocusQuality(h, spec.field.shape(), hFocus, start, settings, scanProgress);
    }
}

template std::vector<FocusQuality> runScan<float>(const ScanJobSpec &, const FieldMatrix<double> &,
                                                  const FieldMatrix<double> &, const ScanProgress &);
template std::vector<FocusQuality> runScan<double>(const ScanJobSpec &, const FieldMatrix<double> &,
                                                   const FieldMatrix<double> &, const ScanProgress &);

ScanJobResult finishScanJob(const ScanJobSpec &spec, const FieldMatrix<double> &hGrid,
                            const FieldMatrix<double> &hFocus, std::vector<FocusQuality> quality)
{
    ScanJobResult r;
    r.quality = std::move(quality);
    r.best = bestFocusPoint(r.values(ScanKind::MainMaxima), spec.focus);
    r.bestField = focusedAmplitude(hGrid, hFocus.row(r.best));
    r.bestFieldMax = *std::max_element(r.bestField.begin(), r.bestField.end());
    return r;
}

} // namespace detail

void writeScanResults(const std::string &dir, const ScanJobSpec &spec, const ScanJobResult &result)
{
    const std::string prefix = dir.empty() ? std::string() : dir + "/";
    writeScanBinary(prefix + scanBinaryName(spec.focus), spec.focus, result.values(spec.kind));
    if (spec.kind == ScanKind::SideMaxima)
        writeSideMaxes(prefix + "side_maxes.txt", spec.focus, spec.field, result.quality);
}

} // namespace kcalc::scan
