#include "field_job.h"

#include "job_files.h"
#include "platform.h"
#include "shared_params.h"

namespace fieldjob {

QString checkPlane(bool axialTab)
{
    using namespace shared;
    if (!axialTab) {
        if (Nxp <= 1)
            return "Область не может быть задана менее, чем двумя точками по x";
        if (Nyp <= 1)
            return "Область не может быть задана менее, чем двумя точками по y";
        if (dxp == 0)
            return "Невозможен нулевой шаг по x!";
        if (dyp == 0)
            return "Невозможен нулевой шаг по y!";
    } else {
        if (Nrpr <= 1)
            return "Область не может быть задана менее, чем двумя точками по r";
        if (Nzpr <= 1)
            return "Область не может быть задана менее, чем двумя точками по z";
        if (drpr == 0)
            return "Невозможен нулевой шаг по r!";
        if (dzpr == 0)
            return "Невозможен нулевой шаг по z!";
    }
    return QString();
}

namespace {
// The plane's own files and the path of the result the calculator will write for it.
bool writePlane(const QString &folder, bool axial, QString *failedPath)
{
    if (!jobfiles::writeElementsAndFocus(folder, axial, failedPath))
        return false;
    const QString gridPath = folder + "grid_calc.txt";
    if (!jobfiles::writePlaneGrid(gridPath, axial)) {
        *failedPath = gridPath;
        return false;
    }
    shared::file_to_calc = folder + (axial ? "AbsField_YZ.txt" : "AbsField_XY.txt");
    return true;
}
} // namespace

bool run(QWidget *parent, bool axialTab)
{
    const QString folder = jobfiles::folderPath("calc");
    QString failedPath;
    bool written = jobfiles::writeArrayAndMedium(folder, &failedPath);
    if (written && shared::is_poper)
        written = writePlane(folder, false, &failedPath);
    if (written && shared::is_prodol)
        written = writePlane(folder, true, &failedPath);
    if (!written) {
        jobfiles::reportWriteFailure(parent, failedPath);
        return false;
    }

    // A rejected plane keeps the files just written but leaves the marker of an earlier run alone.
    const QString problem = checkPlane(axialTab);
    if (!problem.isEmpty()) {
        platform::information(parent, jobfiles::errorTitle, problem);
        return false;
    }

    if (!jobfiles::launch(folder, "calc.bat")) {
        jobfiles::reportStartFailure(parent, folder + "calc.bat");
        return false;
    }
    jobfiles::waitForCalculator(parent);
    return true;
}

Grid *recordRun(bool axialTab)
{
    using namespace shared;
    Grid *grid;
    if (!axialTab)
        grid = new Grid(int(2 * Nxp - 1), int(2 * Nyp - 1), dxp, dyp, -(Nxp - 1) * dxp,
                        (Nxp - 1) * dxp, -(Nyp - 1) * dyp, (Nyp - 1) * dyp);
    else
        grid = new Grid(int(Nzpr), int(2 * Nrpr - 1), dzpr, drpr, zminpr, zmaxpr,
                        -(Nrpr - 1) * drpr, (Nrpr - 1) * drpr);
    Nx_G = grid->Nx;
    Ny_G = grid->Ny;
    return grid;
}

} // namespace fieldjob
