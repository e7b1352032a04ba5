#ifndef SCENE3D_H
#define SCENE3D_H

#include <QGLWidget>

// The array as a rotatable 3D model on the array window's "3D" tab.
class Scene3D : public QGLWidget
{
    Q_OBJECT
public:
    explicit Scene3D(QWidget *parent = nullptr);
};

#endif // SCENE3D_H
