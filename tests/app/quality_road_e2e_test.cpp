// The quality road a new user walks, with the real calculator, from the example data in both
// planes: the plane window's default plane, its quality window, the default main-maxima scan and its
// map with every export, the default side-maxima scan, its map and both maps together, back to the
// plane window with the field region kept; at the end leaving with Yes removes the job files of all
// three job folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "axialquality_wnd.h"
#include "build_list_of_elem.h"
#include "main_params.h"
#include "plane_test_util.h"
#include "quality_test_util.h"
#include "radialquality_wnd.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd_qual.h"
#include "result_windows.h"
#include "road_test.h"
#include "test_support.h"
#include "window_common.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

class QualityRoad : public testsupport::RoadTest
{
protected:
    void SetUp() override
    {
        resetShared();
        // The example data of the main window.
        ASSERT_TRUE(testsupport::setExampleArray());
        // The job folders as installed: the shipped batch files beside the real calculator.
        ASSERT_NO_FATAL_FAILURE(copyShipped({"calc/calc.bat", "main_max/Trovane.bat", "side_max/Trovane.bat"}));
        ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", app.file("kormax-calc")));
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
        startForReal();
        exitWaitMs = 30000;
        // The user presses OK once the calculator just started has finished.
        platform::setBoxHandler([this](const platform::Box &box) {
            const QString running = starts.isEmpty() ? QString() : starts.last()[1];
            if (box.text.startsWith("Нажимте") && !testsupport::waitForFile(running + "calcdone", 300000))
                ADD_FAILURE() << "no calcdone in " << running.toStdString() << "; log.txt:\n"
                              << testsupport::readAll(running + "log.txt").toStdString();
            return BoxRecorder::instance().record(box);
        });
        platform::setFileDialogHandler([this](const platform::FileDialog &) { return dialogAnswer; });
    }

    // A result button of a quality window: the one new window of class W it opens.
    template <class W> W *open(QWidget *quality, const char *name)
    {
        const QList<QWidget *> before = QApplication::topLevelWidgets();
        EXPECT_TRUE(button(quality, name)->isEnabled()) << name;
        button(quality, name)->click();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (W *w = qobject_cast<W *>(top))
                if (w->isVisible() && !before.contains(w))
                    return w;
        ADD_FAILURE() << name
                      << " opened nothing; boxes: " << BoxRecorder::instance().texts().join(" | ").toStdString();
        return nullptr;
    }

    // An export button of a result window to a file name; the bytes written.
    QByteArray exportTo(QWidget *result, const char *buttonName, const QString &name)
    {
        dialogAnswer = exports.filePath(name);
        button(result, buttonName)->click();
        dialogAnswer.clear();
        return testsupport::readAll(exports.filePath(name));
    }

    // One plane's road from the plane window's default plane to the way back; returns the new plane
    // window.
    plane_ch_wnd *walk(plane_ch_wnd *plane, bool axial);

    QTemporaryDir exports;
    QString dialogAnswer;
};

plane_ch_wnd *QualityRoad::walk(plane_ch_wnd *plane, bool axial)
{
    tabs(plane)->setCurrentIndex(axial ? 1 : 0);
    button(plane, axial ? "Button_def_2" : "Button_def")->click();
    // The field of the default plane first, as the road before the quality window goes.
    button(plane, axial ? "pushButton_3" : "pushButton_4")->click();
    EXPECT_TRUE(QFile::exists(app.file("calc/calcdone")));
    button(plane, axial ? "pushButton_9" : "pushButton_7")->click();
    QWidget *q = axial ? static_cast<QWidget *>(testsupport::shownWindow<AxialQuality_wnd>())
                       : static_cast<QWidget *>(testsupport::shownWindow<RadialQuality_wnd>());
    if (!q) {
        ADD_FAILURE() << "no quality window";
        return nullptr;
    }
    const char *sideResult = axial ? "pushButton_7" : "pushButton_6";
    const char *bothResults = axial ? "pushButton_6" : "pushButton_7";

    // Main maxima: defaults, scan, map and every export.
    button(q, axial ? "Button_def_main" : "Button_def")->click();
    BoxRecorder::instance().clear();
    button(q, "pushButton")->click();
    EXPECT_EQ(BoxRecorder::instance().texts(), QStringList({"Нажимте ОК по окончании работы программы расчета"}));
    const QString bin = app.file(axial ? "main_max/AbsField_YZ.bin" : "main_max/AbsField_XY.bin");
    const int nx = shared::Nx_G_qual_main, ny = shared::Ny_G_qual_main;
    EXPECT_EQ(QFile(bin).size(), (3 * nx * ny + 2) * 8);
    Result_Wnd_qual *mainMap = open<Result_Wnd_qual>(q, "pushButton_4");
    if (mainMap) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(mainMap));
        EXPECT_TRUE(exportTo(mainMap, "pushButton", "main.pdf").startsWith("%PDF-"));
        EXPECT_TRUE(exportTo(mainMap, "pushButton", "main.svg").contains("<svg"));
        EXPECT_TRUE(exportTo(mainMap, "pushButton", "main.png").startsWith("\x89PNG\r\n\x1a\n"));
        // The text export holds one line per focus position after its header.
        const QByteArray txt = exportTo(mainMap, "pushButton", "main.txt");
        EXPECT_GE(txt.count('\n'), nx * ny);
    }

    // Side maxima: defaults, scan, map, and both maps together.
    button(q, axial ? "Button_def_side" : "Button_def_2")->click();
    button(q, "pushButton_2")->click();
    EXPECT_TRUE(QFile::exists(app.file("side_max/calcdone")));
    Result_Wnd_qual *sideMap = open<Result_Wnd_qual>(q, sideResult);
    if (sideMap) {
        EXPECT_TRUE(exportTo(sideMap, "pushButton", "side.png").startsWith("\x89PNG"));
    }
    auto *both = open<Result_Main_and_Side_wnd>(q, bothResults);
    if (both) {
        EXPECT_FALSE(exportTo(both, "pushButton", "both_main.txt").isEmpty());
        EXPECT_FALSE(exportTo(both, "pushButton_2", "both_side.txt").isEmpty());
    }

    // Back to the plane window, with the field region as the plane.
    const QString fieldCount = planetest::edit(q, axial ? "lineEdit_15" : "lineEdit_17")->text();
    button(q, "pushButton_3")->click();
    plane_ch_wnd *back = testsupport::shownWindow<plane_ch_wnd>();
    if (!back) {
        ADD_FAILURE() << "no plane window after the way back";
        return nullptr;
    }
    EXPECT_EQ(tabs(back)->currentIndex(), axial ? 1 : 0);
    EXPECT_EQ(planetest::edit(back, axial ? "lineEdit_8" : "lineEdit_10")->text(), fieldCount);
    return back;
}

} // namespace

TEST_F(QualityRoad, BothPlanesFromTheExampleDataToTheMapsAndBack)
{
    plane_ch_wnd *plane = new plane_ch_wnd();
    plane->SetFocusDefault();
    plane->show();
    plane = walk(plane, true);
    ASSERT_NE(plane, nullptr);
    plane = walk(plane, false);
    ASSERT_NE(plane, nullptr);

    // Leaving with Yes removes every job's files.
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(plane));
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    for (const char *f :
         {"calc/AbsField_XY.txt", "calc/grid_calc.txt", "main_max/AbsField_XY.bin", "main_max/grid_scan.txt",
          "main_max/calcdone", "side_max/side_maxes.txt", "side_max/AbsField_XY.txt", "side_max/array.txt"})
        EXPECT_FALSE(QFile::exists(app.file(f))) << f;
    EXPECT_TRUE(QFile::exists(app.file("main_max/Trovane.bat")));
}
