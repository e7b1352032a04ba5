#include "scan/ScanJob.h"

#include "output/ResultFiles.h"

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
    const auto plane = [](const PlaneGrid &g) {
        return g.kind == PlaneKind::Axial ? "an axial (\"yz\")" : "a transverse (\"xy\")";
    };
    if (spec.focus.kind != spec.field.kind)
        throw std::invalid_argument(std::string("grid_calc.txt describes ") + plane(spec.focus)
                                    + " focus-shift region but grid_scan.txt " + plane(spec.field)
                                    + " field region; both must lie in the same plane");
    if (spec.focus.pointCount() == 0 || spec.field.pointCount() == 0)
        throw std::invalid_argument("scan job: empty focus-shift or field region");
}

namespace detail {

std::vector<std::size_t> startPoints(const ScanJobSpec &spec)
{
    std::vector<std::size_t> start;
    start.reserve(spec.focus.pointCount());
    for (std::size_t m = 0; m < spec.focus.pointCount(); ++m)
        start.push_back(nearestPoint(spec.field, gridPoint(spec.focus, m)));
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
        return scanFocusQuality(hGrid, gridShape(spec.field), hFocus, start, settings, scanProgress);
    } else {
        FieldMatrix<T> h(hGrid.rows, hGrid.cols);
        std::transform(hGrid.values.begin(), hGrid.values.end(), h.values.begin(),
                       [](const std::complex<double> &v) { return std::complex<T>(v); });
        return scanFocusQuality(h, gridShape(spec.field), hFocus, start, settings, scanProgress);
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
    writeFileAtomically(dir, scanBinaryName(spec.focus), scanBinary(spec.focus, result.values(spec.kind)));
    if (spec.kind == ScanKind::SideMaxima)
        writeFileAtomically(dir, "side_maxes.txt", sideMaxesText(spec.focus, spec.field, result.quality));
    writeFieldResult(dir, spec.field, result.bestField);
}

} // namespace kcalc::scan
