#include "show_vesk_wnd.h"
#include "ui_show_vesk_wnd.h"

#include <QCloseEvent>

#include "window_requests.h"
#include "shared_params.h"
#include "window_common.h"

namespace {
const QSize designSize(823, 652);
const QSize planeMinimum(701, 529);

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
    emit WindowRequests::instance().mainWindow(this, title);
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
    emit WindowRequests::instance().planeWindow(this);
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
