#include "show_vesk_wnd.h"
#include "ui_show_vesk_wnd.h"

#include <QCloseEvent>

#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "shared_params.h"
#include "window_common.h"

namespace {
const QSize designSize(823, 652);
const QSize planeMinimum(701, 529);

// Moves on to a calculation plane window that was built before the flags were cleared (its
// constructor reads is_foc): clears them, places it, leaves this window, fills in the default
// focus, shows it and lets it check its data.
template <class PlaneWindow> void moveToPlaneWindow(QWidget *from, PlaneWindow *plane)
{
    resetPlaneWindowFlags();
    plane->setGeometry(planeWindowGeometry(from->geometry()));
    window::leave(from, plane);
    plane->SetFocusDefault();
    plane->show();
    plane->CheckData();
}
} // namespace

QRect planeWindowGeometry(const QRect &arrayWindow)
{
    if (arrayWindow.width() < planeMinimum.width() || arrayWindow.height() < planeMinimum.height())
        return QRect(arrayWindow.topLeft(), planeMinimum);
    return arrayWindow;
}

void resetPlaneWindowFlags()
{
    shared::is_side = false;
    shared::is_prodol = false;
    shared::is_poper = false;
    shared::is_foc = false;
}

Show_Vesk_wnd::Show_Vesk_wnd(QWidget *parent) : QTabWidget(parent), ui(new Ui::Show_Vesk_wnd)
{
    ui->setupUi(this);
    setWindowTitle(QString::fromUtf8("Моделирование решетки"));
    ui->widget->setFocusPolicy(Qt::StrongFocus);
    window::setIconFromAppDir(this);
    setMinimumSize(window::scaledSize(designSize, true));
}

Show_Vesk_wnd::~Show_Vesk_wnd()
{
    delete ui;
}

void Show_Vesk_wnd::closeEvent(QCloseEvent *event)
{
    window::confirmExit(this, event);
}

// ---- Navigation ----------------------------------------------------------------------------

void Show_Vesk_wnd::backToMainWindow(const QString &title)
{
    // The new main window owns a new array window; this one is freed (with its main window, if a
    // main window owns it) once the new one is shown.
    MainWindow *mainWindow = new MainWindow();
    mainWindow->not_first();
    if (!title.isEmpty())
        mainWindow->setWindowTitle(title);
    window::setIconFromAppDir(mainWindow);
    window::moveOn(this, mainWindow);
}

void Show_Vesk_wnd::on_pushButton_2_clicked()
{
    backToMainWindow(QString::fromUtf8("Выбор начальных параметров"));
}

void Show_Vesk_wnd::on_pushButton_clicked()
{
    backToMainWindow(QString());
}

void Show_Vesk_wnd::openPlaneWindow()
{
    moveToPlaneWindow(this, new plane_ch_wnd());
}

void Show_Vesk_wnd::on_pushButton_4_clicked()
{
    // From the front view the plane window starts with the focus marked as complete.
    shared::is_foc = true;
    openPlaneWindow();
}

void Show_Vesk_wnd::on_pushButton_3_clicked()
{
    openPlaneWindow();
}
