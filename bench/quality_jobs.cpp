// Writes the job folders of the default quality scans of the example array exactly as the
// application does: the example array in the shared parameters, the quality window of the plane,
// its default button for main (or side) maxima and its run button, with the batch file's start
// left out. scripts/bench-quality-scans.sh times the calculator on what this writes.
// Usage: kormax-quality-jobs <application dir> axial|transverse
// Needs a display for the windows' previews (run it under xvfb-run).
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstring>

#include "axialquality_wnd.h"
#include "build_list_of_elem.h"
#include "main_params.h"
#include "platform.h"
#include "radialquality_wnd.h"
#include "shared_params.h"

int main(int argc, char *argv[])
{
    if (argc != 3 || (std::strcmp(argv[2], "axial") != 0 && std::strcmp(argv[2], "transverse") != 0)) {
        std::fprintf(stderr, "usage: kormax-quality-jobs <application dir> axial|transverse\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const bool axial = std::strcmp(argv[2], "axial") == 0;
    platform::setAppDirOverride(dir);
    QStringList errors;
    platform::setBoxHandler([&errors](const platform::Box &box) {
        if (box.title == QString("Ошибка!"))
            errors << box.text;
        return QMessageBox::Ok;
    });
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });

    // The example data of the main window.
    mainparams::setExampleArray();
    shared::initpres = 250000;
    if (!build_list_of_elem(dir + "/Elements_Quist_Marvane.txt")) {
        std::fprintf(stderr, "no example array in %s\n", qPrintable(dir));
        return 1;
    }

    QWidget *w =
        axial ? static_cast<QWidget *>(new AxialQuality_wnd()) : static_cast<QWidget *>(new RadialQuality_wnd());
    auto click = [w](const char *name) { w->findChild<QPushButton *>(name)->click(); };
    click(axial ? "Button_def_main" : "Button_def");
    click("pushButton");
    click(axial ? "Button_def_side" : "Button_def_2");
    click("pushButton_2");
    for (const QString &e : errors)
        std::fprintf(stderr, "%s\n", qPrintable(e));
    delete w;
    return errors.isEmpty() ? 0 : 1;
}
