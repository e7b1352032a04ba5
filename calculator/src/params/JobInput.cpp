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

// Throws JobError unless lo <= value <= hi: "<what> вне допустимых пределов (от lo до hi unit): symbol = value unit".
void requireRange(const std::string &file, const char *what, const char *symbol, double value, double lo, double hi,
                  const char *unit)
{
    if (value >= lo && value <= hi)
        return;
    throw JobError("Ошибка в файле " + file + ": " + what + " вне допустимых пределов (от " + resultNumber(lo) + " до "
                   + resultNumber(hi) + (unit[0] ? " " : "") + unit
                   + "): " + (symbol[0] ? valueText(symbol, value, unit) : resultNumber(value) + " " + unit));
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
    const auto fail = [](const char *file, const std::string &what) {
        throw JobError(std::string("Ошибка в файле ") + file + ": " + what);
    };
    if (!(array.curvatureRadius > 0))
        fail("array.txt", "радиус кривизны должен быть положительным: " + valueText("R", array.curvatureRadius, "м"));
    if (!(array.elementRadius > 0))
        fail("array.txt", "радиус элементов должен быть положительным: " + valueText("a", array.elementRadius, "м"));
    if (!(array.frequency > 0))
        fail("array.txt", "рабочая частота должна быть положительной: " + valueText("f", array.frequency, "Гц"));
    if (array.aperture < 0)
        fail("array.txt", "апертура не может быть отрицательной: " + valueText("A", array.aperture, "м"));
    if (array.holeRadius < 0)
        fail("array.txt", "радиус отверстия не может быть отрицательным: " + valueText("r_отв", array.holeRadius, "м"));
    if (!(medium.density > 0))
        fail("medium.txt", "плотность должна быть положительной: " + valueText("ro", medium.density, "кг/м3"));
    if (!(medium.soundSpeed > 0))
        fail("medium.txt", "скорость звука должна быть положительной: " + valueText("c", medium.soundSpeed, "м/с"));
    if (medium.absorption_dB_cm_MHz < 0)
        fail("medium.txt",
             "поглощение не может быть отрицательным: " + valueText("pvs", medium.absorption_dB_cm_MHz, "дБ/см/МГц"));
    requireRange("array.txt", "радиус кривизны", "R", array.curvatureRadius, kMinLength, kMaxLength, "м");
    requireRange("array.txt", "радиус элементов", "a", array.elementRadius, kMinLength, kMaxLength, "м");
    requireRange("array.txt", "апертура", "A", array.aperture, 0, kMaxLength, "м");
    requireRange("array.txt", "радиус отверстия", "r_отв", array.holeRadius, 0, kMaxLength, "м");
    requireRange("array.txt", "рабочая частота", "f", array.frequency, kMinFrequency, kMaxFrequency, "Гц");
    requireRange("medium.txt", "плотность", "ro", medium.density, kMinDensity, kMaxDensity, "кг/м3");
    requireRange("medium.txt", "скорость звука", "c", medium.soundSpeed, kMinSoundSpeed, kMaxSoundSpeed, "м/с");
    requireRange("medium.txt", "поглощение", "pvs", medium.absorption_dB_cm_MHz, 0, kMaxAbsorption, "дБ/см/МГц");
    // The geometry checks of the parameter input, in its order.
    const std::string sizes =
        " (" + valueText("A", array.aperture, "м") + ", " + valueText("R", array.curvatureRadius, "м") + ", "
        + valueText("a", array.elementRadius, "м") + ", " + valueText("r_отв", array.holeRadius, "м") + ")";
    if (array.aperture > 2 * array.curvatureRadius)
        fail("array.txt", "радиус решетки превышает радиус кривизны" + sizes);
    if (array.elementRadius > array.aperture / 2)
        fail("array.txt", "радиус элемента превышает радиус решетки" + sizes);
    if (array.holeRadius >= array.aperture / 2)
        fail("array.txt", "радиус отверстия превышает радиус решетки" + sizes);
    if (array.elements.empty())
        fail("array_elements.txt", "решетка не содержит ни одного элемента");
    const double R2 = array.curvatureRadius * array.curvatureRadius;
    for (std::size_t n = 0; n < array.elements.size(); ++n) {
        const ElementPosition &e = array.elements[n];
        if (e.x * e.x + e.y * e.y > R2)
            fail("array_elements.txt",
                 "элемент " + std::to_string(n + 1) + " (x = " + resultNumber(e.x) + " м, y = " + resultNumber(e.y)
                     + " м) лежит вне сферы радиуса R = " + resultNumber(array.curvatureRadius) + " м");
    }
}

void checkGrid(const PlaneGrid &grid, const std::string &fileName)
{
    const auto fail = [&](const std::string &what) { throw JobError("Ошибка в файле " + fileName + ": " + what); };
    if (grid.count1 < 2)
        fail("по первой оси задано менее двух точек: " + std::to_string(grid.count1) + " (строка 3)");
    if (grid.count2 < 2)
        fail("по второй оси задано менее двух точек: " + std::to_string(grid.count2) + " (строка 4)");
    if (!(grid.step1 > 0))
        fail("шаг по первой оси должен быть положительным: " + resultNumber(grid.step1) + " (строка 7)");
    if (!(grid.step2 > 0))
        fail("шаг по второй оси должен быть положительным: " + resultNumber(grid.step2) + " (строка 8)");
    if (static_cast<double>(grid.count1) * static_cast<double>(grid.count2) > kMaxGridPoints)
        fail("слишком большая сетка: " + std::to_string(grid.count1) + " x " + std::to_string(grid.count2)
             + " точек (допустимо не более " + resultNumber(kMaxGridPoints) + ")");
    requireRange(fileName, "координата плоскости (строка 2)", "", grid.fixed, -kMaxLength, kMaxLength, "м");
    requireRange(fileName, "шаг по первой оси (строка 7)", "", grid.step1, kMinStep, kMaxLength, "м");
    requireRange(fileName, "шаг по второй оси (строка 8)", "", grid.step2, kMinStep, kMaxLength, "м");
    requireRange(fileName, "начало первой оси (строка 5)", "", grid.start1, -kMaxLength, kMaxLength, "м");
    requireRange(fileName, "начало второй оси (строка 6)", "", grid.start2, -kMaxLength, kMaxLength, "м");
    requireRange(fileName, "конец первой оси", "", grid.end1(), -kMaxLength, kMaxLength, "м");
    requireRange(fileName, "конец второй оси", "", grid.end2(), -kMaxLength, kMaxLength, "м");
}

void checkFocus(const Point3 &focus)
{
    for (const double v : {focus.x, focus.y, focus.z})
        requireRange("focus.txt", "координата фокуса", "", v, -kMaxLength, kMaxLength, "м");
}

void checkJobInput(const JobInput &input)
{
    checkArrayAndMedium(input.array, input.medium);
    checkFocus(input.focus);
    checkGrid(input.grid, "grid_calc.txt");
}

std::string describeGrid(const PlaneGrid &grid)
{
    const bool transverse = grid.kind == PlaneKind::Transverse;
    const char *a1 = transverse ? "x" : "y", *a2 = transverse ? "y" : "z";
    return std::string(transverse ? "поперечная плоскость z = " : "аксиальная плоскость x = ")
           + resultNumber(grid.fixed) + " м; " + a1 + " от " + resultNumber(grid.start1) + " шаг "
           + resultNumber(grid.step1) + ", " + std::to_string(grid.count1) + " точек; " + a2 + " от "
           + resultNumber(grid.start2) + " шаг " + resultNumber(grid.step2) + ", " + std::to_string(grid.count2)
           + " точек";
}

std::vector<std::string> describeJobInput(const JobInput &input)
{
    const ArrayGeometry &a = input.array;
    const Medium &m = input.medium;
    return {
        "Решетка: апертура A = " + resultNumber(a.aperture) + " м, радиус кривизны R = "
            + resultNumber(a.curvatureRadius) + " м, радиус элементов a = " + resultNumber(a.elementRadius)
            + " м, частота f = " + resultNumber(a.frequency) + " Гц, радиус отверстия = " + resultNumber(a.holeRadius)
            + " м, элементов: " + std::to_string(a.elements.size()),
        "Среда: плотность = " + resultNumber(m.density) + " кг/м3, скорость звука c = " + resultNumber(m.soundSpeed)
            + " м/с, теплоемкость = " + resultNumber(m.heatCapacity)
            + " Дж/кг/К, поглощение = " + resultNumber(m.absorption_dB_cm_MHz) + " дБ/см/МГц",
        "Фокус: (" + resultNumber(input.focus.x) + ", " + resultNumber(input.focus.y) + ", "
            + resultNumber(input.focus.z) + ") м",
        "Сетка (grid_calc.txt): " + describeGrid(input.grid),
    };
}

} // namespace kcalc
