// Writes the job folders of the default quality scans of the example array exactly as the
// application does: the example array in the shared parameters and the default regions of the
// plane's quality window for main and side maxima, written as its run buttons write them, without
// starting the batch file. No window is built, so no display is needed.
// scripts/bench-quality-scans.sh times the calculator on what this writes.
// Usage: kormax-quality-jobs <application dir> axial|transverse
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "build_list_of_elem.h"
#include "job_files.h"
#include "main_params.h"
#include "platform.h"
#include "scan_jobs.h"
#include "shared_params.h"

int main(int argc, char *argv[])
{
    if (argc != 3 || (std::strcmp(argv[2], "axial") != 0 && std::strcmp(argv[2], "transverse") != 0)) {
        std::fprintf(stderr, "usage: kormax-quality-jobs <application dir> axial|transverse\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const bool axial = std::strcmp(argv[2], "axial") == 0;
    platform::setAppDirOverride(dir);

    // The example data of the main window.
    mainparams::setExampleArray();
    shared::initpres = 250000;
    if (!build_list_of_elem(dir + "/Elements_Quist_Marvane.txt")) {
        std::fprintf(stderr, "no example array in %s\n", qPrintable(dir));
        return 1;
    }

    for (const bool side : {false, true}) {
        const QList<jobfiles::JobFile> files = scanjob::jobFiles(axial, scanjob::defaultFieldTexts(axial, side));
        for (const jobfiles::JobFile &f : files) {
            const QString refusal = f.name.startsWith("grid_") ? jobfiles::gridRefusal(f.bytes, f.name) : QString();
            if (!refusal.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(refusal));
                return 1;
            }
        }
        QString failed;
        if (!jobfiles::writeFiles(jobfiles::kindFolder(side ? "side_max" : "main_max"), files, &failed)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(failed));
            return 1;
        }
    }
    return 0;
}
