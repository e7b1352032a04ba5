// Takes the documentation's screenshots of the calculation plane window the way a user reaches it:
// example data, Continue, "Далее >", then the default transverse plane and, on the second tab, the
// default axial plane.
// Usage: kormax-plane-screenshot <output dir> <application dir>
#include <QApplication>
#include <QDir>
#include <QGLWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>

#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "platform.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"

namespace {

// A window grab leaves OpenGL widgets empty: paint their frame buffers over it.
QImage grabWithScenes(QWidget *w)
{
    QApplication::processEvents();
    QImage shot = w->grab().toImage();
    QPainter p(&shot);
    for (QGLWidget *gl : w->findChildren<QGLWidget *>()) {
        if (!gl->isVisible())
            continue;
        p.drawImage(gl->mapTo(w, QPoint(0, 0)), gl->grabFrameBuffer());
    }
    return shot;
}

bool save(QWidget *w, const QString &path)
{
    const bool ok = grabWithScenes(w).save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output dir> <application dir>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString out = QDir(argv[1]).absolutePath();
    platform::setAppDirOverride(QDir(argv[2]).absolutePath());
    // The design size at the reference resolution, whatever the virtual screen says.
    platform::setScreenOverride(96, QRect(0, 0, 1280, 1024));
    platform::setBoxHandler([](const platform::Box &) { return QMessageBox::Ok; });
    shared::resetEntryFlags();

    MainWindow main;
    main.show();
    main.findChild<QPushButton *>("pushButton_5")->click(); // example data
    main.findChild<QPushButton *>("pushButton_2")->click(); // Continue
    Show_Vesk_wnd *array = main.arrayWindow();
    if (!array->isVisible()) {
        std::fprintf(stderr, "the array window did not open (is the example element file there?)\n");
        return 1;
    }
    array->findChild<QPushButton *>("pushButton_4")->click(); // "Далее >"
    plane_ch_wnd *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<plane_ch_wnd *>(top))
            if (p->isVisible())
                w = p;
    if (!w) {
        std::fprintf(stderr, "the plane window did not open\n");
        return 1;
    }
    w->findChild<QPushButton *>("Button_def")->click();
    bool ok = save(w, out + "/plane_window.png");

    w->findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
    w->findChild<QPushButton *>("Button_def_2")->click();
    ok = save(w, out + "/plane_window_axial.png") && ok;
    return ok ? 0 : 1;
}
