// Renders the 3D model of the example array. With KORMAX_SCREENSHOT_OUT set to a PNG path it also
// saves the picture there (scripts/screenshots/array_3d.sh refreshes the documentation's screenshot
// this way); otherwise it only checks that the picture shows the array.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <cmath>

#include "scene3D.h"
#include "shared_params.h"

namespace {

// The example array's parameters (aperture 17 cm, R 13 cm, element radius 3.5 mm, hole radius
// 2 cm) with elements on rings between the hole and the rim, 8 mm apart along each ring.
void setExampleArray()
{
    shared::A = 0.17;
    shared::R = 0.13f;
    shared::r = 0.0035;
    shared::rotv = 0.02;
    shared::Elem.clear();
    for (double rho = 0.026; rho < 0.0815; rho += 0.008) {
        const int n = int(2 * 3.141592653589793 * rho / 0.008);
        for (int i = 0; i < n; ++i) {
            const double a = 2 * 3.141592653589793 * (i + 0.5 * (int(rho / 0.008) % 2)) / n;
            shared::Elem.push_back(VDOUB{rho * std::cos(a), -rho * std::sin(a)});
        }
    }
}

class ShotScene : public Scene3D
{
public:
    ShotScene() { setAutoBufferSwap(false); }
};

} // namespace

TEST(SceneScreenshot, ExampleArrayModel)
{
    setExampleArray();
    ShotScene w;
    w.resize(640, 480);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.updateGL();
    const QImage img = w.grabFrameBuffer().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(640, 480));

    int red = 0, blue = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            red += qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 120;
            blue += qBlue(c) > 150 && qRed(c) < 90;
        }
    }
    EXPECT_GT(red, 10000);
    EXPECT_GT(blue, 2000);

    const QString out = qEnvironmentVariable("KORMAX_SCREENSHOT_OUT");
    if (!out.isEmpty()) {
        EXPECT_TRUE(img.save(out)) << out.toStdString();
    }
}
