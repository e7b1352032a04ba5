#include "front_vesk.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "shared_params.h"

namespace frontview {

namespace {
// Pixel coordinate truncated towards zero. Kept within a range the painter can take, so absurd
// inputs (a radius of curvature a million times the aperture) draw outside the view instead of
// overflowing an int.
int px(double v)
{
    const double limit = 1 << 24;
    return int(std::max(-limit, std::min(limit, v)));
}

// An element farther from the axis than R has no place on the sphere (asin(rho / R) undefined).
bool onCap(double x, double y, double R)
{
    return std::hypot(x, y) <= R;
}

// At most this many numbers are listed; the count says how many there are in all.
const int listedOffCap = 12;
} // namespace

double scale(int w, int h, double A)
{
    const int m = std::min(w, h);
    return (m - 50) / A;
}

ElementShape elementShape(double x, double y, float R, double r)
{
    ElementShape shape;
    // Degrees with the factor 180 / 3.14, not 180 / pi: the turn is about 0.05 % larger than the
    // polar angle (at most 0.09 degrees), far below a pixel at the size of the view.
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

QVector<int> offCapElements(const VDOUB2 &elements, double R)
{
    QVector<int> numbers;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (!onCap(elements[i][0], elements[i][1], R))
            numbers << int(i) + 1;
    }
    return numbers;
}

QString offCapNote(const QVector<int> &numbers)
{
    if (numbers.isEmpty())
        return QString();
    QStringList listed;
    for (int i = 0; i < numbers.size() && i < listedOffCap; ++i)
        listed << QString::number(numbers[i]);
    QString note = QString::fromUtf8("Не показаны элементы дальше радиуса кривизны от оси (не могут "
                                     "лежать на сфере): № ")
                   + listed.join(", ");
    if (numbers.size() > listedOffCap)
        note += QString::fromUtf8(", … (всего %1)").arg(numbers.size());
    return note;
}

double tickStep(double halfSpanCm)
{
    if (!(halfSpanCm > 0) || !std::isfinite(halfSpanCm))
        return 0;
    // About five ticks on each half of an axis, at 1, 2 or 5 times a power of ten.
    const double raw = halfSpanCm / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * power >= raw * (1 - 1e-9))
            return f * power;
    return 10 * power;
}

namespace {
// Ticks every `step` centimetres along both axes, numbered; y grows upwards as in the element file.
void drawScale(QPainter &painter, double K, int m)
{
    const double half = (m / 2 - 3) / K * 100; // cm
    const double step = tickStep(half);
    if (step <= 0)
        return;
    painter.setFont(QFont("Arial", 8));
    const QFontMetrics metrics(painter.font());
    for (int k = -int(half / step); k <= int(half / step); ++k) {
        if (k == 0)
            continue;
        const double cm = k * step;
        const int at = px(cm / 100 * K);
        const QString text = QString::number(cm, 'g', 6);
        painter.drawLine(at, -3, at, 3);
        painter.drawText(at - metrics.horizontalAdvance(text) / 2, 5 + metrics.ascent(), text);
        painter.drawLine(-3, -at, 3, -at);
        painter.drawText(-6 - metrics.horizontalAdvance(text), -at + metrics.ascent() / 2, text);
    }
}
} // namespace

double paint(QPainter &painter, int w, int h)
{
    const double A = shared::A;
    const double K = scale(w, h, A);
    const int m = std::min(w, h);

    painter.translate(w / 2.0, h / 2.0);

    // Rim of the aperture and the central hole, both filled white.
    painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawEllipse(px(K * A / (-2)), px(K * A / (-2)), px(K * A), px(K * A));
    const double rotv = shared::rotv;
    painter.drawEllipse(px(-K * rotv), px(-K * rotv), px(2 * K * rotv), px(2 * K * rotv));

    // Elements: the ellipse of the tilted disc, then its nominal centre.
    painter.setPen(QPen(Qt::blue, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const double r = shared::r;
    const QVector<int> offCap = offCapElements(shared::Elem, shared::R);
    for (const VDOUB &element : shared::Elem) {
        const double x = element[0];
        const double y = element[1];
        if (!onCap(x, y, shared::R))
            continue;
        const ElementShape s = elementShape(x, y, shared::R, r);
        painter.rotate(s.angleDeg);
        painter.translate(s.offset * K, 0);
        painter.drawEllipse(px(-K * s.radialSemi), px(-K * r), px(2 * K * s.radialSemi), px(2 * K * r));
        painter.translate(-s.offset * K, 0);
        painter.rotate(-s.angleDeg);
        painter.drawPoint(px(x * K), px(y * K));
    }

    // Axes with a scale in centimetres, so the array's size can be read off.
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setFont(QFont("Arial", 15));
    painter.drawLine(0, m / 2 - 3, 0, -m / 2 + 3);
    painter.drawText(9, -m / 2 + 18, QString::fromUtf8("y, см"));
    painter.drawLine(-m / 2 + 3, 0, m / 2 - 3, 0);
    painter.drawText(m / 2 - 5, -9, QString::fromUtf8("x, см"));
    painter.setPen(QPen(Qt::black, 1));
    drawScale(painter, K, m);

    const QString note = offCapNote(offCap);
    if (!note.isEmpty()) {
        painter.setPen(Qt::red);
        painter.setFont(QFont("Arial", 9));
        painter.drawText(QRect(-w / 2 + 4, h / 2 - 40, w - 8, 38), Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
                         note);
    }
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
