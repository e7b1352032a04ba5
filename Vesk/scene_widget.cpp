#include "scene_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "scene_drawing.h"
#include "scene_geometry.h"

SceneWidget::SceneWidget(QWidget *parent) : QGLWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

// View operations ---------------------------------------------------------------------------------

void SceneWidget::scale_plus()
{
    nSca = scenegeom::zoomIn(nSca);
}

void SceneWidget::scale_minus()
{
    nSca = scenegeom::zoomOut(nSca);
}

void SceneWidget::rotate_up()
{
    xRot += 1;
}

void SceneWidget::rotate_down()
{
    xRot -= 1;
}

void SceneWidget::rotate_left()
{
    yRot += 1;
}

void SceneWidget::rotate_right()
{
    yRot -= 1;
}

void SceneWidget::translate_down()
{
    zTra = float(zTra - 0.05);
}

void SceneWidget::translate_up()
{
    zTra = float(zTra + 0.05);
}

void SceneWidget::defaultScene()
{
    xRot = -90;
    yRot = 0;
    zRot = 0;
    zTra = 0;
    nSca = 1;
}

// Input: change the view, then redraw ---------------------------------------------------------------

void SceneWidget::mousePressEvent(QMouseEvent *event)
{
    ptrMousePosition = event->pos();
}

void SceneWidget::mouseReleaseEvent(QMouseEvent *) {}

void SceneWidget::mouseMoveEvent(QMouseEvent *event)
{
    // Both directions of a drag turn the model about its axis.
    const QPoint d = event->pos() - ptrMousePosition;
    zRot += 180 / nSca * float(d.y()) / float(height());
    zRot += 180 / nSca * float(d.x()) / float(width());
    ptrMousePosition = event->pos();
    updateGL();
}

void SceneWidget::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        scale_plus();
    else if (delta < 0)
        scale_minus();
    updateGL();
}

void SceneWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        scale_plus();
        break;
    case Qt::Key_Minus:
        scale_minus();
        break;
    case Qt::Key_Up:
        rotate_down();
        break;
    case Qt::Key_Down:
        rotate_up();
        break;
    case Qt::Key_Left:
        rotate_right();
        break;
    case Qt::Key_Right:
        rotate_left();
        break;
    case Qt::Key_Z:
        translate_down();
        break;
    case Qt::Key_X:
        translate_up();
        break;
    case Qt::Key_Space:
        defaultScene();
        break;
    case Qt::Key_Escape:
        // Hides the scene in its tab; it stays hidden until its window is rebuilt.
        close();
        break;
    default:
        break;
    }
    updateGL();
}

// OpenGL ------------------------------------------------------------------------------------------

void SceneWidget::initializeGL()
{
    qglClearColor(Qt::white);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
}

void SceneWidget::resizeGL(int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const scenegeom::OrthoBox b = scenegeom::orthoBox(w, h);
    glOrtho(b.left, b.right, b.bottom, b.top, -10.0, 10.0);
    glViewport(0, 0, w, h);
}

void SceneWidget::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(nSca, nSca, nSca);
    glTranslatef(0.0f, zTra, 0.0f);
    glRotatef(xRot, 1.0f, 0.0f, 0.0f);
    glRotatef(yRot, 0.0f, 1.0f, 0.0f);
    glRotatef(zRot, 0.0f, 0.0f, 1.0f);

    drawAxis();
    drawFigure();
    // The z caption moves down its axis when the zoom would put it outside the view.
    scenegl::drawAxisLabels(scenegeom::zLabelHeight(scenegeom::viewTransform(nSca, zTra, xRot, yRot, zRot),
                                                    scenegeom::orthoBox(width(), height()), 2.0));
    drawOverlay();
}

void SceneWidget::drawAxis()
{
    scenegl::drawAxisLines();
}

void SceneWidget::drawFigure()
{
    glLineWidth(2.0f);
    scenegl::drwShpere(QVector3D(0, 0, -1), 1, 50, 30);
    scenegl::drawElements();
}
