// The input files of a job folder: the application's writers and the calculator's readers.
#include <cmath>

#include "JobProtocol.h"

namespace kjobs {

namespace {

// Labels as the application writes them; the calculator reads only the numbers after them.
const char *const kArrayName = "Название решетки:    Quist-Marvane";

std::string line(const char *label, const char *gap, double value)
{
    return toCp1251(label) + gap + numberText(value);
}

} // namespace

const std::vector<JobKind> &jobKinds()
{
    static const std::vector<JobKind> kinds = {
        {"field", "calc", "calc.bat", "Расчет поля"},
        {"main_max", "main_max", "Trovane.bat", "Оценка качества поля: главные максимумы"},
        {"side_max", "side_max", "Trovane.bat", "Оценка качества поля: боковые максимумы"},
        // The two share their folder and input files (HeatingFiles.cpp).
        {"volume", "heat", "volume.bat", "Расчет поля в объеме"},
        {"heating", "heat", "heat.bat", "Расчет нагрева"},
        // Files of the designer's score job: calculator/src/design/ScoreFiles.h.
        {"score", "score", "score.bat", "Оценки расположения элементов"},
        // Files of the design batch: calculator/src/design/DesignBatch.h.
        {"design", "design", "design.bat", "Проектирование решетки: серия кандидатов"},
    };
    return kinds;
}

const JobKind *findJobKind(const std::string &name)
{
    for (const JobKind &kind : jobKinds())
        if (name == kind.name)
            return &kind;
    return nullptr;
}

std::string jobFolder(const std::string &kindName)
{
    const JobKind *kind = findJobKind(kindName);
    return kind ? kind->folder : kindName;
}

bool parsePlaneKind(const std::string &text, PlaneKind &kind)
{
    if (text == "xy" || text == "XY")
        kind = PlaneKind::Transverse;
    else if (text == "yz" || text == "YZ")
        kind = PlaneKind::Axial;
    else
        return false;
    return true;
}

std::string fieldResultName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "AbsField_XY.txt" : "AbsField_YZ.txt";
}

std::string scanResultName(PlaneKind kind)
{
    return kind == PlaneKind::Transverse ? "AbsField_XY.bin" : "AbsField_YZ.bin";
}

PlaneKind layoutOfName(const std::string &name)
{
    const std::size_t n = name.size();
    return n >= 6 && name[n - 6] == 'X' && name[n - 5] == 'Y' ? PlaneKind::Transverse : PlaneKind::Axial;
}

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

std::size_t appNx(const PlaneGrid &g)
{
    return static_cast<std::size_t>(g.kind == PlaneKind::Axial ? g.count2 : g.count1);
}

std::size_t appNy(const PlaneGrid &g)
{
    return static_cast<std::size_t>(g.kind == PlaneKind::Axial ? g.count1 : g.count2);
}

// ---- Writers ----

std::string arrayText(const ArrayGeometry &a)
{
    // The array's name is the example array's for every array the calculator is given.
    return toCp1251(kArrayName) + "\n" + line("Апертура решетки, м:", "     ", a.aperture) + "\n"
           + line("Радиус кривизны решетки, м:", "     ", a.curvatureRadius) + "\n"
           + line("Радиус элементов решетки, м:", "     ", a.elementRadius) + "\n"
           + line("Рабочая частота решетки, Гц:", "    ", a.frequency) + "\n"
           + line("Радиус отверстия, м:", "     ", a.holeRadius);
}

std::string mediumText(const Medium &m)
{
    return toCp1251("Название среды:\t\t\t" + m.name) + "\n" + line("Плотность, кг/м3:", "\t\t", m.density) + "\n"
           + line("Скорость звука в среде, м/с:", "\t", m.soundSpeed) + "\n"
           + line("Теплоемкость, Дж/кг/К:", "\t\t", m.heatCapacity) + "\n"
           + line("Поглощение в среде, дБ/см/МГц:", "\t", m.absorption_dB_cm_MHz);
}

std::string elementsText(const std::vector<ElementPosition> &elements)
{
    std::string text;
    for (const ElementPosition &e : elements)
        text += numberText(e.x) + " " + numberText(e.y) + "\n";
    return text;
}

std::string focusText(const Point3 &f)
{
    return numberText(f.x) + "\n" + numberText(f.y) + "\n" + numberText(f.z);
}

std::string gridText(PlaneKind kind, double fixed, double count1, double count2, double start1, double start2,
                     double step1, double step2)
{
    std::string text = kind == PlaneKind::Transverse ? "xy" : "yz";
    for (const double v : {fixed, count1, count2, start1, start2, step1, step2})
        text += "\n" + numberText(v);
    return text;
}

std::string gridText(const PlaneGrid &g)
{
    return gridText(g.kind, g.fixed, static_cast<double>(g.count1), static_cast<double>(g.count2), g.start1, g.start2,
                    g.step1, g.step2);
}

// ---- Readers ----

void readArrayFile(const std::string &dir, ArrayGeometry &array)
{
    // Line 1 is the array's name; lines 2-6 end with A, R, a, f, hole radius.
    const TextFile file = readTextFile(dir, names::array);
    file.lastNumbers(1, {{&array.aperture, "апертура решетки, м"},
                         {&array.curvatureRadius, "радиус кривизны решетки, м"},
                         {&array.elementRadius, "радиус элементов решетки, м"},
                         {&array.frequency, "рабочая частота решетки, Гц"},
                         {&array.holeRadius, "радиус отверстия, м"}});
}

void readMediumFile(const std::string &dir, Medium &medium)
{
    // Line 1 is the medium's name; lines 2-5 end with density, speed of sound, heat capacity, absorption.
    const TextFile file = readTextFile(dir, names::medium);
    file.lastNumbers(1, {{&medium.density, "плотность, кг/м3"},
                         {&medium.soundSpeed, "скорость звука, м/с"},
                         {&medium.heatCapacity, "теплоемкость, Дж/кг/К"},
                         {&medium.absorption_dB_cm_MHz, "поглощение, дБ/см/МГц"}});
}

std::vector<ElementPosition> readElementsFile(const std::string &dir)
{
    const TextFile file = readTextFile(dir, names::elements);
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
    const TextFile file = readTextFile(dir, names::focus);
    Point3 f;
    file.lastNumbers(0, {{&f.x, "x фокуса, м"}, {&f.y, "y фокуса, м"}, {&f.z, "z фокуса, м"}});
    return f;
}

PlaneGrid readGridFile(const std::string &dir, const std::string &name)
{
    const TextFile file = readTextFile(dir, name);
    PlaneGrid grid;
    const std::string kind = file.lastToken(0, "тип плоскости");
    if (!parsePlaneKind(kind, grid.kind))
        throw JobError(file.where(0, "тип плоскости") + ": \"" + readableText(kind) + "\" — ожидается xy или yz");
    grid.fixed = file.lastNumber(1, "координата плоскости, м");
    grid.count1 = file.lastCount(2, "число точек по первой оси", Count::Whole);
    grid.count2 = file.lastCount(3, "число точек по второй оси", Count::Whole);
    file.lastNumbers(4, {{&grid.start1, "начало первой оси, м"},
                         {&grid.start2, "начало второй оси, м"},
                         {&grid.step1, "шаг по первой оси, м"},
                         {&grid.step2, "шаг по второй оси, м"}});
    return grid;
}

} // namespace kjobs
