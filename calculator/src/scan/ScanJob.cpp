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

void checkScanJob(const ScanJobSetup &setup)
{
    const auto plane = [](const PlaneGrid &g) {
        return g.kind == PlaneKind::Axial ? "an axial (\"yz\")" : "a transverse (\"xy\")";
    };
    if (setup.focus.kind != setup.field.kind)
        throw std::invalid_argument(std::string("grid_calc.txt describes ") + plane(setup.focus)
                                    + " focus-shift region but grid_scan.txt " + plane(setup.field)
                                    + " field region; both must lie in the same plane");
    if (setup.focus.pointCount() == 0 || setup.field.pointCount() == 0)
        throw std::invalid_argument("scan job: empty focus-shift or field region");
}

namespace detail {

std::vector<std::size_t> startPoints(const ScanJobSetup &setup)
{
    std::vector<std::size_t> start;
    start.reserve(setup.focus.pointCount());
    for (std::size_t m = 0; m < setup.focus.pointCount(); ++m)
        start.push_back(nearestPoint(setup.field, gridPoint(setup.focus, m)));
    return start;
}

template <class T>
std::vector<FocusQuality> runScan(const ScanJobSetup &setup, const FieldMatrix<double> &hGrid,
                                  const FieldMatrix<double> &hFocus, const ScanProgress &scanProgress,
                                  parallel::Ranks ranks)
{
    ScanSettings settings;
    settings.sideLobes = setup.kind == ScanKind::SideMaxima;
    settings.shareIndex = ranks.rank;
    settings.shareCount = ranks.size;
    const std::vector<std::size_t> start = settings.sideLobes ? startPoints(setup) : std::vector<std::size_t>();
    return scanFocusQuality<double, T>(hGrid, gridShape(setup.field), hFocus, start, settings, scanProgress);
}

template std::vector<FocusQuality> runScan<float>(const ScanJobSetup &, const FieldMatrix<double> &,
                                                  const FieldMatrix<double> &, const ScanProgress &, parallel::Ranks);
template std::vector<FocusQuality> runScan<double>(const ScanJobSetup &, const FieldMatrix<double> &,
                                                   const FieldMatrix<double> &, const ScanProgress &, parallel::Ranks);

std::vector<FocusQuality> gatherQuality(const std::vector<FocusQuality> &mine, parallel::Ranks ranks)
{
    if (ranks.size == 1)
        return mine;
    // Seven values per position; a position not in this rank's share is all zeros, so the sum over
    // the ranks is exactly the one rank's values (all are >= 0; grid indices travel exactly).
    constexpr std::size_t width = 7;
    std::vector<double> packed;
    packed.reserve(mine.size() * width);
    for (const FocusQuality &q : mine)
        packed.insert(packed.end(), {q.focusAmplitude, q.gridMax, q.mainValue, q.sideValue, q.hasSide ? 1.0 : 0.0,
                                     static_cast<double>(q.peakPoint), static_cast<double>(q.sidePoint)});
    const std::vector<double> all = parallel::sumToRoot(packed, ranks);
    std::vector<FocusQuality> quality(all.size() / width);
    for (std::size_t m = 0; m < quality.size(); ++m) {
        const double *v = all.data() + m * width;
        quality[m] = {
            v[0], v[1], v[2], v[3], v[4] != 0, static_cast<std::size_t>(v[5]), static_cast<std::size_t>(v[6])};
    }
    return quality;
}

ScanJobResult finishScanJob(const ScanJobSetup &setup, const FieldMatrix<double> &hGrid,
                            const FieldMatrix<double> &hFocus, std::vector<FocusQuality> quality)
{
    ScanJobResult r;
    r.quality = std::move(quality);
    r.best = bestFocusPoint(r.values(ScanKind::MainMaxima), setup.focus);
    r.bestField = focusedAmplitude(hGrid, hFocus.row(r.best));
    r.bestFieldMax = *std::max_element(r.bestField.begin(), r.bestField.end());
    return r;
}

} // namespace detail

void writeScanResults(const std::string &dir, const ScanJobSetup &setup, const ScanJobResult &result)
{
    const std::vector<double> values = result.values(setup.kind);
    requireFiniteResult(values, scanResultName(setup.focus.kind));
    requireFiniteResult(result.bestField, fieldResultName(setup.field.kind));
    writeFileAtomically(dir, scanResultName(setup.focus.kind), scanResultBytes(setup.focus, values));
    if (setup.kind == ScanKind::SideMaxima)
        writeFileAtomically(dir, names::sideMaxes, sideMaxesText(setup.focus, setup.field, result.quality));
    writeFieldResult(dir, setup.field, result.bestField);
}

} // namespace kcalc::scan
