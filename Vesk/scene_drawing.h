#ifndef SCENE_DRAWING_H
#define SCENE_DRAWING_H

#include <QVector3D>

#include "scene_geometry.h"

// Immediate-mode drawing primitives shared by the array scene and the plane preview scenes. They
// expect a current OpenGL context (call them from paintGL) and read the shared parameters where
// noted. The geometry comes from scene_geometry.h.
namespace scenegl {

// Emits one vertex of the sphere around center at azimuth u and polar angle v, z negated as a whole.
void CalcShereVertex(double u, double v, const QVector3D &center, double radius);

// The cap between the hole and the rim (reads A, R and rotv): a pass of quads in a red graded from
// the hole outwards, then the same quads with the opposite winding in plain red, so with face culling
// one side of the cap shows each colour.
void drwShpere(const QVector3D &center, double radius, int numU, int numV);

// One element disc: normal n, radius vector v1 in the disc plane, centre c, angular step dt. Drawn
// twice with opposite windings so it shows from both sides.
void round(const QVector3D &n, const QVector3D &v1, const QVector3D &c, float dt);

// A full black sphere (the focus marker), both windings.
void drw_Fool_Shpere(const QVector3D &center, double radius, int numU, int numV);

// The focus marker: a black sphere of radius 0.02 around the focus (reads xF, yF, zF and R); a
// focus off the calculation plane is drawn hollow, as the sphere's wire mesh.
void drawFocusMarker(bool offPlane = false);

// The element discs of the shared element list (reads Elem, R and r), in the element colour.
void drawElements();

// The three axes and their letter outlines.
void drawAxisLines();
void drawAxisLabels(double zAt = 2.0);

// Quads in the current colour.
void drawQuads(const QVector<scenegeom::Quad> &quads);

// Translucent green quads (the calculation planes); leaves blending off and the colour black.
void drawTranslucentQuads(const QVector<scenegeom::Quad> &quads);

} // namespace scenegl

#endif // SCENE_DRAWING_H
