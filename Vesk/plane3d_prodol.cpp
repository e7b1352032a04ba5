#include "plane3d_prodol.h"

plane3d_prodol::plane3d_prodol(QWidget *parent) : QGLWidget(parent) {}

void plane3d_prodol::SetPrPlainParam(double, double, int, int, double, double, double, double) {}
void plane3d_prodol::ClickOnBut() {}
void plane3d_prodol::ClickOnBut_no_foc() {}
void plane3d_prodol::ClickOnBut_qual(double, double) {}
void plane3d_prodol::RescaleToOne() {}
