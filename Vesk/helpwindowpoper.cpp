#include "helpwindowpoper.h"
#include "ui_helpwindowpoper.h"

#include "help_common.h"
#include "window_common.h"

HelpWindowPoper::HelpWindowPoper(QWidget *parent) : QWidget(parent), ui(new Ui::HelpWindowPoper)
{
    ui->setupUi(this);
    // Each press of the help button opens another window; it goes away when closed.
    setAttribute(Qt::WA_DeleteOnClose);
    help::setUpWindow(this, "Справка: выбор поперечной плоскости расчета поля", QSize(612, 544));
}

HelpWindowPoper::~HelpWindowPoper()
{
    delete ui;
}

void HelpWindowPoper::moveToCenter()
{
    window::moveToCenter(this);
}
