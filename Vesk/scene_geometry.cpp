#include "scene_geometry.h"

#include <algorithm>
#include <cmath>

namespace scenegeom {

QVector3D elementCentre(double x, double y, float R)
{
    const float fx = float(x), fy = float(y);
    const float X = fx / R;
    const float Y = -fy / R;
    const float Z = (R - std::sqrt(R * R - fx * fx - fy * fy)) / R;
    return QVector3D(X, Y, Z);
}

QVector3D elementNormal(const QVector3D &p)
{
    const float X = p.x(), Y = p.y();
    const float Z = -std::sqrt(1.0f - X * X - Y * Y);
    const float len = std::sqrt(X * X + Y * Y + Z * Z);
    return QVector3D(X / len, Y / len, Z / len);
}

QVector3D elementRadiusVector(const QVector3D &n, float a)
{
    const float s = std::sqrt(n.y() * n.y() + n.z() * n.z());
    return QVector3D(0.0f, -a * n.z() / s, a * n.y() / s);
}

QVector3D elementDiscCentre(const QVector3D &p, const QVector3D &n, float a)
{
    const float shift = 1.0f - std::sqrt(1.0f - a * a) + 0.001f;
    return p - shift * n;
}

ElementDisc elementDisc(double x, double y, float R, double r)
{
    ElementDisc d;
    const float a = float(r) / R;
    d.centre = elementCentre(x, y, R);
    d.normal = elementNormal(d.centre);
    d.radius = elementRadiusVector(d.normal, a);
    d.discCentre = elementDiscCentre(d.centre, d.normal, a);
    return d;
}

bool ElementDisc::drawable() const
{
    for (const QVector3D &v : {centre, normal, radius, discCentre})
        if (!std::isfinite(v.x()) || !std::isfinite(v.y()) || !std::isfinite(v.z()))
            return false;
    return true;
}

float discStep(int elementCount)
{
    if (elementCount > 512)
        return 0.785375f;
    if (elementCount > 10)
        return 0.3926875f;
    return 0.1f;
}

QVector<QVector3D> discOutline(const QVector3D &n, const QVector3D &v1, const QVector3D &c, float dt, bool forward)
{
    QVector<QVector3D> pts;
    if (!(dt > 0.0f))
        return pts;
    const float L = v1.length();
    if (!(L > 0.0f))
        return pts; // an element of no size has no disc
    const QVector3D u = v1 / L;
    const QVector3D w = QVector3D::crossProduct(n, u);
    const QVector3D t = QVector3D::crossProduct(n, w);
    auto at = [&](float a) { return c + L * (w * std::cos(a) + t * std::sin(a)); };
    if (forward) {
        for (float a = 0.0f; a < 6.283f; a += dt)
            pts.append(at(a));
    } else {
        // The test comes after each step, so the first corner is always emitted.
        float a = 6.283f;
        do {
            pts.append(at(a));
            a -= dt;
        } while (a > 0.0f);
    }
    return pts;
}

QVector3D sphereVertex(double u, double v, const QVector3D &center, double radius)
{
    const double x = center.x() + radius * std::cos(u) * std::sin(v);
    const double y = center.y() + radius * std::sin(u) * std::sin(v);
    const double z = center.z() + radius * std::cos(v);
    return QVector3D(float(x), float(y), float(-z));
}

double CapRings::shade(int i, double radius) const
{
    const double v = vmin + i * dv;
    return v * radius / ratio;
}

bool CapRings::drawable() const
{
    return std::isfinite(vmin) && std::isfinite(vmax) && std::isfinite(ratio) && vmax > vmin;
}

CapRings capRings(double A, float R, double rotv, double radius, int numU, int numV)
{
    CapRings c;
    c.numU = std::max(numU, 1);
    c.numV = std::max(numV, 1);
    c.ratio = A / R;
    c.du = kTwoPi / c.numU;
    c.vmin = std::asin(rotv / R);
    c.vmax = std::asin(c.ratio / 2 / radius);
    c.dv = (c.vmax - c.vmin) / c.numV;
    return c;
}

OrthoBox orthoBox(int w, int h)
{
    const float ratio = float(h) / float(w);
    if (w >= h)
        return OrthoBox{-1.0 / ratio, 1.0 / ratio, -1.0, 1.0};
    return OrthoBox{-1.0, 1.0, -ratio, ratio};
}

QVector3D axisLabelPoint(char letter, const QPointF &p, double zAt)
{
    const double px = p.x(), py = p.y();
    switch (letter) {
    case 'x':
        return QVector3D(float(0.02 * px + 0.9), float(-0.02 * py + 0.02), 0.0f);
    case 'y':
        return QVector3D(float(0.02 * px + 0.02), float(-0.02 * py + 0.8), 0.0f);
    default:
        return QVector3D(float(0.02 * px + 0.02), float(-0.02 * py + 0.02), float(zAt));
    }
}

QMatrix4x4 viewTransform(float nSca, float zTra, float xRot, float yRot, float zRot)
{
    QMatrix4x4 m;
    m.scale(nSca);
    m.translate(0.0f, zTra, 0.0f);
    m.rotate(xRot, 1.0f, 0.0f, 0.0f);
    m.rotate(yRot, 0.0f, 1.0f, 0.0f);
    m.rotate(zRot, 0.0f, 0.0f, 1.0f);
    return m;
}

double zLabelHeight(const QMatrix4x4 &view, const OrthoBox &box, double zEnd)
{
    // The letter's outline (Arial 6 points, scaled by 0.02) lies within 0.02 to 0.14 in x and y.
    const double corners[] = {0.02, 0.14};
    for (double z = zEnd; z > 0; z -= 0.05) {
        bool seen = true;
        for (double x : corners)
            for (double y : corners) {
                const QVector3D p = view.map(QVector3D(float(x), float(y), float(z)));
                seen = seen && p.x() >= box.left && p.x() <= box.right && p.y() >= box.bottom && p.y() <= box.top;
            }
        if (seen)
            return z;
    }
    return 0;
}

QVector3D axialPlanePoint(double rho, double z, double phi, double h)
{
    const double s = std::sin(phi), c = std::cos(phi);
    return QVector3D(float(rho * s - h * c), float(rho * c + h * s), float(z));
}

namespace {

Quad reversed(const Quad &q)
{
    return Quad{q[3], q[2], q[1], q[0]};
}

// Appends the quads, then the same quads with the opposite winding.
void appendBothWindings(QVector<Quad> &out, const QVector<Quad> &front)
{
    out += front;
    for (const Quad &q : front)
        out.append(reversed(q));
}

// The four bands of width h inside the border of the rectangle [-a, a] x [-b, b], each given as
// (first coordinate, second coordinate) corners in one winding.
QVector<QVector<QPointF>> frameBands(double a, double b, double h)
{
    return {
        {{a, b}, {-a, b}, {-a, b - h}, {a, b - h}},     // along the second coordinate's top
        {{-a + h, b}, {-a, b}, {-a, -b}, {-a + h, -b}}, // along the first coordinate's low edge
        {{a, -b + h}, {-a, -b + h}, {-a, -b}, {a, -b}}, // along the second coordinate's bottom
        {{a, b}, {a - h, b}, {a - h, -b}, {a, -b}},     // along the first coordinate's high edge
    };
}

constexpr double kBand = 0.02;

} // namespace

QVector<Quad> transversePlaneQuads(double rx, double ry, double zo)
{
    const float z = float(zo);
    const Quad q{QVector3D(float(rx), float(ry), z), QVector3D(float(-rx), float(ry), z),
                 QVector3D(float(-rx), float(-ry), z), QVector3D(float(rx), float(-ry), z)};
    QVector<Quad> out;
    appendBothWindings(out, {q});
    return out;
}

QVector<Quad> transverseFrameQuads(double rx, double ry, double zo)
{
    const double hz = 0.006;
    QVector<Quad> out;
    const auto bands = frameBands(rx, ry, kBand);
    for (const auto &band : bands) {
        Quad q;
        for (const QPointF &p : band)
            q.append(QVector3D(float(p.x()), float(p.y()), float(zo + hz)));
        out.append(q);
    }
    for (const auto &band : bands) {
        Quad q;
        for (const QPointF &p : band)
            q.append(QVector3D(float(p.x()), float(p.y()), float(zo - hz)));
        out.append(reversed(q));
    }
    return out;
}

QVector<Quad> axialPlaneQuads(double zmin, double zmax, double r, double phiDeg)
{
    const double phi = phiDeg * kDegToRad;
    const double h = -0.005;
    const Quad q{axialPlanePoint(r, zmax, phi, h), axialPlanePoint(-r, zmax, phi, h), axialPlanePoint(-r, zmin, phi, h),
                 axialPlanePoint(r, zmin, phi, h)};
    QVector<Quad> out;
    appendBothWindings(out, {q});
    return out;
}

QVector<Quad> axialFrameQuads(double zmin, double zmax, double r, double phiDeg)
{
    const double phi = phiDeg * kDegToRad;
    const double hz = -0.006;
    // The frame of [-r, r] x [zmin, zmax]: bands in (rho, z - zmid) around the middle height.
    const double zmid = (zmin + zmax) / 2, hz2 = (zmax - zmin) / 2;
    QVector<Quad> front;
    for (const auto &band : frameBands(r, hz2, kBand)) {
        Quad q;
        for (const QPointF &p : band)
            q.append(axialPlanePoint(p.x(), zmid + p.y(), phi, hz));
        front.append(q);
    }
    QVector<Quad> out;
    appendBothWindings(out, front);
    return out;
}

double transverseReach(double zop, double rxp, double ryp)
{
    const double m = std::max(rxp, ryp);
    return std::sqrt(zop * zop + m * m);
}

double axialReach(double zmaxpr, double rpr)
{
    return std::sqrt(zmaxpr * zmaxpr + rpr * rpr);
}

double focusReach(double xF, double yF, double zF)
{
    return std::sqrt(xF * xF + yF * yF + zF * zF);
}

float fitZoom(float R, double d)
{
    const double z = double(R) / (1.3 * d);
    // Also catches 0/0 (nothing set yet), which would leave the view stuck at an undefined zoom.
    if (!(z < double(kMaxZoom)))
        return kMaxZoom;
    return float(z);
}

float zoomIn(float nSca)
{
    const float z = float(double(nSca) * 1.1);
    return z > kMaxZoom ? kMaxZoom : z;
}

float zoomOut(float nSca)
{
    return float(double(nSca) / 1.1);
}

} // namespace scenegeom
