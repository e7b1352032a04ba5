#include <gtest/gtest.h>

#include <cmath>

#include "scene_geometry.h"

using namespace scenegeom;

namespace {

// Radius of curvature and element radius of the example array (R is single precision).
const float kR = 0.13f;
const double kElemRadius = 0.0035;

double distance(const QVector3D &a, const QVector3D &b)
{
    return double((a - b).length());
}

// Normal of the polygon through the points (Newell's method), not normalised.
QVector3D polygonNormal(const QVector<QVector3D> &pts)
{
    QVector3D n;
    for (int i = 0; i < pts.size(); ++i) {
        const QVector3D &a = pts[i], &b = pts[(i + 1) % pts.size()];
        n += QVector3D((a.y() - b.y()) * (a.z() + b.z()), (a.z() - b.z()) * (a.x() + b.x()),
                       (a.x() - b.x()) * (a.y() + b.y()));
    }
    return n;
}

} // namespace

TEST(SceneGeometry, ElementCentreNormalAndDiscSitOnTheCap)
{
    // Elem holds y flipped by the loader; the scene flips it back.
    const ElementDisc d = elementDisc(0.05, -0.0, kR, kElemRadius);
    EXPECT_NEAR(d.centre.x(), 0.05 / 0.13, 1e-6);
    const ElementDisc e = elementDisc(0.03, -0.04, kR, kElemRadius);
    EXPECT_NEAR(e.centre.x(), 3.0 / 13, 1e-6);
    EXPECT_NEAR(e.centre.y(), 4.0 / 13, 1e-6);
    EXPECT_NEAR(e.centre.z(), 1.0 / 13, 1e-6); // (0.13 - 0.12) / 0.13

    // The centre lies on the unit sphere around the focus (0, 0, 1) and the normal points from the
    // focus through it.
    const QVector3D focus(0, 0, 1);
    EXPECT_NEAR(distance(e.centre, focus), 1.0, 1e-6);
    EXPECT_NEAR(e.normal.x(), 3.0 / 13, 1e-6);
    EXPECT_NEAR(e.normal.y(), 4.0 / 13, 1e-6);
    EXPECT_NEAR(e.normal.z(), -12.0 / 13, 1e-6);
    EXPECT_NEAR(e.normal.length(), 1.0, 1e-6);

    // The radius vector has the element's size in scene units and lies in the disc plane.
    const double a = kElemRadius / 0.13;
    EXPECT_NEAR(e.radius.length(), a, 1e-7);
    EXPECT_NEAR(QVector3D::dotProduct(e.radius, e.normal), 0.0, 1e-7);

    // The disc centre is moved towards the focus by the sagitta plus 0.001, so the rim lies just
    // inside the cap: at 1 - 0.001 * sqrt(1 - a^2) from the focus.
    EXPECT_NEAR(distance(e.discCentre, focus), std::sqrt(1 - a * a) - 0.001, 1e-6);
    const double rimDistance = std::sqrt(std::pow(std::sqrt(1 - a * a) - 0.001, 2) + a * a);
    for (bool forward : {true, false}) {
        const QVector<QVector3D> rim = discOutline(e.normal, e.radius, e.discCentre, 0.1f, forward);
        ASSERT_EQ(rim.size(), 63);
        for (const QVector3D &p : rim) {
            EXPECT_NEAR(distance(p, focus), rimDistance, 2e-6);
            EXPECT_NEAR(distance(p, e.discCentre), a, 1e-6);
        }
    }
}

TEST(SceneGeometry, PoleElementDiscIsPerpendicularToTheAxis)
{
    const ElementDisc d = elementDisc(0.0, 0.0, kR, kElemRadius);
    const float a = float(kElemRadius) / kR;
    EXPECT_EQ(d.centre, QVector3D(0, 0, 0));
    EXPECT_EQ(d.normal, QVector3D(0, 0, -1));
    EXPECT_NEAR(d.radius.x(), 0.0, 1e-9);
    EXPECT_NEAR(d.radius.y(), a, 1e-7);
    EXPECT_NEAR(d.radius.z(), 0.0, 1e-9);
    const float sag = 1.0f - std::sqrt(1.0f - a * a) + 0.001f;
    EXPECT_NEAR(d.discCentre.z(), sag, 1e-7);
    for (const QVector3D &p : discOutline(d.normal, d.radius, d.discCentre, 0.3926875f, true)) {
        EXPECT_NEAR(p.z(), sag, 1e-7);
        EXPECT_NEAR(std::hypot(p.x(), p.y()), a, 1e-6);
    }
}

TEST(SceneGeometry, ElementsOffTheSphereAreNotDrawn)
{
    EXPECT_TRUE(elementDisc(0.08, 0.02, kR, kElemRadius).drawable());
    EXPECT_FALSE(elementDisc(0.13, 0.05, kR, kElemRadius).drawable());
    EXPECT_FALSE(elementDisc(0.01, 0.0, kR, 0.2).drawable());
    EXPECT_FALSE(elementDisc(0.01, 0.0, 0.0f, kElemRadius).drawable());
    const ElementDisc dot = elementDisc(0.01, 0.0, kR, 0.0);
    EXPECT_TRUE(discOutline(dot.normal, dot.radius, dot.discCentre, 0.1f, true).isEmpty());
}

TEST(SceneGeometry, DiscStepAndOutlineWindings)
{
    EXPECT_FLOAT_EQ(discStep(1), 0.1f);
    EXPECT_FLOAT_EQ(discStep(10), 0.1f);
    EXPECT_FLOAT_EQ(discStep(11), 0.3926875f);
    EXPECT_FLOAT_EQ(discStep(512), 0.3926875f);
    EXPECT_FLOAT_EQ(discStep(513), 0.785375f);

    // The two outlines of a disc have opposite windings, so one faces each side.
    const ElementDisc d = elementDisc(0.02, 0.05, kR, kElemRadius);
    for (float dt : {0.1f, 0.3926875f, 0.785375f}) {
        const auto fwd = discOutline(d.normal, d.radius, d.discCentre, dt, true);
        const auto back = discOutline(d.normal, d.radius, d.discCentre, dt, false);
        ASSERT_GE(fwd.size(), 8);
        EXPECT_GT(QVector3D::dotProduct(polygonNormal(fwd), d.normal), 0.0f);
        EXPECT_LT(QVector3D::dotProduct(polygonNormal(back), d.normal), 0.0f);
        // The reverse pass starts at the full turn, where the forward pass started.
        EXPECT_NEAR(distance(back.first(), fwd.first()), 0.0, 1e-5);
    }
}

TEST(SceneGeometry, CapRingsSpanHoleToRim)
{
    // Example array: aperture 0.17 m, R 0.13 m, hole radius 2 cm.
    const CapRings c = capRings(0.17, kR, 0.02, 1.0, 50, 30);
    EXPECT_NEAR(c.ratio, 0.17 / 0.13, 1e-6);
    EXPECT_NEAR(c.vmin, std::asin(0.02 / 0.13), 1e-6);
    EXPECT_NEAR(c.vmin, 0.154460, 1e-5);
    EXPECT_NEAR(c.vmax, 0.712657, 1e-5);
    EXPECT_NEAR(c.dv, (c.vmax - c.vmin) / 30, 1e-12);
    EXPECT_NEAR(c.du, 6.283184 / 50, 1e-12);

    // The first ring starts on the hole's rim and the last ends on the aperture's rim.
    const QVector3D centre(0, 0, -1);
    const QVector3D hole = sphereVertex(0.3, c.vmin, centre, 1.0);
    const QVector3D rim = sphereVertex(2.0, c.vmin + 30 * c.dv, centre, 1.0);
    EXPECT_NEAR(std::hypot(hole.x(), hole.y()) * 0.13, 0.02, 1e-6);
    EXPECT_NEAR(std::hypot(rim.x(), rim.y()) * 0.13, 0.085, 1e-6);
    EXPECT_NEAR(distance(rim, QVector3D(0, 0, 1)), 1.0, 1e-6);
    EXPECT_GT(rim.z(), hole.z());

    // The graded pass brightens from the hole outwards.
    EXPECT_LT(c.shade(0, 1.0), c.shade(29, 1.0));
    EXPECT_NEAR(c.shade(0, 1.0), c.vmin / c.ratio, 1e-12);

    // Without a hole the cap starts at the pole.
    const CapRings full = capRings(0.17, kR, 0.0, 1.0, 50, 30);
    EXPECT_EQ(full.vmin, 0.0);
    EXPECT_NEAR(full.vmax, c.vmax, 1e-12);
    EXPECT_EQ(sphereVertex(1.0, full.vmin, centre, 1.0), QVector3D(0, 0, 0));

    // No cap when the hole is as wide as the aperture or nothing is set yet.
    EXPECT_TRUE(c.drawable());
    EXPECT_TRUE(full.drawable());
    EXPECT_FALSE(capRings(0.17, kR, 0.085, 1.0, 50, 30).drawable());
    EXPECT_FALSE(capRings(0.0, kR, 0.02, 1.0, 50, 30).drawable());
    EXPECT_FALSE(capRings(0.0, 0.0f, 0.0, 1.0, 50, 30).drawable());
    EXPECT_FALSE(capRings(0.3, kR, 0.0, 1.0, 50, 30).drawable()); // rim beyond the sphere

    // Subdivisions below one are taken as one.
    const CapRings one = capRings(0.17, kR, 0.02, 1.0, 0, -3);
    EXPECT_EQ(one.numU, 1);
    EXPECT_EQ(one.numV, 1);
    EXPECT_NEAR(one.dv, one.vmax - one.vmin, 1e-12);
}

TEST(SceneGeometry, ProjectionKeepsTheShorterSideAtUnitHalfWidth)
{
    const OrthoBox wide = orthoBox(400, 200);
    EXPECT_DOUBLE_EQ(wide.left, -2);
    EXPECT_DOUBLE_EQ(wide.right, 2);
    EXPECT_DOUBLE_EQ(wide.bottom, -1);
    EXPECT_DOUBLE_EQ(wide.top, 1);
    const OrthoBox tall = orthoBox(200, 500);
    EXPECT_DOUBLE_EQ(tall.left, -1);
    EXPECT_DOUBLE_EQ(tall.right, 1);
    EXPECT_DOUBLE_EQ(tall.bottom, -2.5);
    EXPECT_DOUBLE_EQ(tall.top, 2.5);
    const OrthoBox square = orthoBox(300, 300);
    EXPECT_DOUBLE_EQ(square.right, 1);
    EXPECT_DOUBLE_EQ(square.top, 1);
}

TEST(SceneGeometry, TransversePlaneAndFocusShiftFrame)
{
    const auto plane = transversePlaneQuads(0.2, 0.1, 1.0);
    ASSERT_EQ(plane.size(), 2);
    EXPECT_EQ(plane[0][0], QVector3D(0.2f, 0.1f, 1.0f));
    EXPECT_EQ(plane[0][2], QVector3D(-0.2f, -0.1f, 1.0f));
    EXPECT_EQ(plane[1][0], plane[0][3]);
    EXPECT_GT(polygonNormal(plane[0]).z(), 0.0f);
    EXPECT_LT(polygonNormal(plane[1]).z(), 0.0f);

    // Four bands of width 0.02 inside the border, in front of and behind the region.
    const double rx = 0.3, ry = 0.2, zo = 1.0;
    const auto frame = transverseFrameQuads(rx, ry, zo);
    ASSERT_EQ(frame.size(), 8);
    auto covered = [&](double x, double y) {
        int n = 0;
        for (int i = 0; i < 4; ++i) {
            float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
            for (const QVector3D &p : frame[i]) {
                x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x());
                y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
            }
            n += x >= x0 && x <= x1 && y >= y0 && y <= y1;
        }
        return n;
    };
    EXPECT_GE(covered(0.0, 0.19), 1);  // top band
    EXPECT_GE(covered(0.0, -0.19), 1); // bottom band
    EXPECT_GE(covered(-0.29, 0.0), 1); // left band
    EXPECT_GE(covered(0.29, 0.0), 1);  // right band
    EXPECT_EQ(covered(0.0, 0.0), 0);   // open inside
    EXPECT_EQ(covered(0.25, 0.15), 0);
    for (int i = 0; i < 8; ++i) {
        for (const QVector3D &p : frame[i]) {
            EXPECT_LE(std::abs(p.x()), rx + 1e-6);
            EXPECT_LE(std::abs(p.y()), ry + 1e-6);
            EXPECT_NEAR(p.z(), i < 4 ? zo + 0.006 : zo - 0.006, 1e-6);
        }
        const float nz = polygonNormal(frame[i]).z();
        EXPECT_TRUE(i < 4 ? nz > 0 : nz < 0) << i;
    }
}

TEST(SceneGeometry, AxialPlaneTurnsAboutTheAxis)
{
    // At 0 degrees the plane holds the y and z axes, shifted by 0.005 along x.
    const auto p0 = axialPlaneQuads(0.5, 1.5, 0.2, 0);
    ASSERT_EQ(p0.size(), 2);
    EXPECT_NEAR(p0[0][0].x(), 0.005, 1e-7);
    EXPECT_NEAR(p0[0][0].y(), 0.2, 1e-7);
    EXPECT_NEAR(p0[0][0].z(), 1.5, 1e-7);
    EXPECT_NEAR(p0[0][2].y(), -0.2, 1e-7);
    EXPECT_NEAR(p0[0][2].z(), 0.5, 1e-7);

    // At 90 degrees it holds the x and z axes (pi is taken as 3.1415, so cos is not quite zero).
    for (const auto &q : axialPlaneQuads(0.5, 1.5, 0.2, 90)) {
        for (const QVector3D &p : q) {
            EXPECT_NEAR(std::abs(p.x()), 0.2, 1e-6);
            EXPECT_NEAR(p.y(), -0.005, 2e-5);
        }
    }

    // The focus-shift frame: eight bands at the side offset 0.006, inside [-r, r] x [zmin, zmax].
    const auto frame = axialFrameQuads(0.6, 1.4, 0.1, 0);
    ASSERT_EQ(frame.size(), 8);
    for (const auto &q : frame) {
        for (const QVector3D &p : q) {
            EXPECT_NEAR(p.x(), 0.006, 1e-7);
            EXPECT_LE(std::abs(p.y()), 0.1 + 1e-6);
            EXPECT_GE(p.z(), 0.6 - 1e-6);
            EXPECT_LE(p.z(), 1.4 + 1e-6);
        }
    }
    // Top band from zmax - 0.02 to zmax, spanning the width.
    float zlo = 9, zhi = -9;
    for (const QVector3D &p : frame[0])
        zlo = std::min(zlo, p.z()), zhi = std::max(zhi, p.z());
    EXPECT_NEAR(zlo, 1.38, 1e-6);
    EXPECT_NEAR(zhi, 1.4, 1e-6);
    EXPECT_EQ(frame[4][0], frame[0][3]);
}

TEST(SceneGeometry, ZoomFitAndZoomSteps)
{
    // Plane at the focal distance, 2 cm half-widths, focus at the centre of curvature.
    const double d = std::max(transverseReach(kR, 0.02, 0.02), focusReach(0, 0, kR));
    EXPECT_NEAR(d, 0.131529, 1e-5);
    EXPECT_NEAR(fitZoom(kR, d), 0.760, 5e-4);
    EXPECT_NEAR(transverseReach(0.1, 0.01, 0.03), std::sqrt(0.01 + 0.0009), 1e-12);
    EXPECT_NEAR(axialReach(0.3, 0.04), 0.3026549, 1e-6);

    // A small plane would zoom in beyond the limit; nothing set at all gives the limit too.
    EXPECT_FLOAT_EQ(fitZoom(kR, transverseReach(0.01, 0.001, 0.001)), 1.5f);
    EXPECT_FLOAT_EQ(fitZoom(kR, 0.0), 1.5f);
    EXPECT_FLOAT_EQ(fitZoom(0.0f, 0.0), 1.5f);

    float z = 1;
    for (int i = 0; i < 4; ++i)
        z = zoomIn(z);
    EXPECT_NEAR(z, 1.4641, 1e-5);
    EXPECT_FLOAT_EQ(zoomIn(z), 1.5f);
    EXPECT_NEAR(zoomOut(1.5f), 1.5 / 1.1, 1e-6);
    float s = 1;
    for (int i = 0; i < 100; ++i)
        s = zoomOut(s);
    EXPECT_GT(s, 0.0f);
    EXPECT_LT(s, 1e-4f);
}

TEST(SceneGeometry, TheZCaptionStaysInTheView)
{
    // The preview's turns (10, 40, 0 degrees) in a square view: at zoom 0.5 the axis's end is seen,
    // zoomed in on a plane the caption moves down the axis to the highest point where it is seen.
    const OrthoBox box = orthoBox(400, 400);
    EXPECT_DOUBLE_EQ(zLabelHeight(viewTransform(0.5f, 0, 10, 40, 0), box, 2.0), 2.0);
    const QMatrix4x4 zoomed = viewTransform(1.5f, 0, 10, 40, 0);
    const double z = zLabelHeight(zoomed, box, 2.0);
    EXPECT_GT(z, 0.3);
    EXPECT_LT(zoomed.map(QVector3D(0.14f, 0.14f, float(z))).x(), 1.0f);
    EXPECT_GT(zoomed.map(QVector3D(0.14f, 0.14f, float(z + 0.05))).x(), 1.0f);
}
