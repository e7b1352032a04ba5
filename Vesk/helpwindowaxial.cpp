#include "helpwindowaxial.h"
#include "ui_helpwindowaxial.h"

#include "help_common.h"
#include "window_common.h"

HelpWindowAxial::HelpWindowAxial(QWidget *parent) : QWidget(parent), ui(new Ui::HelpWindowAxial)
{
    ui->setupUi(this);
    // Each press of the help button opens another window; it goes away when closed.
    setAttribute(Qt::WA_DeleteOnClose);
    help::setUpWindow(this, "Справка: выбор аксиальной плоскости расчета поля", QSize(648, 537));
}

HelpWindowAxial::~HelpWindowAxial()
{
    delete ui;
}

void HelpWindowAxial::moveToCenter()
{
    window::moveToCenter(this);
}
