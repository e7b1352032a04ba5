#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <unistd.h>

#include "front_vesk.h"
#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "scene3D.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"
#include "print_qt.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

using testsupport::button;

QString text(QWidget *w, const char *name)
{
    return w->findChild<QLineEdit *>(name)->text();
}

// The visible main window other than `except` (the one an array window built when going back).
MainWindow *otherVisibleMainWindow(MainWindow *except)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        MainWindow *m = qobject_cast<MainWindow *>(w);
        if (m && m != except && m->isVisible())
            return m;
    }
    return nullptr;
}

class ArrayWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
        testsupport::writeAll(app.file("Elements_Quist_Marvane.txt"), "0 0\n3 4\n");
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
    }
    // The example array, continued to its array window placed at `geometry`.
    void showExample(MainWindow &w, const QRect &geometry)
    {
        w.show();
        w.setGeometry(geometry);
        button(&w, "pushButton_5")->click();
        button(&w, "pushButton_2")->click();
        BoxRecorder::instance().clear();
        ASSERT_TRUE(w.arrayWindow()->isVisible());
    }

    testsupport::TempAppDir app;
};

} // namespace

TEST_F(ArrayWindowTest, FormCaptionsAndTheThreeDWidget)
{
    Show_Vesk_wnd w;
    EXPECT_EQ(w.windowTitle(), QString("Моделирование решетки"));
    ASSERT_EQ(w.count(), 2);
    EXPECT_EQ(w.currentIndex(), 0);
    EXPECT_EQ(w.tabText(0), QString("Вид спереди"));
    EXPECT_EQ(w.tabText(1), QString("3D"));
    EXPECT_EQ(w.findChild<QLabel *>("label")->text(), QString("Данная решетка: вид спереди."));
    EXPECT_EQ(w.findChild<QLabel *>("label_2")->text(),
              QString::fromUtf8("Данная решетка: трехмерная модель. Кликните на решетку и используйте  "
                                "колесико\nмыши или клавиши \"+\" и \"\u2212\" для масштабирования, а левую "
                                "кнопку мыши и\nстрелки на клавиатуре \u2212 для вращения."));
    EXPECT_NE(w.findChild<Front_Vesk *>("graphicsView"), nullptr);
    Scene3D *scene = w.findChild<Scene3D *>("widget");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->focusPolicy(), Qt::StrongFocus);
    for (const char *b : {"pushButton", "pushButton_2"})
        EXPECT_EQ(button(&w, b)->text(), QString("< Назад"));
    for (const char *b : {"pushButton_3", "pushButton_4"})
        EXPECT_EQ(button(&w, b)->text(), QString("Далее >"));
    EXPECT_EQ(w.minimumSize(), QSize(823, 652));
}

TEST_F(ArrayWindowTest, BackFromTheFrontViewRefillsANewMainWindowInPlace)
{
    testsupport::writeAll(app.file("calc/array.txt"), "x");
    MainWindow w;
    showExample(w, QRect(40, 50, 1000, 760));
    const int quitsBefore = testsupport::quitRequests();

    button(w.arrayWindow(), "pushButton_2")->click();
    MainWindow *back = otherVisibleMainWindow(&w);
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(w.arrayWindow()->isVisible());
    EXPECT_EQ(back->windowTitle(), QString("Выбор начальных параметров"));
    EXPECT_EQ(back->geometry(), QRect(40, 50, 1000, 760));
    const char *expected[][2] = {{"lineEdit", "17"},     {"lineEdit_2", "13"},    {"lineEdit_4", "1"},
                                 {"lineEdit_5", "0.35"}, {"lineEdit_6", "1500"},  {"lineEdit_7", "1000"},
                                 {"lineEdit_9", "2"},    {"lineEdit_10", "0.25"}, {"lineEdit_13", "2.0833"},
                                 {"lineEdit_3", "0"},    {"lineEdit_11", "0"},    {"lineEdit_12", "13"}};
    for (const auto &e : expected)
        EXPECT_EQ(text(back, e[0]), QString(e[1])) << e[0];
    EXPECT_EQ(text(back, "lineEdit_8"), app.path() + "/Elements_Quist_Marvane.txt");
    EXPECT_TRUE(button(back, "pushButton_2")->isEnabled());
    EXPECT_EQ(std::count(shared::CH.begin(), shared::CH.end(), true), 13);
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);
    EXPECT_TRUE(QFile::exists(app.file("calc/array.txt")));

    // The refilled window continues like the first one, to its own array window.
    button(back, "pushButton_2")->click();
    EXPECT_TRUE(back->arrayWindow()->isVisible());
    EXPECT_EQ(back->arrayWindow()->geometry(), QRect(40, 50, 1000, 760));
    back->arrayWindow()->hide();
    delete back;
}

TEST_F(ArrayWindowTest, BackFromThreeDKeepsTheStartTitleAndShowsChangedValues)
{
    MainWindow w;
    showExample(w, QRect(10, 20, 900, 700));
    // A focus changed later (the plane window does so) and an intensity-mode pressure show up.
    shared::xF = -0.0123456;
    shared::initpres = 244900;
    button(w.arrayWindow(), "pushButton")->click();
    MainWindow *back = otherVisibleMainWindow(&w);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->windowTitle(), QString("Ввод параметров"));
    EXPECT_EQ(text(back, "lineEdit_3"), QString("-1.234")); // -1.23456 cut to six characters
    EXPECT_EQ(text(back, "lineEdit_10"), QString("0.2449"));
    EXPECT_EQ(text(back, "lineEdit_13"), QString("1.9992")); // recomputed from the shown pressure
    delete back;
}

TEST_F(ArrayWindowTest, NextOpensThePlaneWindowInItsPlace)
{
    // From the front view of a small array window (possible on a small screen only, where the
    // minimum sizes are clamped to it), then from the 3D tab of a large one.
    const struct {
        const char *button;
        QRect screen;
        QRect array;
        QRect plane;
    } cases[] = {{"pushButton_4", QRect(0, 0, 640, 520), QRect(30, 40, 600, 500), QRect(30, 40, 701, 529)},
                 {"pushButton_3", QRect(0, 0, 1600, 1200), QRect(30, 40, 900, 700), QRect(30, 40, 900, 700)}};
    for (const auto &c : cases) {
        platform::setScreenOverride(96, c.screen);
        shared::resetEntryFlags();
        shared::xF_is_set = shared::yF_is_set = shared::zF_is_set = true;
        shared::is_side = shared::is_prodol = shared::is_poper = shared::is_foc = true;
        MainWindow w;
        showExample(w, c.array);
        Show_Vesk_wnd *array = w.arrayWindow();
        array->setCurrentIndex(QString(c.button) == "pushButton_4" ? 0 : 1);
        array->setGeometry(c.array);
        button(array, c.button)->click();

        plane_ch_wnd *plane = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<plane_ch_wnd *>(top))
                if (p->isVisible())
                    plane = p;
        ASSERT_NE(plane, nullptr) << c.button;
        EXPECT_FALSE(array->isVisible());
        EXPECT_EQ(plane->geometry(), c.plane) << c.button;
        EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
        // The flags were cleared for the new window, which then derived its own: the focus is
        // shown and complete, no plane has been entered yet.
        EXPECT_FALSE(shared::is_side);
        EXPECT_FALSE(shared::is_poper);
        EXPECT_FALSE(shared::is_prodol);
        EXPECT_TRUE(shared::is_foc);
        EXPECT_EQ(plane->findChild<QLineEdit *>("Z_Focus_Poper")->text(), QString("13"));
        EXPECT_FALSE(plane->findChild<QPushButton *>("pushButton_4")->isEnabled());
        delete plane;
    }
}

namespace {
template <class Window> Window *visibleWindow()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *w = qobject_cast<Window *>(top))
            if (w->isVisible())
                return w;
    return nullptr;
}

// Resident memory of this process in MB.
double residentMegabytes()
{
    QFile statm("/proc/self/statm");
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.value(1).toDouble() * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}
} // namespace

TEST_F(ArrayWindowTest, WindowsLeftBehindAreFreed)
{
    MainWindow first;
    showExample(first, QRect(10, 20, 900, 700));
    // One trip: array -> plane -> array -> main -> array, each window shown and painted (the
    // 3D views create their OpenGL contexts) before it is left.
    auto trip = [] {
        Show_Vesk_wnd *array = visibleWindow<Show_Vesk_wnd>();
        ASSERT_NE(array, nullptr);
        array->setCurrentIndex(1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(array));
        button(array, "pushButton_3")->click();
        plane_ch_wnd *plane = visibleWindow<plane_ch_wnd>();
        ASSERT_NE(plane, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(plane));
        button(plane, "pushButton_8")->click();
        array = visibleWindow<Show_Vesk_wnd>();
        ASSERT_NE(array, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(array));
        button(array, "pushButton_2")->click();
        MainWindow *main = visibleWindow<MainWindow>();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
        button(main, "pushButton_2")->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(trip());
    const int windows = QApplication::topLevelWidgets().size();
    const double megabytes = residentMegabytes();
    for (int i = 0; i < 20; ++i)
        ASSERT_NO_FATAL_FAILURE(trip());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    // Each trip that kept its windows grew by about 27 MB.
    EXPECT_LT(residentMegabytes() - megabytes, 20.0);
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
}

TEST(PlaneWindowPlacement, SmallArrayWindowsGiveTheMinimumPlaneWindowSize)
{
    EXPECT_EQ(planeWindowGeometry(QRect(30, 40, 600, 500)), QRect(30, 40, 701, 529));
    EXPECT_EQ(planeWindowGeometry(QRect(30, 40, 900, 528)), QRect(30, 40, 701, 529));
    EXPECT_EQ(planeWindowGeometry(QRect(30, 40, 700, 900)), QRect(30, 40, 701, 529));
    EXPECT_EQ(planeWindowGeometry(QRect(30, 40, 900, 700)), QRect(30, 40, 900, 700));
    EXPECT_EQ(planeWindowGeometry(QRect(30, 40, 701, 529)), QRect(30, 40, 701, 529));
}

TEST_F(ArrayWindowTest, ClosingAsksAndYesRemovesJobFilesAndQuits)
{
    testsupport::writeAll(app.file("side_max/grid_calc.txt"), "x");
    MainWindow w;
    showExample(w, QRect(10, 20, 900, 700));
    const int quitsBefore = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(w.arrayWindow()));
    EXPECT_TRUE(w.arrayWindow()->isVisible());
    EXPECT_TRUE(QFile::exists(app.file("side_max/grid_calc.txt")));
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(w.arrayWindow()));
    EXPECT_FALSE(QFile::exists(app.file("side_max/grid_calc.txt")));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore + 1);
    EXPECT_EQ(BoxRecorder::instance().boxes().size(), 2);
}

// ---- Front view --------------------------------------------------------------------------------

namespace {
bool isColour(const QImage &img, int x, int y, QRgb colour)
{
    return img.pixel(x, y) == (colour | 0xff000000u);
}

// Paints the front view into a white image of the widget's size.
QImage paintFront(int w, int h, double *scale = nullptr)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::lightGray);
    QPainter p(&img);
    const double K = frontview::paint(p, w, h);
    if (scale)
        *scale = K;
    return img;
}

// Leftmost and rightmost pixel of a colour on a row.
std::pair<int, int> extent(const QImage &img, int y, QRgb colour)
{
    int lo = -1, hi = -1;
    for (int x = 0; x < img.width(); ++x)
        if (isColour(img, x, y, colour)) {
            if (lo < 0)
                lo = x;
            hi = x;
        }
    return {lo, hi};
}
} // namespace

TEST(FrontView, ScaleFitsTheApertureIntoTheSmallerSideLessFiftyPixels)
{
    EXPECT_NEAR(frontview::scale(450, 300, 0.17), 1470.588, 1e-3);
    EXPECT_DOUBLE_EQ(frontview::scale(300, 450, 0.17), 250 / 0.17);
    EXPECT_DOUBLE_EQ(frontview::scale(800, 800, 0.25), 3000);

    shared::A = 0.17;
    shared::rotv = 0.02;
    shared::Elem.clear();
    Front_Vesk view;
    view.resize(450, 300);
    const QImage img = view.grab().toImage();
    EXPECT_EQ(view.W, 450);
    EXPECT_EQ(view.H, 300);
    EXPECT_NEAR(view.K, 1470.588, 1e-3);
    // The rim is 250 pixels wide around the centre (225, 150); the row 20 pixels above the
    // centre avoids the horizontal axis.
    const auto [left, right] = extent(img, 130, qRgb(255, 0, 0));
    const double half = std::sqrt(125.0 * 125.0 - 20.0 * 20.0);
    EXPECT_NEAR(left, 225 - half, 2);
    EXPECT_NEAR(right, 225 + half, 2);
    // Inside the rim the disc is white; the hole is a red circle of K * rotv = 29 pixels.
    EXPECT_TRUE(isColour(img, 225 + 60, 130, qRgb(255, 255, 255)));
    const auto [holeLeft, holeRight] = extent(img.copy(225 - 40, 0, 80, 300), 150 - 10, qRgb(255, 0, 0));
    EXPECT_NEAR(holeRight - holeLeft, 2 * std::sqrt(29.4 * 29.4 - 100), 3);

    // Resizing repaints at the new scale.
    view.resize(600, 800);
    view.grab();
    EXPECT_NEAR(view.K, 550 / 0.17, 1e-9);
}

TEST(FrontView, ScaleStepsAreOneTwoOrFiveTimesAPowerOfTen)
{
    // Half an axis in cm and its step: about five ticks on each side.
    const double cases[][2] = {{9.3, 2}, {10, 2}, {10.5, 5}, {0.6, 0.2}, {45, 10}, {0.05, 0.01}, {0, 0}, {-1, 0}};
    for (const auto &c : cases)
        EXPECT_NEAR(frontview::tickStep(c[0]), c[1], 1e-12) << c[0];
}

TEST(FrontView, ElementsAreTiltedEllipsesBesideTheirCentrePoints)
{
    // On the axis an element is a circle of radius r.
    const frontview::ElementShape axial = frontview::elementShape(0, 0, 0.13f, 0.0035);
    EXPECT_DOUBLE_EQ(axial.offset, 0);
    EXPECT_DOUBLE_EQ(axial.radialSemi, 0.0035);
    EXPECT_DOUBLE_EQ(axial.tangentialSemi, 0.0035);

    // At 5 cm from the axis (straight up on screen: y = +5 cm in Elem) the disc is foreshortened
    // along the radius and drawn slightly inside its nominal centre.
    const frontview::ElementShape s = frontview::elementShape(0, 0.05, 0.13f, 0.0035);
    EXPECT_NEAR(s.angleDeg, 90 * 3.14159265 / 3.14, 1e-6);
    const double cosGamma = std::sqrt(1 - (0.05 / 0.13) * (0.05 / 0.13));
    EXPECT_NEAR(s.radialSemi, 0.0035 * cosGamma, 1e-9);
    const double sagitta = 0.13 - std::sqrt(0.13 * 0.13 - 0.0035 * 0.0035);
    EXPECT_NEAR(s.offset, 0.05 - 0.05 / 0.13 * sagitta, 1e-8);

    shared::A = 0.17;
    shared::R = 0.13f;
    shared::r = 0.0035;
    shared::rotv = 0;
    shared::Elem = VDOUB2{{0.05, 0.0}};
    double K = 0;
    const QRgb blue = qRgb(0, 0, 255);
    QImage img = paintFront(450, 300, &K);
    // Element on the x axis at 5 cm: across the radius the ellipse spans r = 5.1 pixels each way.
    const int cx = 225 + int(s.offset * K);
    int top = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        if (isColour(img, cx, y, blue)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    EXPECT_NEAR(top, 150 - 5, 1);
    EXPECT_NEAR(bottom, 150 + 5, 1);
    // Along the radius it is narrower (cos gamma = 0.92 at 5 cm), about its shifted centre.
    const auto [left, right] = extent(img.copy(260, 0, 190, 300), 148, blue);
    EXPECT_LT(right - left, bottom - top);
    EXPECT_NEAR((left + right) / 2.0 + 260, 225 + s.offset * K, 1.5);
    // With rotv = 0 there is no hole: nothing red near the centre.
    EXPECT_FALSE(isColour(img, 225 + 3, 150 - 3, qRgb(255, 0, 0)));

    // Off the axes: the nominal centre is a blue point inside the white ellipse.
    shared::Elem = VDOUB2{{0.03, 0.04}};
    img = paintFront(450, 300, &K);
    const int px = 225 + int(0.03 * K), py = 150 + int(0.04 * K);
    EXPECT_TRUE(isColour(img, px - 1, py - 1, blue));
    EXPECT_TRUE(isColour(img, px + 2, py + 2, qRgb(255, 255, 255)));
}

TEST(FrontView, ElementsBeyondTheSphereAreLeftOutAndNamed)
{
    // A = 16 cm, R = 8 cm: the aperture passes, but element 2 lies 9 cm from the axis, where
    // asin(rho / R) is undefined.
    shared::A = 0.16;
    shared::R = 0.08f;
    shared::r = 0.0035;
    shared::rotv = 0;
    shared::Elem = VDOUB2{{0, 0}, {0.0636396, 0.0636396}, {0.05, 0}};
    EXPECT_EQ(frontview::offCapElements(shared::Elem, shared::R), QVector<int>{2});
    EXPECT_EQ(frontview::offCapNote({2}), QString("Не показаны элементы дальше радиуса кривизны от оси "
                                                  "(не могут лежать на сфере): № 2"));
    EXPECT_TRUE(frontview::offCapNote(QVector<int>(20, 7)).endsWith(", 7, … (всего 20)"));
    EXPECT_TRUE(frontview::offCapNote({}).isEmpty());

    double K = 0;
    const QImage img = paintFront(450, 300, &K);
    // No trace at element 2's nominal centre; the note is written in red under the array.
    const int px = 225 + int(0.0636396 * K), py = 150 + int(0.0636396 * K);
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            EXPECT_FALSE(isColour(img, px + dx, py + dy, qRgb(0, 0, 255)));
    int red = 0;
    for (int y = 280; y < 300; ++y)
        for (int x = 0; x < 60; ++x)
            red += isColour(img, x, y, qRgb(255, 0, 0));
    EXPECT_GT(red, 0);
}
