#include "params/JobInput.h"

#include <cmath>

#include "params/GridLimits.h"
#include "params/JobError.h"
#include "params/TextFile.h"

namespace kcalc {

namespace {

// Plausibility limits beside those of the grids (params/GridLimits.h).
constexpr double kMinLength = 1e-7;                        // m: R, a
constexpr double kMinFrequency = 1, kMaxFrequency = 1e10;  // Hz
constexpr double kMinSoundSpeed = 1, kMaxSoundSpeed = 1e5; // m/s
constexpr double kMinDensity = 1e-3, kMaxDensity = 1e5;    // kg/m3
constexpr double kMaxAbsorption = 1e3;                     // dB/(cm MHz)

long readCount(const TextFile &file, std::size_t line, const char *what)
{
    const double value = file.lastNumber(line, what);
    if (value != std::floor(value) || std::fabs(value) > 2e9)
        throw JobError("Ошибка в файле " + file.name + ", строка " + std::to_string(line + 1) + " (" + what
                       + "): число точек " + formatNumber(value) + " не является целым");
    return static_cast<long>(value);
}

std::string valueText(const char *symbol, double value, const char *unit)
{
    return std::string(symbol) + " = " + formatNumber(value) + (unit[0] ? " " : "") + unit;
}

// Throws JobError unless lo <= value <= hi: "<what> вне допустимых пределов (от lo до hi unit): symbol = value unit".
void requireRange(const std::string &file, const char *what, const char *symbol, double value, double lo, double hi,
                  const char *unit)
{
    if (value >= lo && value <= hi)
        return;
    throw JobError("Ошибка в файле " + file + ": " + what + " вне допустимых пределов (от " + formatNumber(lo) + " до "
                   + formatNumber(hi) + (unit[0] ? " " : "") + unit
                   + "): " + (symbol[0] ? valueText(symbol, value, unit) : formatNumber(value) + " " + unit));
}

} // namespace

Point3 PlaneGrid::point(long i1, long i2) const
{
    const double c1 = coord1(i1), c2 = coord2(i2);
    if (kind == PlaneKind::Transverse)
        return Point3{c1, c2, fixed};
    return Point3{fixed, c1, c2};
}

std::vector<Point3> PlaneGrid::points() const
{
    std::vector<Point3> result;
    result.reserve(pointCount());
    for (long i1 = 0; i1 < count1; ++i1)
        for (long i2 = 0; i2 < count2; ++i2)
            result.push_back(point(i1, i2));
    return result;
}

void readArrayFile(const std::string &dir, ArrayGeometry &array)
{
    // Line 1 is the array's name; lines 2-6 end with A, R, a, f, hole radius.
    const TextFile file = readTextFile(dir, "array.txt");
    array.aperture = file.lastNumber(1, "апертура решетки, м");
    array.curvatureRadius = file.lastNumber(2, "радиус кривизны решетки, м");
    array.elementRadius = file.lastNumber(3, "радиус элементов решетки, м");
    array.frequency = file.lastNumber(4, "рабочая частота решетки, Гц");
    array.holeRadius = file.lastNumber(5, "радиус отверстия, м");
}

void readMediumFile(const std::string &dir, Medium &medium)
{
    // Line 1 is the medium's name; lines 2-5 end with density, speed of sound, heat capacity, absorption.
    const TextFile file = readTextFile(dir, "medium.txt");
    medium.density = file.lastNumber(1, "плотность, кг/м3");
    medium.soundSpeed = file.lastNumber(2, "скорость звука, м/с");
    medium.heatCapacity = file.lastNumber(3, "теплоемкость, Дж/кг/К");
    medium.absorption_dB_cm_MHz = file.lastNumber(4, "поглощение, дБ/см/МГц");
}

std::vector<ElementPosition> readElementsFile(const std::string &dir)
{
    const TextFile file = readTextFile(dir, "array_elements.txt");
    std::vector<ElementPosition> elements;
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const std::vector<std::string> words = splitTokens(file.lines[i]);
        if (words.empty())
            continue; // blank lines (a trailing line end) carry no element
        const std::string where = "Ошибка в файле array_elements.txt, строка " + std::to_string(i + 1);
        if (words.size() != 2)
            throw JobError(where + ": ожидаются два числа x y, а строка содержит \"" + readableText(file.lines[i])
                           + "\"");
        ElementPosition p;
        for (int c = 0; c < 2; ++c) {
            double v = 0;
            if (!parseNumber(words[c], v) || !std::isfinite(v))
                throw JobError(where + ": \"" + readableText(words[c]) + "\" не является числом");
            (c == 0 ? p.x : p.y) = v;
        }
        elements.push_back(p);
    }
    return elements;
}

Point3 readFocusFile(const std::string &dir)
{
    const TextFile file = readTextFile(dir, "focus.txt");
    Point3 f;
    f.x = file.lastNumber(0, "x фокуса, м");
    f.y = file.lastNumber(1, "y фокуса, м");
    f.z = file.lastNumber(2, "z фокуса, м");
    return f;
}

PlaneGrid readGridFile(const std::string &dir, const std::string &name)
{
    const TextFile file = readTextFile(dir, name);
    PlaneGrid grid;
    const std::string kind = file.lastToken(0, "тип плоскости");
    if (kind == "xy" || kind == "XY")
        grid.kind = PlaneKind::Transverse;
    else if (kind == "yz" || kind == "YZ")
        grid.kind = PlaneKind::Axial;
    else
        throw JobError("Ошибка в файле " + name + ", строка 1 (тип плоскости): \"" + readableText(kind)
                       + "\" — ожидается xy или yz");
    grid.fixed = file.lastNumber(1, "координата плоскости, м");
    grid.count1 = readCount(file, 2, "число точек по первой оси");
    grid.count2 = readCount(file, 3, "число точек по второй оси");
    grid.start1 = file.lastNumber(4, "начало первой оси, м");
    grid.start2 = file.lastNumber(5, "начало второй оси, м");
    grid.step1 = file.lastNumber(6, "шаг по первой оси, м");
    grid.step2 = file.lastNumber(7, "шаг по второй оси, м");
    return grid;
}

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
                 "элемент " + std::to_string(n + 1) + " (x = " + formatNumber(e.x) + " м, y = " + formatNumber(e.y)
                     + " м) лежит вне сферы радиуса R = " + formatNumber(array.curvatureRadius) + " м");
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
        fail("шаг по первой оси должен быть положительным: " + formatNumber(grid.step1) + " (строка 7)");
    if (!(grid.step2 > 0))
        fail("шаг по второй оси должен быть положительным: " + formatNumber(grid.step2) + " (строка 8)");
    if (static_cast<double>(grid.count1) * static_cast<double>(grid.count2) > kMaxGridPoints)
        fail("слишком большая сетка: " + std::to_string(grid.count1) + " x " + std::to_string(grid.count2)
             + " точек (допустимо не более " + formatNumber(kMaxGridPoints) + ")");
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
           + formatNumber(grid.fixed) + " м; " + a1 + " от " + formatNumber(grid.start1) + " шаг "
           + formatNumber(grid.step1) + ", " + std::to_string(grid.count1) + " точек; " + a2 + " от "
           + formatNumber(grid.start2) + " шаг " + formatNumber(grid.step2) + ", " + std::to_string(grid.count2)
           + " точек";
}

std::vector<std::string> describeJobInput(const JobInput &input)
{
    const ArrayGeometry &a = input.array;
    const Medium &m = input.medium;
    return {
        "Решетка: апертура A = " + formatNumber(a.aperture) + " м, радиус кривизны R = "
            + formatNumber(a.curvatureRadius) + " м, радиус элементов a = " + formatNumber(a.elementRadius)
            + " м, частота f = " + formatNumber(a.frequency) + " Гц, радиус отверстия = " + formatNumber(a.holeRadius)
            + " м, элементов: " + std::to_string(a.elements.size()),
        "Среда: плотность = " + formatNumber(m.density) + " кг/м3, скорость звука c = " + formatNumber(m.soundSpeed)
            + " м/с, теплоемкость = " + formatNumber(m.heatCapacity)
            + " Дж/кг/К, поглощение = " + formatNumber(m.absorption_dB_cm_MHz) + " дБ/см/МГц",
        "Фокус: (" + formatNumber(input.focus.x) + ", " + formatNumber(input.focus.y) + ", "
            + formatNumber(input.focus.z) + ") м",
        "Сетка (grid_calc.txt): " + describeGrid(input.grid),
    };
}

} // namespace kcalc
