#include "scan/ScanJobFiles.h"

#include <cmath>

#include <omp.h>

#include "JobLimits.h"
#include "params/JobError.h"

namespace kcalc::scan {

ScanJobInput readScanJobInput(const std::string &dir)
{
    ScanJobInput input;
    readArrayFile(dir, input.array);
    readMediumFile(dir, input.medium);
    input.array.elements = readElementsFile(dir);
    input.focusGrid = readGridFile(dir, "grid_calc.txt");
    input.fieldGrid = readGridFile(dir, "grid_scan.txt");
    return input;
}

void checkScanJobInput(const ScanJobInput &input)
{
    checkArrayAndMedium(input.array, input.medium);
    checkGrid(input.focusGrid, "grid_calc.txt");
    checkGrid(input.fieldGrid, "grid_scan.txt");
    if (input.focusGrid.kind != input.fieldGrid.kind)
        throw JobError(std::string("Ошибка в файлах grid_calc.txt и grid_scan.txt: область смещения фокуса задана в ")
                       + (input.focusGrid.kind == PlaneKind::Axial ? "аксиальной (yz)" : "поперечной (xy)")
                       + " плоскости, а область расчета поля — в "
                       + (input.fieldGrid.kind == PlaneKind::Axial ? "аксиальной (yz)" : "поперечной (xy)"));
    const double need = kjobs::scanMemoryBytes(input.fieldGrid.pointCount(), input.focusGrid.pointCount(),
                                               input.array.elements.size(), omp_get_max_threads());
    const double have = kjobs::physicalMemoryBytes();
    if (!kjobs::fitsInMemory(need, have))
        throw JobError("Слишком большие сетки оценки качества (grid_calc.txt, grid_scan.txt): для "
                       + std::to_string(input.fieldGrid.pointCount()) + " точек области расчета поля, "
                       + std::to_string(input.focusGrid.pointCount()) + " положений фокуса и "
                       + std::to_string(input.array.elements.size()) + " элементов нужно около "
                       + resultNumber(std::round(need / 1048576)) + " МиБ памяти, доступно "
                       + resultNumber(std::round(have / 1048576)) + " МиБ");
}

std::vector<std::string> describeScanJobInput(const ScanJobInput &input)
{
    JobInput asField;
    asField.array = input.array;
    asField.medium = input.medium;
    std::vector<std::string> lines = describeJobInput(asField);
    lines.resize(2); // array and medium; the focus is stepped
    lines.push_back("Область смещения фокуса (grid_calc.txt): " + describeGrid(input.focusGrid));
    lines.push_back("Область расчета поля (grid_scan.txt): " + describeGrid(input.fieldGrid));
    return lines;
}

ScanJobSetup scanJobSetup(const ScanJobInput &input, ScanKind kind)
{
    ScanJobSetup setup;
    setup.kind = kind;
    setup.focus = input.focusGrid;
    setup.field = input.fieldGrid;
    return setup;
}

} // namespace kcalc::scan
