#include "field_job.h"

#include "JobProtocol.h"
#include "job_files.h"
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

QList<jobfiles::JobFile> planeFiles(bool axial)
{
    return jobfiles::elementsAndFocusFiles(axial)
           << jobfiles::JobFile{kjobs::names::gridCalc, jobfiles::planeGridText(axial)};
}

bool run(QWidget *parent, bool axialTab)
{
    jobfiles::Job job = jobfiles::kindJob("field");
    job.files = jobfiles::arrayAndMediumFiles();
    // The plane's own files and the result the calculator will write for it.
    QString resultFile;
    for (bool axial : {false, true}) {
        if (!(axial ? shared::is_prodol : shared::is_poper))
            continue;
        job.files += planeFiles(axial);
        resultFile = job.folder
                     + QString::fromStdString(
                         kjobs::fieldResultName(axial ? kjobs::PlaneKind::Axial : kjobs::PlaneKind::Transverse));
    }
    job.written = [resultFile] {
        if (!resultFile.isEmpty())
            shared::file_to_calc = resultFile;
    };
    job.check = [axialTab] { return checkPlane(axialTab); };
    job.refuse = [axialTab] {
        const QString grid = jobfiles::gridRefusal(jobfiles::planeGridText(axialTab), "Область расчета поля");
        return grid.isEmpty() ? jobfiles::focusRefusal(shared::xF, shared::yF, shared::zF) : grid;
    };
    return jobfiles::run(parent, job);
}

SharedGrid recordRun(bool axialTab)
{
    using namespace shared;
    const SharedGrid grid =
        axialTab ? std::make_shared<const Grid>(int(Nzpr), int(2 * Nrpr - 1), dzpr, drpr, zminpr, zmaxpr,
                                                -(Nrpr - 1) * drpr, (Nrpr - 1) * drpr)
                 : std::make_shared<const Grid>(int(2 * Nxp - 1), int(2 * Nyp - 1), dxp, dyp, -(Nxp - 1) * dxp,
                                                (Nxp - 1) * dxp, -(Nyp - 1) * dyp, (Nyp - 1) * dyp);
    Nx_G = grid->Nx;
    Ny_G = grid->Ny;
    return grid;
}

} // namespace fieldjob
