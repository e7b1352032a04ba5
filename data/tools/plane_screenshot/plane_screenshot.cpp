// Takes the documentation's screenshots of the calculation plane window: the example array with
// the default transverse plane, and the default axial plane on the second tab.
// Usage: kormax-plane-screenshot <output dir> <application dir>
#include <QApplication>
#include <QDir>
#include <QGLWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <cstdio>

#include "plane_ch_wnd.h"
#include "platform.h"
#include "shared_params.h"

namespace {

// The example array's values; its elements on rings between the central hole and the rim.
void setExampleArray()
{
    using namespace shared;
    A = 0.17;
    R = 0.13f;
    r = 0.0035;
    nu = 1e6;
    rotv = 0.02;
    ro = 1000;
    c = 1500;
    Elem.clear();
    for (double rho = rotv + 1.5 * r; rho < A / 2 - r; rho += 2.6 * r) {
        const int n = int(2 * M_PI * rho / (2.6 * r));
        for (int i = 0; i < n; ++i)
            Elem.push_back({rho * std::cos(2 * M_PI * i / n), rho * std::sin(2 * M_PI * i / n)});
    }
}

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
    setExampleArray();

    plane_ch_wnd w;
    w.resize(823, 652);
    w.show();
    w.findChild<QPushButton *>("Button_def")->click();
    bool ok = save(&w, out + "/plane_window.png");

    w.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
    w.findChild<QPushButton *>("Button_def_2")->click();
    ok = save(&w, out + "/plane_window_axial.png") && ok;
    return ok ? 0 : 1;
}
