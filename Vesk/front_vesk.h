#ifndef FRONT_VESK_H
#define FRONT_VESK_H

#include <QString>
#include <QVector>
#include <QWidget>

#include "shared_params.h"

class QPainter;

// The array seen from the front (along its axis), in the aperture plane.
namespace frontview {

// Pixels per metre for a widget of w x h pixels: the smaller side less 50 pixels spans the aperture.
double scale(int w, int h, double A);

// How one element's tilted disc is seen from the front: turned by angleDeg (clockwise on screen)
// about the centre, shifted by offset metres along that direction, an ellipse with semi-axes
// radialSemi (along the radius) and tangentialSemi (across it), all in metres.
struct ElementShape {
    double angleDeg;
    double offset;
    double radialSemi;
    double tangentialSemi;
};
ElementShape elementShape(double x, double y, float R, double r);

// Numbers (from 1, in the file's order) of the elements farther from the axis than the radius of
// curvature: they cannot sit on the cap, have no tilt and are left out of the view.
QVector<int> offCapElements(const VDOUB2 &elements, double R);
// The line the view writes under the array about them; empty when there are none.
QString offCapNote(const QVector<int> &numbers);

// Step of the scale along an axis reaching halfSpanCm centimetres from the centre: 1, 2 or 5 times
// a power of ten, about five ticks on either side (0 for an axis of no length).
double tickStep(double halfSpanCm);

// Paints the whole front view for a w x h widget from the shared parameters and returns the scale.
double paint(QPainter &painter, int w, int h);

} // namespace frontview

class Front_Vesk : public QWidget
{
    Q_OBJECT
public:
    explicit Front_Vesk(QWidget *parent = nullptr);

    // Width, height and scale (pixels per metre) of the last paint.
    double W = 0;
    double H = 0;
    double K = 0;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // FRONT_VESK_H
