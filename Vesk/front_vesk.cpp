#include "front_vesk.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "shared_params.h"

namespace frontview {

double scale(int w, int h, double A)
{
    const int m = std::min(w, h);
    return (m - 50) / A;
}

ElementShape elementShape(double x, double y, float R, double r)
{
    ElementShape shape;
    // Degrees with the factor 180 / 3.14 the view has always used (not 180 / pi): the turn is
    // about 0.05 % larger than the true polar angle of the element.
    shape.angleDeg = std::atan2(y, x) * 57.324840764331206;
    const double rho = std::sqrt(x * x + y * y);
    // Tilt of the element on the cap: its disc is seen foreshortened by cos(gamma) along the radius.
    const double cosGamma = std::cos(std::asin(rho / R));
    // Sagitta of the element's disc, scaled by the sine of its polar angle: the drawn ellipse sits
    // this much inside the nominal centre.
    const double hgt = (1 - std::cos(std::asin(r / R))) * R;
    const double delta = rho / R * hgt;
    shape.offset = rho - delta;
    shape.radialSemi = r * cosGamma;
    shape.tangentialSemi = r;
    return shape;
}

double paint(QPainter &painter, int w, int h)
{
    const double A = shared::A;
    const double K = scale(w, h, A);
    const int m = std::min(w, h);

    painter.translate(w / 2.0, h / 2.0);

    // Rim of the aperture and the central hole, both filled white.
    painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawEllipse(int(K * A / (-2)), int(K * A / (-2)), int(K * A), int(K * A));
    const double rotv = shared::rotv;
    painter.drawEllipse(int(-K * rotv), int(-K * rotv), int(2 * K * rotv), int(2 * K * rotv));

    // Elements: the ellipse of the tilted disc, then its nominal centre.
    painter.setPen(QPen(Qt::blue, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const double r = shared::r;
    for (const VDOUB &element : shared::Elem) {
        const double x = element[0];
        const double y = element[1];
        const ElementShape s = elementShape(x, y, shared::R, r);
        painter.rotate(s.angleDeg);
        painter.translate(s.offset * K, 0);
        painter.drawEllipse(int(-K * s.radialSemi), int(-K * r), int(2 * K * s.radialSemi),
                            int(2 * K * r));
        painter.translate(-s.offset * K, 0);
        painter.rotate(-s.angleDeg);
        painter.drawPoint(int(x * K), int(y * K));
    }

    // Axes without ticks: they show the orientation only.
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setFont(QFont("Arial", 15));
    painter.drawLine(0, m / 2 - 3, 0, -m / 2 + 3);
    painter.drawText(9, -m / 2 + 18, QString::fromUtf8("y, см"));
    painter.drawLine(-m / 2 + 3, 0, m / 2 - 3, 0);
    painter.drawText(m / 2 - 5, -9, QString::fromUtf8("x, см"));
    return K;
}

} // namespace frontview

Front_Vesk::Front_Vesk(QWidget *parent) : QWidget(parent) {}

void Front_Vesk::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    W = width();
    H = height();
    K = frontview::paint(painter, width(), height());
}
