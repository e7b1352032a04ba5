// The whole road of a field result with the real calculator: the plane window writes the job,
// the shipped batch file runs kormax-calc, the result button opens a result window whose plot
// reads the calculator's file. The focus must come out where the array was steered.
// On screen the peak must be drawn in the top colours. With KORMAX_SCREENSHOT_DIR set the result
// windows are saved there, for looking at them by eye (the documentation's screenshots come from
// scripts/screenshots.sh).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QtTest/QTest>

#include "build_list_of_elem.h"
#include "plane_ch_wnd.h"
#include "plane_test_util.h"
#include "plot.h"
#include "result_wnd.h"
#include "result_windows.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

// Colour on screen of a plot position in a window's picture.
QColor colourAt(const QImage &shot, Result_wnd *w, double x, double y)
{
    Plot *plot = w->findChild<Plot *>("widget");
    const QPoint onCanvas(qRound(plot->transform(QwtPlot::xBottom, x)),
                          qRound(plot->transform(QwtPlot::yLeft, y)));
    return shot.pixelColor(plot->canvas()->mapTo(w, onCanvas));
}

// Position (i, j) of the largest value of a plot's arrays.
std::pair<size_t, size_t> argmax(const VDOUB3 &z)
{
    std::pair<size_t, size_t> best{0, 0};
    for (size_t i = 0; i < z[2].size(); ++i)
        for (size_t j = 0; j < z[2][i].size(); ++j)
            if (z[2][i][j] > z[2][best.first][best.second])
                best = {i, j};
    return best;
}

class RealCalculatorResult : public ::testing::Test
{
protected:
    void SetUp() override
    {
        planetest::resetShared();
        // The example array of the main window.
        shared::A = 0.17;
        shared::R = 0.13f;
        shared::nu = 1e6;
        shared::r = 0.0035;
        shared::c = 1500;
        shared::ro = 1000;
        shared::rotv = 0.02;
        shared::initpres = 250000;
        ASSERT_TRUE(build_list_of_elem(QString(KORMAX_APP_DIR) + "/Elements_Quist_Marvane.txt"));
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();

        // The job folder as installed: the shipped batch file beside the real calculator.
        QFile::copy(QString(KORMAX_APP_DIR) + "/calc/calc.bat", app.file("calc/calc.bat"));
        QFile::setPermissions(app.file("calc/calc.bat"),
                              QFile::permissions(app.file("calc/calc.bat")) | QFileDevice::ExeOwner);
        ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", app.file("kormax-calc")));
        platform::setStartDetachedHandler(
            [](const QString &program, const QStringList &args, const QString &workDir) {
                return QProcess::startDetached(program, args, workDir);
            });
        // The user presses OK once the calculator has finished.
        const QString marker = app.file("calc/calcdone");
        platform::setBoxHandler([marker](const platform::Box &box) {
            if (box.title == QString("Внимание!"))
                testsupport::waitForFile(marker, 120000);
            return BoxRecorder::instance().record(box);
        });
    }
    void TearDown() override
    {
        testsupport::installDefaultHooks();
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
    }

    // Default plane of a tab, calculate, then the result button with the given result type.
    Result_wnd *calculateAndShow(plane_ch_wnd &plane, bool axial, int resultType)
    {
        planetest::tabs(&plane)->setCurrentIndex(axial ? 1 : 0);
        planetest::button(&plane, axial ? "Button_def_2" : "Button_def")->click();
        planetest::button(&plane, axial ? "pushButton_3" : "pushButton_4")->click();
        EXPECT_TRUE(QFile::exists(app.file("calc/calcdone")))
            << testsupport::readAll(app.file("calc/log.txt")).toStdString();
        planetest::combo(&plane, axial ? "comboBox_2" : "comboBox")->setCurrentIndex(resultType);
        const QList<Result_wnd *> before = testsupport::openResultWindows();
        planetest::button(&plane, axial ? "pushButton_5" : "pushButton_6")->click();
        Result_wnd *w = nullptr;
        for (Result_wnd *r : testsupport::openResultWindows())
            if (!before.contains(r))
                w = r;
        if (w) {
            w->move(0, 0);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        return w;
    }

    // The window's picture: the peak in the top colours (dark red), a far corner in the bottom ones.
    static void checkAndSaveShot(Result_wnd *w, const VDOUB3 &z, std::pair<size_t, size_t> peak,
                                 const QString &name)
    {
        const QImage shot = w->grab().toImage();
        const QColor top = colourAt(shot, w, z[0][peak.first][peak.second], z[1][peak.first][peak.second]);
        EXPECT_GT(top.red(), 100);
        EXPECT_LT(top.green(), 60);
        EXPECT_LT(top.blue(), 60);
        const QColor corner = colourAt(shot, w, z[0][2][2], z[1][2][2]);
        EXPECT_LT(corner.red(), 60);
        EXPECT_GT(corner.blue(), 120);

        const QString dir = qEnvironmentVariable("KORMAX_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        EXPECT_TRUE(shot.save(dir + "/" + name));
    }

    static void closeResult(Result_wnd *w)
    {
        BoxRecorder::instance().setAnswer(QMessageBox::Yes);
        testsupport::closeByUser(w);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    testsupport::TempAppDir app;
};
} // namespace

TEST_F(RealCalculatorResult, TransverseFieldPeaksAtTheFocus)
{
    plane_ch_wnd plane;
    plane.show();
    Result_wnd *w = calculateAndShow(plane, false, 1); // pressure, MPa
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(BoxRecorder::instance().texts().filter("Ошибка").isEmpty())
        << BoxRecorder::instance().texts().join("\n").toStdString();

    const VDOUB3 z = w->findChild<Plot *>("widget")->GetZ();
    ASSERT_EQ(z[0].size(), 101u);
    ASSERT_EQ(z[0][0].size(), 101u);
    // The default plane spans +-A/6 = +-2.8333 cm at the focal distance.
    // (The step shows as 0.0283 cm: fields keep six characters.)
    EXPECT_NEAR(z[0][0][0], -2.83, 1e-9);
    EXPECT_NEAR(z[1][100][100], 2.83, 1e-9);
    const auto peak = argmax(z);
    EXPECT_NEAR(z[0][peak.first][peak.second], 0.0, 0.06);
    EXPECT_NEAR(z[1][peak.first][peak.second], 0.0, 0.06);
    // Several MPa at the focus from 0.25 MPa on the elements.
    EXPECT_GT(z[2][peak.first][peak.second], 1.0);
    checkAndSaveShot(w, z, peak, "result_transverse.png");
    closeResult(w);
}

TEST_F(RealCalculatorResult, AxialFieldPeaksOnTheAxisNearTheFocus)
{
    plane_ch_wnd plane;
    plane.show();
    Result_wnd *w = calculateAndShow(plane, true, 0); // normalised pressure
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->width(), 1070);

    const VDOUB3 z = w->findChild<Plot *>("widget")->GetZ();
    ASSERT_EQ(z[0].size(), 241u); // z along the horizontal axis
    ASSERT_EQ(z[0][0].size(), 101u);
    EXPECT_NEAR(z[0][0][0], 6.5, 1e-3);
    EXPECT_NEAR(z[0][240][0], 19.484, 1e-9); // dz shows as 0.0541 cm
    EXPECT_NEAR(z[1][0][0], -2.83, 1e-9);
    const auto peak = argmax(z);
    EXPECT_NEAR(z[1][peak.first][peak.second], 0.0, 0.06); // on the axis
    EXPECT_NEAR(z[0][peak.first][peak.second], 13.0, 1.0); // near the focal distance
    checkAndSaveShot(w, z, peak, "result_axial.png");
    closeResult(w);
}
