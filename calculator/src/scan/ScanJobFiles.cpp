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
        throw JobError(
            msg::scanPlanesDiffer(input.focusGrid.kind == PlaneKind::Axial, input.fieldGrid.kind == PlaneKind::Axial));
    const double need = kjobs::scanMemoryBytes(input.fieldGrid.pointCount(), input.focusGrid.pointCount(),
                                               input.array.elements.size(), omp_get_max_threads());
    const double have = kjobs::physicalMemoryBytes();
    if (!kjobs::fitsInMemory(need, have))
        throw JobError(msg::scanTooLarge(input.fieldGrid.pointCount(), input.focusGrid.pointCount(),
                                         input.array.elements.size(), resultNumber(std::round(need / 1048576)),
                                         resultNumber(std::round(have / 1048576))));
}

std::vector<std::string> describeScanJobInput(const ScanJobInput &input)
{
    JobInput asField;
    asField.array = input.array;
    asField.medium = input.medium;
    std::vector<std::string> lines = describeJobInput(asField);
    lines.resize(2); // array and medium; the focus is stepped
    lines.push_back(msg::gridOfFile(msg::kFocusRegion, "grid_calc.txt", describeGrid(input.focusGrid)));
    lines.push_back(msg::gridOfFile(msg::kFieldRegion, "grid_scan.txt", describeGrid(input.fieldGrid)));
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
