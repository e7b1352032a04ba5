#include "scene_drawing.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <qopengl.h>

#include <algorithm>

#include "shared_params.h"

namespace scenegl {

namespace {

// Colours of the cap, the elements and the calculation planes.
constexpr float kCapR = 238 / 255.0f, kCapG = 81 / 255.0f, kCapB = 74 / 255.0f;
constexpr float kElemR = 42 / 255.0f, kElemG = 112 / 255.0f, kElemB = 182 / 255.0f;
constexpr float kPlaneR = 78 / 255.0f, kPlaneG = 186 / 255.0f, kPlaneB = 111 / 255.0f;

void vertex(const QVector3D &p)
{
    glVertex3f(p.x(), p.y(), p.z());
}

// Outline polygons of one axis letter, taken from the toolkit's text path (font "Arial", 6 points,
// placed at the origin). The font never changes, so the outlines are made once.
const QList<QPolygonF> &letterOutline(char letter)
{
    static QList<QPolygonF> outlines[3];
    static bool made[3] = {false, false, false};
    const int i = letter == 'x' ? 0 : letter == 'y' ? 1 : 2;
    if (!made[i]) {
        QPainterPath path;
        path.addText(QPointF(0, 0), QFont("Arial", 6), QString(QChar(letter)));
        outlines[i] = path.toSubpathPolygons();
        made[i] = true;
    }
    return outlines[i];
}

} // namespace

void CalcShereVertex(double u, double v, const QVector3D &center, double radius)
{
    vertex(scenegeom::sphereVertex(u, v, center, radius));
}

void drwShpere(const QVector3D &center, double radius, int numU, int numV)
{
    const scenegeom::CapRings c = scenegeom::capRings(shared::A, shared::R, shared::rotv, radius, numU, numV);
    if (!c.drawable())
        return;

    glBegin(GL_QUADS);
    for (int i = 0; i < c.numV; ++i) {
        const double v = c.vmin + i * c.dv;
        const float s = float(c.shade(i, radius));
        glColor3f(kCapR * s, kCapG * s, kCapB * s);
        for (double u = 0; u < scenegeom::kTwoPi; u += c.du) {
            CalcShereVertex(u, v, center, radius);
            CalcShereVertex(u + c.du, v, center, radius);
            CalcShereVertex(u + c.du, v + c.dv, center, radius);
            CalcShereVertex(u, v + c.dv, center, radius);
        }
    }
    glEnd();

    glColor3f(kCapR, kCapG, kCapB);
    glBegin(GL_QUADS);
    for (int i = 0; i < c.numV; ++i) {
        const double v = c.vmin + i * c.dv;
        for (double u = 0; u < scenegeom::kTwoPi; u += c.du) {
            CalcShereVertex(u, v, center, radius);
            CalcShereVertex(u, v + c.dv, center, radius);
            CalcShereVertex(u + c.du, v + c.dv, center, radius);
            CalcShereVertex(u + c.du, v, center, radius);
        }
    }
    glEnd();
}

void round(const QVector3D &n, const QVector3D &v1, const QVector3D &c, float dt)
{
    for (bool forward : {true, false}) {
        glBegin(GL_POLYGON);
        for (const QVector3D &p : scenegeom::discOutline(n, v1, c, dt, forward))
            vertex(p);
        glEnd();
    }
}

void drw_Fool_Shpere(const QVector3D &center, double radius, int numU, int numV)
{
    glColor3f(0, 0, 0);
    numU = std::max(numU, 1);
    numV = std::max(numV, 1);
    const double du = scenegeom::kTwoPi / numU, dv = scenegeom::kPi / numV;
    glBegin(GL_QUADS);
    for (double v = 0; v < scenegeom::kPi; v += dv) {
        for (double u = 0; u < scenegeom::kTwoPi; u += du) {
            CalcShereVertex(u, v, center, radius);
            CalcShereVertex(u + du, v, center, radius);
            CalcShereVertex(u + du, v + dv, center, radius);
            CalcShereVertex(u, v + dv, center, radius);
        }
    }
    for (double v = 0; v < scenegeom::kPi; v += dv) {
        for (double u = 0; u < scenegeom::kTwoPi; u += du) {
            CalcShereVertex(u, v, center, radius);
            CalcShereVertex(u, v + dv, center, radius);
            CalcShereVertex(u + du, v + dv, center, radius);
            CalcShereVertex(u + du, v, center, radius);
        }
    }
    glEnd();
}

void drawFocusMarker(bool offPlane)
{
    // The sphere's vertices have z negated, so its centre is given with -zF.
    const float R = shared::R;
    const QVector3D centre(float(shared::xF / R), float(shared::yF / R), float(-shared::zF / R));
    if (!offPlane) {
        drw_Fool_Shpere(centre, 0.02, 10, 10);
        return;
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    drw_Fool_Shpere(centre, 0.025, 8, 6);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void drawElements()
{
    const float dt = scenegeom::discStep(int(shared::Elem.size()));
    for (const VDOUB &e : shared::Elem) {
        if (e.size() < 2)
            continue;
        glColor3f(kElemR, kElemG, kElemB);
        const scenegeom::ElementDisc d = scenegeom::elementDisc(e[0], e[1], shared::R, shared::r);
        if (d.drawable())
            round(d.normal, d.radius, d.discCentre, dt);
    }
}

void drawAxisLines()
{
    glLineWidth(1.0f);
    glColor3f(0, 0, 0);
    glBegin(GL_LINES);
    glVertex3f(1, 0, 0);
    glVertex3f(-1, 0, 0);
    glVertex3f(0, 1, 0);
    glVertex3f(0, -1, 0);
    glVertex3f(0, 0, 2);
    glVertex3f(0, 0, -1);
    glEnd();
}

void drawAxisLabels(double zAt)
{
    glColor3f(0, 0, 0);
    for (char letter : {'x', 'y', 'z'}) {
        for (const QPolygonF &poly : letterOutline(letter)) {
            glBegin(GL_LINE_LOOP);
            for (const QPointF &p : poly)
                vertex(scenegeom::axisLabelPoint(letter, p, zAt));
            glEnd();
        }
    }
}

void drawQuads(const QVector<scenegeom::Quad> &quads)
{
    glBegin(GL_QUADS);
    for (const scenegeom::Quad &q : quads)
        for (const QVector3D &p : q)
            vertex(p);
    glEnd();
}

void drawTranslucentQuads(const QVector<scenegeom::Quad> &quads)
{
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(kPlaneR, kPlaneG, kPlaneB, 0.5f);
    drawQuads(quads);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glColor4f(0, 0, 0, 1);
}

} // namespace scenegl
