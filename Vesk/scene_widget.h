#ifndef SCENE_WIDGET_H
#define SCENE_WIDGET_H

#include <QGLWidget>
#include <QPoint>

// The view of a 3D scene: turns in degrees, shift along the screen's vertical, zoom.
struct SceneViewState {
    float xRot, yRot, zRot, zTra, nSca;
};

// The array as a rotatable, zoomable model: cap, element discs, axes and their letters, in a scene
// normalised to the radius of curvature. The array scene and the plane preview scenes derive from
// it and add their planes, outlines and markers in drawOverlay().
class SceneWidget : public QGLWidget
{
    Q_OBJECT
public:
    explicit SceneWidget(QWidget *parent = nullptr);

    SceneViewState viewState() const { return {xRot, yRot, zRot, zTra, nSca}; }

    // View operations of the keys and the wheel; none of them redraws.
    void scale_plus();
    void scale_minus();
    void rotate_up();
    void rotate_down();
    void rotate_left();
    void rotate_right();
    void translate_down();
    void translate_up();
    void defaultScene();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

    void drawAxis();
    void drawFigure();
    // What a derived scene draws after the array and the axis letters.
    virtual void drawOverlay() {}

    float xRot = 10;
    float yRot = 40;
    float zRot = 0;
    float zTra = 0;
    float nSca = 1;
    QPoint ptrMousePosition;
};

#endif // SCENE_WIDGET_H
