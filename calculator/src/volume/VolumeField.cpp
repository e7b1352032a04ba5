#include "volume/VolumeField.h"

#include <algorithm>

#include "field/ElementFieldModel.h"
#include "field/RunControl.h"

namespace kcalc {

VolumeFieldResult computeVolumeField(const ArrayGeometry &array, const Medium &medium, const Point3 &focus,
                                     const VolumeGrid &grid, RunControl *control)
{
    const ElementFieldModel model(array, medium);
    const std::vector<std::complex<double>> weights = model.focusWeights(focus);
    VolumeFieldResult result;
    for (std::size_t e = 0; e < model.elementCount(); ++e)
        result.focusPressure += std::abs(model.field(e, focus));

    result.values.assign(grid.pointCount(), 0.0);
    if (control && control->total.load() == 0)
        control->total.store(grid.pointCount());
    // One transverse plane at a time (x, y points in VolumeGrid order), scattered into the box.
    std::vector<Point3> plane(static_cast<std::size_t>(grid.nx * grid.ny));
    std::vector<double> amplitude(plane.size());
    for (long iz = 0; iz < grid.nz; ++iz) {
        for (long ix = 0; ix < grid.nx; ++ix)
            for (long iy = 0; iy < grid.ny; ++iy)
                plane[static_cast<std::size_t>(ix * grid.ny + iy)] = grid.point(ix, iy, iz);
        model.steeredAmplitude(plane, weights, amplitude.data(), control);
        for (std::size_t p = 0; p < plane.size(); ++p)
            result.values[p * static_cast<std::size_t>(grid.nz) + static_cast<std::size_t>(iz)] = amplitude[p];
    }
    const auto top = std::max_element(result.values.begin(), result.values.end());
    if (top != result.values.end()) {
        result.maximum = *top;
        result.maximumIndex = static_cast<std::size_t>(top - result.values.begin());
    }
    return result;
}

} // namespace kcalc
