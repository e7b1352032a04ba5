#include "navigator.h"

#include "axialquality_wnd.h"
#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "radialquality_wnd.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"
#include "window_common.h"
#include "window_requests.h"

namespace navigator {

namespace {

void toMainWindow(QWidget *from, const QString &title)
{
    // The new main window owns a new array window; `from` is freed (with its main window, if a
    // main window owns it) once the new one is shown.
    MainWindow *mainWindow = new MainWindow();
    mainWindow->not_first();
    if (!title.isEmpty())
        mainWindow->setWindowTitle(title);
    window::setIconFromAppDir(mainWindow);
    window::moveOn(from, mainWindow);
}

void toPlaneWindow(QWidget *from)
{
    // Built before the flags are cleared: its constructor reads is_foc.
    plane_ch_wnd *plane = new plane_ch_wnd();
    resetPlaneWindowFlags();
    plane->setGeometry(planeWindowGeometry(from->geometry()));
    window::leave(from, plane);
    plane->SetFocusDefault();
    plane->show();
    plane->CheckData();
}

void toArrayWindow(QWidget *from)
{
    // An array window of its own (no main window owns it); its way back builds a main window.
    window::moveOn(from, new Show_Vesk_wnd());
}

// The quality windows take over the plane; their previews show the plane and the focus-shift
// region, not the focus.
void toQualityWindow(QWidget *from, bool axial)
{
    using namespace shared;
    QWidget *next;
    if (axial) {
        AxialQuality_wnd *w = new AxialQuality_wnd();
        is_prodol = true;
        is_scan = false;
        is_foc = false;
        w->SetCalcData(zminpr, zmaxpr, rpr, phipr, Nrpr, Nzpr, drpr, dzpr);
        w->SetScaleGL();
        next = w;
    } else {
        RadialQuality_wnd *w = new RadialQuality_wnd();
        is_prodol = true;
        is_scan = false;
        is_foc = false;
        w->SetCalcData(zop, rxp, ryp, Nxp, Nyp, dxp, dyp);
        w->SetScaleGL();
        next = w;
    }
    window::moveOn(from, next);
}

void toPlaneWindowRefilled(QWidget *from, bool axial, const QStringList &f)
{
    plane_ch_wnd *plane = new plane_ch_wnd();
    shared::is_prodol = axial;
    shared::is_poper = !axial;
    if (axial && f.size() == 8)
        plane->NotFirst_prodol(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]);
    else if (!axial && f.size() == 7)
        plane->NotFirst_poper(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
    window::moveOn(from, plane);
}

} // namespace

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    WindowRequests &r = WindowRequests::instance();
    QObject::connect(&r, &WindowRequests::mainWindow, toMainWindow);
    QObject::connect(&r, &WindowRequests::planeWindow, toPlaneWindow);
    QObject::connect(&r, &WindowRequests::arrayWindow, toArrayWindow);
    QObject::connect(&r, &WindowRequests::qualityWindow, toQualityWindow);
    QObject::connect(&r, &WindowRequests::planeWindowRefilled, toPlaneWindowRefilled);
}

} // namespace navigator
