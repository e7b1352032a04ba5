#include "field/FieldPlane.h"

#include <algorithm>

#include "field/RunControl.h"

namespace kcalc {

std::size_t countPointsBehindElements(const ElementFieldModel &model, double curvatureRadius,
                                      const std::vector<Point3> &points)
{
    std::size_t count = 0;
    const double R = curvatureRadius;
    for (const Point3 &x : points) {
        if (x.x * x.x + x.y * x.y + (x.z - R) * (x.z - R) <= R * R)
            continue;
        for (std::size_t e = 0; e < model.elementCount(); ++e)
            if (model.behind(e, x)) {
                ++count;
                break;
            }
    }
    return count;
}

FieldPlaneResult computeFieldPlane(const JobInput &input, RunControl *control)
{
    const ElementFieldModel model(input.array, input.medium);
    const std::vector<std::complex<double>> weights = model.focusWeights(input.focus);
    FieldPlaneResult result;
    for (std::size_t e = 0; e < model.elementCount(); ++e)
        result.focusPressure += std::abs(model.field(e, input.focus));

    const std::vector<Point3> points = input.grid.points();
    result.behindCap = countPointsBehindElements(model, input.array.curvatureRadius, points);
    result.values.assign(points.size(), 0.0);
    if (control)
        control->total.store(points.size());
    model.steeredAmplitude(points, weights, result.values.data(), control);

    const auto top = std::max_element(result.values.begin(), result.values.end());
    if (top != result.values.end()) {
        result.maximum = *top;
        result.maximumIndex = static_cast<std::size_t>(top - result.values.begin());
    }
    return result;
}

} // namespace kcalc
