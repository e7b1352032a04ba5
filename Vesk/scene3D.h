#ifndef SCENE3D_H
#define SCENE3D_H

#include "scene_widget.h"

// The array as a rotatable 3D model on the array window's "3D" tab: the cap with its central hole,
// the element discs and the labelled axes. It reads the shared parameters on every frame.
class Scene3D : public SceneWidget
{
    Q_OBJECT
public:
    explicit Scene3D(QWidget *parent = nullptr);
};

#endif // SCENE3D_H
