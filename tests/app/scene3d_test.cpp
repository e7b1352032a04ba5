#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMatrix4x4>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <functional>

#include "plane3D.h"
#include "plane3d_prodol.h"
#include "scene3D.h"
#include "shared_params.h"

namespace {

// The example array: aperture 17 cm, R 13 cm, element radius 3.5 mm, hole radius 2 cm, a ring of
// elements (Elem holds y flipped, as the loader stores it).
void setExampleArray()
{
    shared::A = 0.17;
    shared::R = 0.13f;
    shared::r = 0.0035;
    shared::rotv = 0.02;
    shared::Elem.clear();
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2 * 3.141592653589793 / 24;
        shared::Elem.push_back(VDOUB{0.05 * std::cos(a), -0.05 * std::sin(a)});
    }
    shared::xF = shared::yF = 0;
    shared::zF = shared::R;
    shared::is_poper = shared::is_prodol = shared::is_foc = shared::is_scan = false;
}

// A scene whose frames stay in the back buffer, where grabFrameBuffer reads them.
template <class Scene> class Grabbable : public Scene
{
public:
    Grabbable() { this->setAutoBufferSwap(false); }
};

// Draws the widget's current frame and reads it back.
QImage render(QGLWidget &w)
{
    w.updateGL();
    return w.grabFrameBuffer().convertToFormat(QImage::Format_RGB32);
}

int countPixels(const QImage &img, const std::function<bool(QRgb)> &pred)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pred(img.pixel(x, y));
    return n;
}

bool isRed(QRgb c)
{
    return qRed(c) > 60 && qRed(c) > 2 * qGreen(c) && qRed(c) > 2 * qBlue(c);
}
bool isTranslucentGreen(QRgb c)
{
    return qGreen(c) > qRed(c) + 30 && qGreen(c) > qBlue(c) + 25;
}
bool isElementBlue(QRgb c)
{
    return qBlue(c) > 150 && qBlue(c) > qGreen(c) + 40 && qRed(c) < 90;
}
bool isDark(QRgb c)
{
    return qRed(c) + qGreen(c) + qBlue(c) < 120;
}

// Where a scene point lands in a square widget of the given size at the initial view.
QPointF projectAtInitialView(const QVector3D &p, int size)
{
    QMatrix4x4 m;
    m.rotate(10, 1, 0, 0);
    m.rotate(40, 0, 1, 0);
    const QVector3D s = m.map(p);
    return QPointF((s.x() + 1) / 2 * size, (1 - s.y()) / 2 * size);
}

// Centroid of the pixels dark in `with` and not in `without`, and their count.
QPointF newDarkCentroid(const QImage &with, const QImage &without, int *count)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (isDark(with.pixel(x, y)) && !isDark(without.pixel(x, y)))
                sx += x, sy += y, ++n;
    *count = n;
    return n ? QPointF(sx / n, sy / n) : QPointF();
}

template <class W> void showScene(W &w)
{
    w.resize(400, 400);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

} // namespace

TEST(Scene3DInput, KeysFollowTheTable)
{
    setExampleArray();
    Scene3D w;
    showScene(w);
    SceneViewState v = w.viewState();
    EXPECT_EQ(v.xRot, 10);
    EXPECT_EQ(v.yRot, 40);
    EXPECT_EQ(v.zRot, 0);
    EXPECT_EQ(v.zTra, 0);
    EXPECT_EQ(v.nSca, 1);

    // "+" five times stops at 1.5, not 1.61.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&w, Qt::Key_Plus);
    EXPECT_FLOAT_EQ(w.viewState().nSca, 1.5f);
    QTest::keyClick(&w, Qt::Key_Minus);
    QTest::keyClick(&w, Qt::Key_Minus);
    EXPECT_NEAR(w.viewState().nSca, 1.5 / 1.21, 1e-6);
    QTest::keyClick(&w, Qt::Key_Equal);
    EXPECT_NEAR(w.viewState().nSca, 1.5 / 1.1, 1e-6);

    QTest::keyClick(&w, Qt::Key_Up);
    QTest::keyClick(&w, Qt::Key_Up);
    QTest::keyClick(&w, Qt::Key_Down);
    QTest::keyClick(&w, Qt::Key_Left);
    QTest::keyClick(&w, Qt::Key_Z);
    QTest::keyClick(&w, Qt::Key_Z);
    QTest::keyClick(&w, Qt::Key_X);
    QTest::keyClick(&w, Qt::Key_A); // not a view key: only a redraw
    v = w.viewState();
    EXPECT_EQ(v.xRot, 9);
    EXPECT_EQ(v.yRot, 39);
    EXPECT_NEAR(v.zTra, -0.05, 1e-6);
    QTest::keyClick(&w, Qt::Key_Right);
    QTest::keyClick(&w, Qt::Key_Right);
    EXPECT_EQ(w.viewState().yRot, 41);

    // Space: the side view with the array axis pointing up the screen.
    QTest::keyClick(&w, Qt::Key_Space);
    v = w.viewState();
    EXPECT_EQ(v.xRot, -90);
    EXPECT_EQ(v.yRot, 0);
    EXPECT_EQ(v.zRot, 0);
    EXPECT_EQ(v.zTra, 0);
    EXPECT_EQ(v.nSca, 1);

    // Escape hides the scene itself.
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST(Scene3DInput, DragTurnsAboutTheAxisAndWheelZooms)
{
    setExampleArray();
    Scene3D w;
    w.resize(400, 300);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.height(), 300);

    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 120), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    // 180 * 20 / 300 + 180 * 30 / 400
    EXPECT_NEAR(w.viewState().zRot, 25.5, 1e-4);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(130, 120));
    EXPECT_EQ(w.viewState().xRot, 10);

    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &e);
    };
    wheel(120);
    EXPECT_NEAR(w.viewState().nSca, 1.1, 1e-6);
    wheel(-120);
    wheel(-120);
    EXPECT_NEAR(w.viewState().nSca, 1 / 1.1, 1e-6);
    for (int i = 0; i < 10; ++i)
        wheel(120);
    EXPECT_FLOAT_EQ(w.viewState().nSca, 1.5f);
}

TEST(Scene3DRender, CapElementsAndAxesAppear)
{
    setExampleArray();
    Grabbable<Scene3D> w;
    showScene(w);
    const QImage img = render(w);
    ASSERT_EQ(img.size(), QSize(400, 400));
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 255, 255)); // white background
    EXPECT_GT(countPixels(img, isRed), 2000);
    EXPECT_GT(countPixels(img, isElementBlue), 100);
    EXPECT_GT(countPixels(img, isDark), 200); // axes and their letters
    EXPECT_EQ(countPixels(img, isTranslucentGreen), 0);

    // Without elements the blue discs are gone; the cap follows the shared parameters.
    shared::Elem.clear();
    EXPECT_EQ(countPixels(render(w), isElementBlue), 0);
    shared::A = 0;
    EXPECT_EQ(countPixels(render(w), isRed), 0);
    setExampleArray();
}

TEST(Plane3DRender, TransversePlaneOnlyWhilePoperAndFocusOnlyWhileFoc)
{
    setExampleArray();
    shared::zop = shared::R;
    shared::rxp = shared::ryp = 0.03;
    Grabbable<plane3D> w;
    showScene(w);

    const QImage bare = render(w);
    EXPECT_GT(countPixels(bare, isRed), 2000);
    EXPECT_EQ(countPixels(bare, isTranslucentGreen), 0);

    shared::is_poper = true;
    const QImage withPlane = render(w);
    EXPECT_GT(countPixels(withPlane, isTranslucentGreen), 500);
    shared::is_poper = false;
    EXPECT_EQ(countPixels(render(w), isTranslucentGreen), 0);

    // The focus marker appears where the focus projects, off the axis to keep clear of it.
    shared::xF = 0.02;
    shared::yF = 0.01;
    shared::zF = 0.1;
    const QImage noFocus = render(w);
    shared::is_foc = true;
    const QImage withFocus = render(w);
    int n = 0;
    const QPointF c = newDarkCentroid(withFocus, noFocus, &n);
    EXPECT_GT(n, 20);
    const QPointF expected = projectAtInitialView(QVector3D(0.02f / 0.13f, 0.01f / 0.13f, 0.1f / 0.13f), 400);
    EXPECT_NEAR(c.x(), expected.x(), 3);
    EXPECT_NEAR(c.y(), expected.y(), 3);
    shared::is_foc = false;
    newDarkCentroid(render(w), noFocus, &n);
    EXPECT_EQ(n, 0);
}

TEST(Plane3DRender, FocusShiftOutlineOnlyWhileScan)
{
    setExampleArray();
    Grabbable<plane3D> w;
    showScene(w);
    w.SetPopPlainParam(0.13, 11, 6, 0.003, 0.004, 0, 0);
    EXPECT_NEAR(w.rxp_qual, 0.03, 1e-12);
    EXPECT_NEAR(w.ryp_qual, 0.02, 1e-12);
    const QImage off = render(w);
    shared::is_scan = true;
    int n = 0;
    newDarkCentroid(render(w), off, &n);
    EXPECT_GT(n, 200);
    shared::is_scan = false;
}

TEST(PlaneProdolRender, AxialPlaneOnlyWhileProdol)
{
    setExampleArray();
    shared::zminpr = 0.065;
    shared::zmaxpr = 0.195;
    shared::rpr = 0.03;
    shared::phipr = 0;
    Grabbable<plane3d_prodol> w;
    showScene(w);
    EXPECT_EQ(countPixels(render(w), isTranslucentGreen), 0);
    shared::is_prodol = true;
    EXPECT_GT(countPixels(render(w), isTranslucentGreen), 500);
    // The transverse flag does not concern the axial scene.
    shared::is_prodol = false;
    shared::is_poper = true;
    EXPECT_EQ(countPixels(render(w), isTranslucentGreen), 0);
    shared::is_poper = false;

    w.SetPrPlainParam(0.1, 30.9, 5, 7, 0.002, 0.01, 0.16, 0.008);
    EXPECT_EQ(w.phipr_qual, 30);
    EXPECT_EQ(w.rpr_qual, 0.008);
    const QImage off = render(w);
    shared::is_scan = true;
    int n = 0;
    newDarkCentroid(render(w), off, &n);
    EXPECT_GT(n, 100);

    // Inside the calculation plane, as the quality window shows it, the plane does not hide it.
    w.SetPrPlainParam(0.1, 0, 5, 7, 0.002, 0.01, 0.16, 0.008);
    shared::is_prodol = true;
    shared::is_scan = false;
    const QImage planeOnly = render(w);
    shared::is_scan = true;
    const QImage outlined = render(w);
    int darker = 0; // the black outline seen through the translucent plane
    for (int y = 0; y < outlined.height(); ++y)
        for (int x = 0; x < outlined.width(); ++x) {
            const QRgb a = outlined.pixel(x, y), b = planeOnly.pixel(x, y);
            darker += qRed(a) + qGreen(a) + qBlue(a) + 100 < qRed(b) + qGreen(b) + qBlue(b);
        }
    EXPECT_GT(darker, 100);
    shared::is_scan = false;
    shared::is_prodol = false;
}

TEST(PlaneScenesZoom, FitToPlaneFocusAndRegion)
{
    setExampleArray();
    shared::zop = shared::R;
    shared::rxp = shared::ryp = 0.02;
    plane3D t;
    t.ClickOnBut();
    EXPECT_NEAR(t.viewState().nSca, 0.760, 5e-4);
    // The focus farther than the plane decides.
    shared::zF = 0.2;
    t.ClickOnBut();
    EXPECT_NEAR(t.viewState().nSca, 0.13 / (1.3 * 0.2), 1e-6);
    t.ClickOnBut_no_foc();
    EXPECT_NEAR(t.viewState().nSca, 0.760, 5e-4);
    t.ClickOnBut_qual(0.25, 0.01, 0.07);
    EXPECT_NEAR(t.viewState().nSca, 0.13 / (1.3 * std::sqrt(0.25 * 0.25 + 0.07 * 0.07)), 1e-6);
    // A plane far smaller than the array is limited to 1.5, and "+" keeps that limit.
    shared::zop = 0.01;
    shared::rxp = shared::ryp = 0.001;
    t.ClickOnBut_no_foc();
    EXPECT_FLOAT_EQ(t.viewState().nSca, 1.5f);
    t.scale_plus();
    EXPECT_FLOAT_EQ(t.viewState().nSca, 1.5f);
    t.RescaleToOne();
    EXPECT_EQ(t.viewState().nSca, 1.0f);

    shared::zF = shared::R;
    shared::zmaxpr = 0.195;
    shared::rpr = 0.03;
    plane3d_prodol p;
    p.ClickOnBut();
    EXPECT_NEAR(p.viewState().nSca, 0.13 / (1.3 * std::sqrt(0.195 * 0.195 + 0.03 * 0.03)), 1e-6);
    shared::zmaxpr = 0.05;
    shared::rpr = 0.01;
    p.ClickOnBut();
    EXPECT_NEAR(p.viewState().nSca, 1 / 1.3, 1e-6); // the focus at R decides
    p.ClickOnBut_no_foc();
    EXPECT_FLOAT_EQ(p.viewState().nSca, 1.5f);
    p.ClickOnBut_qual(0.2, 0.0);
    EXPECT_NEAR(p.viewState().nSca, 0.5, 1e-6);
    p.RescaleToOne();
    EXPECT_EQ(p.viewState().nSca, 1.0f);
}
