#include "scene3D.h"

Scene3D::Scene3D(QWidget *parent) : SceneWidget(parent) {}
