// The "3D" tab of the array window with the example array, reached the way a user does: example
// data in the main window, Continue, then the second tab. With KORMAX_SCREENSHOT_OUT set to a PNG
// path the window is also saved there, for looking at it by eye (the documentation's screenshots
// come from scripts/screenshots.sh).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "mainwindow.h"
#include "platform.h"
#include "scene3D.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"
#include "test_support.h"

TEST(SceneScreenshot, ArrayWindow3DTabShowsTheExampleArray)
{
    testsupport::TempAppDir app;
    ASSERT_TRUE(QFile::copy(KORMAX_SOURCE_DIR "/data/shipped/Elements_Quist_Marvane.txt",
                            app.file("Elements_Quist_Marvane.txt")));
    // The design size at the reference resolution, whatever the virtual screen says.
    platform::setScreenOverride(96, QRect(0, 0, 1280, 1024));
    shared::resetEntryFlags();

    MainWindow w;
    w.show();
    w.findChild<QPushButton *>("pushButton_5")->click(); // example data
    w.findChild<QPushButton *>("pushButton_2")->click(); // Continue
    Show_Vesk_wnd *array = w.arrayWindow();
    ASSERT_TRUE(array->isVisible()) << testsupport::BoxRecorder::instance().texts().join("\n").toStdString();
    ASSERT_EQ(shared::Elem.size(), 256u);
    array->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(array));
    auto *scene = array->findChild<Scene3D *>("widget");
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(scene->isVisible());

    // The window's own picture, with the scene's frame (which a widget grab does not see) laid
    // over its place.
    scene->updateGL();
    const QImage frame = scene->grabFrameBuffer().convertToFormat(QImage::Format_RGB32);
    scene->updateGL();
    QImage shot = array->grab().toImage().convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&shot);
        p.drawImage(QRect(scene->mapTo(array, QPoint(0, 0)), scene->size()), frame);
    }

    // The cap's red and the element discs' blue fill a good part of the scene.
    int red = 0, blue = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb c = frame.pixel(x, y);
            red += qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 120;
            blue += qBlue(c) > 150 && qRed(c) < 90;
        }
    }
    const int area = frame.width() * frame.height();
    EXPECT_GT(red, area / 40);
    EXPECT_GT(blue, area / 100);

    const QString out = qEnvironmentVariable("KORMAX_SCREENSHOT_OUT");
    if (!out.isEmpty()) {
        EXPECT_TRUE(shot.save(out)) << out.toStdString();
    }
    array->hide();
    w.hide();
    platform::setScreenOverride(0, QRect());
    testsupport::BoxRecorder::instance().clear();
}
