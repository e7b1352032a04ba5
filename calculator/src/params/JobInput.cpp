#include "params/JobInput.h"

#include <cmath>

#include "JobLimits.h"
#include "params/JobError.h"

namespace kcalc {

using kjobs::kMaxGridPoints;
using kjobs::kMaxLength;
using kjobs::kMinStep;

namespace {

// Plausibility limits beside those of the grids (JobLimits.h).
constexpr double kMinLength = 1e-7;                        // m: R, a
constexpr double kMinFrequency = 1, kMaxFrequency = 1e10;  // Hz
constexpr double kMinSoundSpeed = 1, kMaxSoundSpeed = 1e5; // m/s
constexpr double kMinDensity = 1e-3, kMaxDensity = 1e5;    // kg/m3
constexpr double kMaxAbsorption = 1e3;                     // dB/(cm MHz)

std::string valueText(const char *symbol, double value, const char *unit)
{
    return std::string(symbol) + " = " + resultNumber(value) + (unit[0] ? " " : "") + unit;
}

std::string valueText(const msg::Quantity &q, double value)
{
    return valueText(q.symbol, value, q.unit);
}

// Throws JobError unless lo <= value <= hi (msg::outOfRange), the value with its symbol if it has one.
void requireRange(const std::string &file, const char *what, const char *symbol, double value, double lo, double hi,
                  const char *unit)
{
    if (value >= lo && value <= hi)
        return;
    throw JobError(msg::inFile(
        file, msg::outOfRange(what, resultNumber(lo), resultNumber(hi), unit,
                              symbol[0] ? valueText(symbol, value, unit) : resultNumber(value) + " " + unit)));
}

void requireRange(const char *file, const msg::Quantity &q, double value, double lo, double hi)
{
    requireRange(file, q.name, q.symbol, value, lo, hi, q.unit);
}

} // namespace

JobInput readJobInput(const std::string &dir)
{
    JobInput input;
    readArrayFile(dir, input.array);
    readMediumFile(dir, input.medium);
    input.array.elements = readElementsFile(dir);
    input.focus = readFocusFile(dir);
    input.grid = readGridFile(dir, "grid_calc.txt");
    return input;
}

void checkArrayAndMedium(const ArrayGeometry &array, const Medium &medium)
{
    const auto fail = [](const char *file, const std::string &what) { throw JobError(msg::inFile(file, what)); };
    if (!(array.curvatureRadius > 0))
        fail("array.txt", msg::kCurvatureNotPositive + valueText(msg::kCurvatureRadius, array.curvatureRadius));
    if (!(array.elementRadius > 0))
        fail("array.txt", msg::kElementRadiusNotPositive + valueText(msg::kElementRadius, array.elementRadius));
    if (!(array.frequency > 0))
        fail("array.txt", msg::kFrequencyNotPositive + valueText(msg::kFrequency, array.frequency));
    if (array.aperture < 0)
        fail("array.txt", msg::kApertureNegative + valueText(msg::kAperture, array.aperture));
    if (array.holeRadius < 0)
        fail("array.txt", msg::kHoleRadiusNegative + valueText(msg::kHoleRadius, array.holeRadius));
    if (!(medium.density > 0))
        fail("medium.txt", msg::kDensityNotPositive + valueText(msg::kDensity, medium.density));
    if (!(medium.soundSpeed > 0))
        fail("medium.txt", msg::kSoundSpeedNotPositive + valueText(msg::kSoundSpeed, medium.soundSpeed));
    if (medium.absorption_dB_cm_MHz < 0)
        fail("medium.txt", msg::kAbsorptionNegative + valueText(msg::kAbsorption, medium.absorption_dB_cm_MHz));
    requireRange("array.txt", msg::kCurvatureRadius, array.curvatureRadius, kMinLength, kMaxLength);
    requireRange("array.txt", msg::kElementRadius, array.elementRadius, kMinLength, kMaxLength);
    requireRange("array.txt", msg::kAperture, array.aperture, 0, kMaxLength);
    requireRange("array.txt", msg::kHoleRadius, array.holeRadius, 0, kMaxLength);
    requireRange("array.txt", msg::kFrequency, array.frequency, kMinFrequency, kMaxFrequency);
    requireRange("medium.txt", msg::kDensity, medium.density, kMinDensity, kMaxDensity);
    requireRange("medium.txt", msg::kSoundSpeed, medium.soundSpeed, kMinSoundSpeed, kMaxSoundSpeed);
    requireRange("medium.txt", msg::kAbsorption, medium.absorption_dB_cm_MHz, 0, kMaxAbsorption);
    // The geometry checks of the parameter input, in its order.
    const std::string sizes = " (" + valueText(msg::kAperture, array.aperture) + ", "
                              + valueText(msg::kCurvatureRadius, array.curvatureRadius) + ", "
                              + valueText(msg::kElementRadius, array.elementRadius) + ", "
                              + valueText(msg::kHoleRadius, array.holeRadius) + ")";
    if (array.aperture > 2 * array.curvatureRadius)
        fail("array.txt", msg::kArrayWiderThanSphere + sizes);
    if (array.elementRadius > array.aperture / 2)
        fail("array.txt", msg::kElementWiderThanArray + sizes);
    if (array.holeRadius >= array.aperture / 2)
        fail("array.txt", msg::kHoleWiderThanArray + sizes);
    if (array.elements.empty())
        fail("array_elements.txt", msg::kNoElements);
    const double R2 = array.curvatureRadius * array.curvatureRadius;
    for (std::size_t n = 0; n < array.elements.size(); ++n) {
        const ElementPosition &e = array.elements[n];
        if (e.x * e.x + e.y * e.y > R2)
            fail("array_elements.txt", msg::elementOutsideSphere(n + 1, resultNumber(e.x), resultNumber(e.y),
                                                                 resultNumber(array.curvatureRadius)));
    }
}

void checkGrid(const PlaneGrid &grid, const std::string &fileName)
{
    const auto fail = [&](const std::string &what) { throw JobError(msg::inFile(fileName, what)); };
    if (grid.count1 < 2)
        fail(msg::tooFewPoints(true, grid.count1));
    if (grid.count2 < 2)
        fail(msg::tooFewPoints(false, grid.count2));
    if (!(grid.step1 > 0))
        fail(msg::stepNotPositive(true, resultNumber(grid.step1)));
    if (!(grid.step2 > 0))
        fail(msg::stepNotPositive(false, resultNumber(grid.step2)));
    if (static_cast<double>(grid.count1) * static_cast<double>(grid.count2) > kMaxGridPoints)
        fail(msg::gridTooLarge(grid.count1, grid.count2, resultNumber(kMaxGridPoints)));
    requireRange(fileName, msg::kPlaneCoordinate, "", grid.fixed, -kMaxLength, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kStep1, "", grid.step1, kMinStep, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kStep2, "", grid.step2, kMinStep, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kStart1, "", grid.start1, -kMaxLength, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kStart2, "", grid.start2, -kMaxLength, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kEnd1, "", grid.end1(), -kMaxLength, kMaxLength, msg::kMetres);
    requireRange(fileName, msg::kEnd2, "", grid.end2(), -kMaxLength, kMaxLength, msg::kMetres);
}

void checkFocus(const Point3 &focus)
{
    for (const double v : {focus.x, focus.y, focus.z})
        requireRange("focus.txt", msg::kFocusCoordinate, "", v, -kMaxLength, kMaxLength, msg::kMetres);
}

void checkJobInput(const JobInput &input)
{
    checkArrayAndMedium(input.array, input.medium);
    checkFocus(input.focus);
    checkGrid(input.grid, "grid_calc.txt");
}

std::string describeGrid(const PlaneGrid &grid)
{
    return msg::gridLine(grid.kind == PlaneKind::Transverse, resultNumber(grid.fixed), resultNumber(grid.start1),
                         resultNumber(grid.step1), grid.count1, resultNumber(grid.start2), resultNumber(grid.step2),
                         grid.count2);
}

std::vector<std::string> describeJobInput(const JobInput &input)
{
    const ArrayGeometry &a = input.array;
    const Medium &m = input.medium;
    return {
        msg::arrayLine(resultNumber(a.aperture), resultNumber(a.curvatureRadius), resultNumber(a.elementRadius),
                       resultNumber(a.frequency), resultNumber(a.holeRadius), a.elements.size()),
        msg::mediumLine(resultNumber(m.density), resultNumber(m.soundSpeed), resultNumber(m.heatCapacity),
                        resultNumber(m.absorption_dB_cm_MHz)),
        msg::focusLine(resultNumber(input.focus.x), resultNumber(input.focus.y), resultNumber(input.focus.z)),
        msg::gridOfFile(msg::kFieldGrid, "grid_calc.txt", describeGrid(input.grid)),
    };
}

} // namespace kcalc
