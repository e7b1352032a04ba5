#include "plane3D.h"

plane3D::plane3D(QWidget *parent) : QGLWidget(parent) {}

void plane3D::SetPopPlainParam(double, int, int, double, double, double, double) {}
void plane3D::ClickOnBut() {}
void plane3D::ClickOnBut_no_foc() {}
void plane3D::ClickOnBut_qual(double, double, double) {}
void plane3D::RescaleToOne() {}
