#include "helppoper.h"

#include "help_common.h"

HelpPoper::HelpPoper(QWidget *parent) : QWidget(parent) {}

void HelpPoper::paintEvent(QPaintEvent *)
{
    help::paintPicture(this, "/help_poper.png");
}
