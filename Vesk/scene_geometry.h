#ifndef SCENE_GEOMETRY_H
#define SCENE_GEOMETRY_H

#include <QMatrix4x4>
#include <QPointF>
#include <QVector3D>
#include <QVector>

// Geometry of the 3D scenes, free of OpenGL so it can be checked by numbers.
//
// Scene coordinates: every length is divided by the radius of curvature R, so the cap has radius 1.
// The cap's pole is at the origin, its centre of curvature (the geometric focus) at (0, 0, 1), and z
// runs along the array axis towards the focus.
namespace scenegeom {

// The full turn used by the cap, the focus sphere and the ring loops.
constexpr double kTwoPi = 6.283184;
constexpr double kPi = 3.141592;
// Degrees to radians with pi taken as 3.1415 (the axial plane's angle).
constexpr double kDegToRad = 0.01745277777777778;

// Centre of the element at Elem position (x, y) on the cap, in single precision. The loader stores y
// flipped; flipping it once more shows the file's y direction.
QVector3D elementCentre(double x, double y, float R);

// Unit normal of the element centred at p: from the centre of curvature through the element, pointing
// away from the focus.
QVector3D elementNormal(const QVector3D &p);

// A radius vector of length a in the disc plane, perpendicular to the normal n.
QVector3D elementRadiusVector(const QVector3D &n, float a);

// Centre of the flat disc of radius a whose rim lies on the cap: the element centre moved towards the
// focus by the disc's sagitta plus 0.001 (so the disc sits just in front of the cap).
QVector3D elementDiscCentre(const QVector3D &p, const QVector3D &n, float a);

// Everything needed to draw one element disc.
struct ElementDisc {
    QVector3D centre; // on the cap
    QVector3D normal; // unit, away from the focus
    QVector3D radius; // in the disc plane, length = element radius / R
    QVector3D discCentre;
    // False for an element that cannot sit on the cap (outside the sphere, or a disc as wide as
    // the sphere): its coordinates are undefined and it is not drawn.
    bool drawable() const;
};
ElementDisc elementDisc(double x, double y, float R, double r);

// Angular step of the disc outlines: coarser for large arrays.
float discStep(int elementCount);

// The corners of a disc outline (normal n, radius vector v1, centre c, step dt): the first polygon
// runs from angle 0 upwards while below 6.283, the second one back from 6.283 while above 0, so the
// two have opposite windings and one of them faces the viewer from either side.
QVector<QVector3D> discOutline(const QVector3D &n, const QVector3D &v1, const QVector3D &c, float dt, bool forward);

// Point of the sphere of the given centre and radius at azimuth u and polar angle v, with z negated as
// a whole: with centre (0, 0, -1) and radius 1 this is the cap around (0, 0, 1).
QVector3D sphereVertex(double u, double v, const QVector3D &center, double radius);

// The rings of the cap between the hole's rim (vmin) and the aperture's rim (vmax).
struct CapRings {
    int numU = 1, numV = 1;
    double ratio = 0; // A / R
    double du = 0;    // azimuth step
    double vmin = 0;  // polar angle of the hole's rim
    double vmax = 0;  // polar angle of the aperture's rim
    double dv = 0;    // polar step
    // Brightness of ring i of the graded pass: grows from the hole outwards.
    double shade(int i, double radius) const;
    // False when there is no cap between hole and rim (a hole as wide as the aperture, parameters
    // not set, or a rim beyond the sphere): nothing is drawn then rather than undefined rings.
    bool drawable() const;
};
CapRings capRings(double A, float R, double rotv, double radius, int numU, int numV);

// The orthographic box of a w x h viewport: the shorter side spans [-1, 1].
struct OrthoBox {
    double left, right, bottom, top;
};
OrthoBox orthoBox(int w, int h);

// Scene point of a point (px, py) of the outline of axis letter 'x', 'y' or 'z'; the letter z sits
// at height zAt on its axis.
QVector3D axisLabelPoint(char letter, const QPointF &p, double zAt = 2.0);

// The view transform of the scenes as paintGL sets it: scale nSca, shift zTra upwards, then the
// turns xRot, yRot, zRot (degrees) about x, y and z.
QMatrix4x4 viewTransform(float nSca, float zTra, float xRot, float yRot, float zRot);

// Height of the letter z on its axis: the axis's end zEnd when the letter is seen whole there,
// otherwise the highest point towards the pole where it is (in steps of 0.05), so a scene zoomed in
// on a plane keeps its caption; 0 when there is none.
double zLabelHeight(const QMatrix4x4 &view, const OrthoBox &box, double zEnd);

// Axial plane: the point at distance rho across the axis and height z on the plane turned by phi
// (radians) about the axis and shifted sideways by h.
QVector3D axialPlanePoint(double rho, double z, double phi, double h);

// A flat quadrilateral, corners in drawing order.
typedef QVector<QVector3D> Quad;

// The translucent transverse plane (scene units): the rectangle and then its reverse.
QVector<Quad> transversePlaneQuads(double rx, double ry, double zo);
// The black frame of the transverse focus-shift region: four bands of width 0.02 just in front of the
// rectangle's z and the same four, opposite winding, just behind it.
QVector<Quad> transverseFrameQuads(double rx, double ry, double zo);
// The translucent axial plane (scene units, phi in degrees) and its reverse.
QVector<Quad> axialPlaneQuads(double zmin, double zmax, double r, double phiDeg);
// The black frame of the axial focus-shift region, eight bands at one side offset.
QVector<Quad> axialFrameQuads(double zmin, double zmax, double r, double phiDeg);

// Zoom-to-fit: how far a plane or the focus reaches from the pole (metres).
double transverseReach(double zop, double rxp, double ryp);
double axialReach(double zmaxpr, double rpr);
double focusReach(double xF, double yF, double zF);
// The zoom that shows a reach d at the scale of the array (R / (1.3 d)), at most 1.5. A reach of
// zero, or an unset radius, gives the limit rather than an infinite or undefined zoom.
float fitZoom(float R, double d);

// The keyboard and wheel zoom steps.
constexpr float kMaxZoom = 1.5f;
float zoomIn(float nSca);
float zoomOut(float nSca);

} // namespace scenegeom

#endif // SCENE_GEOMETRY_H
