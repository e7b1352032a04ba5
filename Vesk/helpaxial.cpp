#include "helpaxial.h"

#include "help_common.h"

HelpAxial::HelpAxial(QWidget *parent) : QWidget(parent) {}

void HelpAxial::paintEvent(QPaintEvent *)
{
    help::paintPicture(this, "/help_prodol.png");
}
