// The result actions of the quality windows: the checks and their messages in order, the best
// focus and its tie rule, the scale maximum, and what the opened windows are given.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPointer>
#include <cmath>

#include "RectIntersection.h"
#include "axialquality_wnd.h"
#include "radialquality_wnd.h"
#include "plane_test_util.h"
#include "print_qt.h"
#include "plot_main_and_side.h"
#include "plot_main_max.h"
#include "quality_results.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd_qual.h"
#include "scan_fixture.h"
#include "test_support.h"

using testsupport::BoxRecorder;
using namespace qualityresult;

namespace {
// Axial runs: main 5 x 3 focus positions (z 10..14 cm, r -1..1 cm) with its best value 0.9 at
// z = 12 cm, r = 1 cm; side 3 x 3 (z 11..13 cm, r -0.5..0.5 cm). The main job's field result
// text file has the maximum 2e+06.
class QualityResultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
        shared::is_prodol = true;
        shared::is_poper = false;
        scanfixture::setScanRun(app.path(), true, false, 5, 3);
        scanfixture::writeScan(shared::name_of_file_main_max_axial, true, 5, 3, 0.10, -0.01, 0.01, 0.01,
                               [](double z, double r) { return std::abs(z - 0.12) < 1e-9 && r > 0.005 ? 0.9 : 0.5; });
        scanfixture::setScanRun(app.path(), true, true, 3, 3);
        scanfixture::writeScan(shared::name_of_file_side_max_axial, true, 3, 3, 0.11, -0.005, 0.01, 0.005,
                               [](double, double) { return 0.2; });
        testsupport::writeAll(app.file("main_max/AbsField_YZ.txt"), "-0.01 0.001 0.01\n0.1 0.001 0.14\n2e+06\n0 0 1\n");

        request.axial = true;
        request.plane = {0.09, 0, 7, 3, 0.01, 0.01, 0.13, 0, 0, 0, 0, 0, 0};
        request.main = {0.10, 15, 5, 2, 0.01, 0.01};
        request.side = {0.11, 15, 3, 2, 0.005, 0.01};
        request.levelsMain = {0.9, 0.7, 0.5};
        request.levelsSide = {0.32, 0.3, 0.25};
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<Result_Wnd_qual *>(w) || qobject_cast<Result_Main_and_Side_wnd *>(w))
                delete w;
    }
    QStringList errors() const
    {
        QStringList list;
        for (const testsupport::RecordedBox &b : BoxRecorder::instance().boxes())
            if (b.title == QString("Ошибка!"))
                list << b.text;
        return list;
    }

    testsupport::TempAppDir app;
    Request request;
};

const QString mainNotDone = "Оценка качества поля по главным максимумам не была произведена! Повторите оценку.";
const QString sideNotDone = "Оценка качества поля по побочным максимумам не была произведена! Повторите оценку.";
} // namespace

TEST(QualityResults, BestFocusKeepsTheFirstRowAndColumnOfEqualMaxima)
{
    VDOUB3 v(3, VDOUB2(3, VDOUB(3, 0.0)));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            v[0][i][j] = i;
            v[1][i][j] = 10 + j;
        }
    v[2][1] = {0.5, 0.8, 0.8};
    v[2][2] = {0.8, 0.1, 0.1};
    BestFocus best = bestMainMaximum(v);
    EXPECT_EQ(best.ix, 1);
    EXPECT_EQ(best.iy, 1);
    EXPECT_DOUBLE_EQ(best.x, 1);
    EXPECT_DOUBLE_EQ(best.y, 11);
    v[2][2][2] = 0.81;
    best = bestMainMaximum(v);
    EXPECT_EQ(best.ix, 2);
    EXPECT_EQ(best.iy, 2);
    EXPECT_EQ(bestMainMaximum(VDOUB3()).ix, -1);

    // Rectangles that only touch along an edge have no common points.
    EXPECT_FALSE(RectIntersection(0, 1, -1, 1, 1, 2, -1, 1));
    EXPECT_FALSE(RectIntersection(0, 1, -1, 1, 0, 1, 1, 2));
    EXPECT_TRUE(RectIntersection(0, 1, -1, 1, 0.5, 2, 0.5, 2));
    EXPECT_TRUE(RectIntersection(0, 1, -1, 1, 0.2, 0.3, -0.1, 0.1)); // one inside the other
}

TEST(QualityResults, CombinedChecksInTheirOrder)
{
    const QString both = "Оценка качества поля по главным и побочным максимумам не была "
                         "произведена! Повторите оценку.";
    const QString planes = "Невозможно совместить контуры для главных и побочных максимумов, "
                           "полученые в разных плоскостях!";
    const QString apart = "Области оценки качества поля для главных и побочных максимумов не имеют "
                          "общих точек!";
    EXPECT_EQ(combinedProblem(false, true, false, false), mainNotDone);
    EXPECT_EQ(combinedProblem(true, false, false, false), sideNotDone);
    EXPECT_EQ(combinedProblem(false, false, false, false), both);
    EXPECT_EQ(combinedProblem(true, true, false, false), planes);
    EXPECT_EQ(combinedProblem(true, true, true, false), apart);
    EXPECT_EQ(combinedProblem(true, true, true, true), QString());
}

TEST_F(QualityResultsTest, MainResultShowsTheBestFocusAndTheScaleMaximum)
{
    request.resultType = 1; // intensity: the maximum 2e+06 is squared
    QPointer<Result_Wnd_qual> w = showSingle(false, request);
    ASSERT_TRUE(w);
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_GE(w->x(), 100);
    EXPECT_LT(w->x(), 110);
    EXPECT_TRUE(shared::is_intens_qual);
    EXPECT_FALSE(shared::is_side);
    EXPECT_EQ(shared::contourLevels_main, request.levelsMain);
    EXPECT_DOUBLE_EQ(shared::XF_max_pos, 0.12);
    EXPECT_DOUBLE_EQ(shared::YF_max_pos, 0.01);
    EXPECT_EQ(w->findChild<QLabel *>("Focus_Label")->text().section('\n', 0, 1),
              QString("Максимальное безразмерное значение 4e+12 достигается\nпри фокусировке в "
                      "точку x = 0 см, y = 1 см, z = 12 см."));
    // The analysed region is the main run's.
    EXPECT_TRUE(w->parameterText().contains("N<sub>z</sub> = 5"));
    EXPECT_DOUBLE_EQ(w->findChild<Plot_main_max *>()->GetZ()[2][2][2], 0.81);

    QPointer<Result_Wnd_qual> side = showSingle(true, request);
    ASSERT_TRUE(side);
    EXPECT_TRUE(shared::is_side);
    EXPECT_EQ(shared::contourLevels, request.levelsSide);
    EXPECT_EQ(side->findChild<QLabel *>("Focus_Label")->text(), QString());
    EXPECT_TRUE(side->parameterText().contains("N<sub>z</sub> = 3"));
    EXPECT_TRUE(side->parameterText().endsWith("<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));
}

TEST_F(QualityResultsTest, ResultsThatAreNotThereOpenNothing)
{
    QFile::remove(app.file("main_max/calcdone"));
    EXPECT_EQ(showSingle(false, request), nullptr);
    EXPECT_EQ(showMainAndSide(request), nullptr);
    EXPECT_EQ(errors(), QStringList({mainNotDone, mainNotDone}));
    BoxRecorder::instance().clear();
    testsupport::writeAll(app.file("main_max/calcdone"), "");

    // The two leading values are the calculator's own: any two doubles draw the same map. Only a
    // length that does not fit the run's 3 x 3 grid (a triplet short or over) and a missing field
    // result text file are named, not drawn.
    const QString bin = app.file("side_max/AbsField_YZ.bin");
    const QByteArray good = testsupport::readAll(bin);
    QPointer<Result_Wnd_qual> reference = showSingle(true, request);
    ASSERT_TRUE(reference);
    const VDOUB3 drawn = reference->findChild<Plot_main_max *>()->GetZ();
    const double leading[] = {12345, -1, NAN, 0.5};
    for (const double *pair : {leading, leading + 2}) {
        testsupport::writeAll(bin, QByteArray(reinterpret_cast<const char *>(pair), 16) + good.mid(16));
        QPointer<Result_Wnd_qual> w = showSingle(true, request);
        ASSERT_TRUE(w) << pair[0];
        EXPECT_EQ(w->findChild<Plot_main_max *>()->GetZ(), drawn) << pair[0];
        EXPECT_TRUE(showMainAndSide(request));
    }
    ASSERT_TRUE(errors().isEmpty());

    const struct {
        QByteArray bytes;
        QString problem;
    } refused[] = {{good.left(good.size() - 24), " короче, чем нужно для области смещения фокуса последнего расчета "
                                                 "(208 байт вместо 232). Повторите оценку."},
                   {good + good.right(24), " длиннее, чем нужно для области смещения фокуса последнего расчета "
                                           "(256 байт вместо 232). Повторите оценку."}};
    for (const auto &c : refused) {
        BoxRecorder::instance().clear();
        testsupport::writeAll(bin, c.bytes);
        EXPECT_EQ(showSingle(true, request), nullptr);
        EXPECT_EQ(showMainAndSide(request), nullptr);
        const QString text = "Файл результата оценки качества поля " + bin + c.problem;
        EXPECT_EQ(errors(), QStringList({text, text}));
    }
    BoxRecorder::instance().clear();
    QFile::remove(app.file("main_max/AbsField_YZ.txt"));
    EXPECT_EQ(showSingle(false, request), nullptr);
    EXPECT_EQ(errors(), QStringList("Не найден файл результата оценки качества поля: "
                                    + app.file("main_max/AbsField_YZ.txt") + ". Повторите оценку."));
}

TEST_F(QualityResultsTest, CombinedResultNeedsOnePlaneAndCommonPoints)
{
    request.side.phipr = 30;
    EXPECT_EQ(showMainAndSide(request), nullptr);
    request.side.phipr = 15;
    request.side.zminpr = 0.14; // starts where the main region ends
    EXPECT_EQ(showMainAndSide(request), nullptr);
    QStringList texts = errors();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].startsWith("Невозможно совместить"));
    EXPECT_TRUE(texts[1].startsWith("Области оценки"));

    // The transverse window compares z and never the rectangles.
    request.axial = false;
    request.main = request.side = PlaneSet();
    request.main.zop = request.side.zop = 0.13;
    shared::is_poper = true;
    scanfixture::setScanRun(app.path(), false, false, 3, 3);
    scanfixture::writeScan(shared::name_of_file_main_max_poper, false, 3, 3, -0.01, -0.01, 0.01, 0.01,
                           [](double, double) { return 0.5; });
    scanfixture::setScanRun(app.path(), false, true, 3, 3);
    scanfixture::writeScan(shared::name_of_file_side_max_poper, false, 3, 3, 0.05, 0.05, 0.01, 0.01,
                           [](double, double) { return 0.2; });
    testsupport::writeAll(app.file("main_max/AbsField_XY.txt"), "0 0 0 0 0 0 3\n");
    BoxRecorder::instance().clear();
    QPointer<Result_Main_and_Side_wnd> w = showMainAndSide(request);
    ASSERT_TRUE(w);
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(w->size(), QSize(518, 610).expandedTo(w->minimumSizeHint()));
    EXPECT_TRUE(w->findChild<QLabel *>("Focus_Label")->text().startsWith("Максимальное безразмерное значение 3 "));
    EXPECT_EQ(shared::contourLevels_side, request.levelsSide);
}

TEST_F(QualityResultsTest, AxialWindowButtonsCheckTheirJobsAndOpenTheirMaps)
{
    planetest::resetShared();
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });
    AxialQuality_wnd w;
    planetest::button(&w, "Button_def_side")->click();
    planetest::button(&w, "pushButton")->click();
    planetest::button(&w, "pushButton_2")->click();
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return false; });
    BoxRecorder::instance().clear();

    // The launches removed both markers: pressed too early, each button says which job is missing.
    const QList<QWidget *> before = QApplication::topLevelWidgets();
    for (const char *b : {"pushButton_4", "pushButton_7", "pushButton_6"})
        planetest::button(&w, b)->click();
    EXPECT_EQ(errors(), QStringList({mainNotDone, sideNotDone,
                                     "Оценка качества поля по главным и побочным максимумам не была "
                                     "произведена! Повторите оценку."}));
    EXPECT_EQ(QApplication::topLevelWidgets(), before);
    BoxRecorder::instance().clear();

    // The calculator finishes both jobs on the runs' grids (25 x 11 focus positions).
    ASSERT_EQ(shared::Nx_G_qual_main, 25);
    const Grid *g = w.currentGrid().get();
    for (bool side : {false, true}) {
        scanfixture::writeScan(side ? shared::name_of_file_side_max_axial : shared::name_of_file_main_max_axial, true,
                               g->Nx, g->Ny, g->Xmin, g->Ymin, g->dX, g->dY, [side](double z, double r) {
                                   return side ? 0.1 : 1 - std::abs(z - 0.13) - std::abs(r);
                               });
        testsupport::writeAll(app.file(side ? "side_max/calcdone" : "main_max/calcdone"), "");
    }
    planetest::combo(&w, "comboBox")->setCurrentIndex(1);
    w.findChild<QDoubleSpinBox *>("doubleSpinBox_2")->setValue(0.75);
    w.findChild<QDoubleSpinBox *>("doubleSpinBox_5")->setValue(0.05);

    planetest::button(&w, "pushButton_4")->click();
    planetest::button(&w, "pushButton_7")->click();
    planetest::button(&w, "pushButton_6")->click();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    QList<Result_Wnd_qual *> singles;
    Result_Main_and_Side_wnd *both = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *s = qobject_cast<Result_Wnd_qual *>(top))
            singles << s;
        if (auto *b = qobject_cast<Result_Main_and_Side_wnd *>(top))
            both = b;
    }
    ASSERT_EQ(singles.size(), 2);
    ASSERT_NE(both, nullptr);
    EXPECT_TRUE(shared::is_intens_qual);
    EXPECT_EQ(shared::contourLevels_main, QList<double>({0.9, 0.75, 0.5}));
    EXPECT_EQ(shared::contourLevels_side, QList<double>({0.32, 0.05, 0.32}));
    // The best focus of the main run: on the axis at the grid point nearest 13 cm; the field
    // maximum 2e+06 squared.
    const double zBest = g->Xmin + std::round((0.13 - g->Xmin) / g->dX) * g->dX;
    const QString label = "Максимальное безразмерное значение 4e+12 достигается\nпри фокусировке в "
                          "точку x = 0 см, y = 0 см, z = "
                          + QString::number(zBest * 100, 'g', 6) + " см.";
    EXPECT_EQ(both->findChild<QLabel *>("Focus_Label")->text(), label);
    int mainMaps = 0;
    for (Result_Wnd_qual *s : singles)
        mainMaps += s->findChild<QLabel *>("Focus_Label")->text().section('\n', 0, 1) == label;
    EXPECT_EQ(mainMaps, 1);
    EXPECT_TRUE(both->parameterText_side().contains("N<sub>z</sub> = 25"));
}

TEST_F(QualityResultsTest, TransverseWindowButtonsCheckTheirJobs)
{
    planetest::resetShared();
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });
    RadialQuality_wnd w;
    planetest::button(&w, "Button_def_2")->click();
    planetest::button(&w, "pushButton")->click();
    planetest::button(&w, "pushButton_2")->click();
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return false; });
    BoxRecorder::instance().clear();
    // The transverse form has the side-maxima button second and the combined one third.
    testsupport::writeAll(app.file("side_max/calcdone"), "");
    for (const char *b : {"pushButton_4", "pushButton_7"})
        planetest::button(&w, b)->click();
    EXPECT_EQ(errors(), QStringList({mainNotDone, mainNotDone}));
    BoxRecorder::instance().clear();
    testsupport::writeAll(app.file("main_max/calcdone"), "");
    QFile::remove(app.file("side_max/calcdone"));
    for (const char *b : {"pushButton_6", "pushButton_7"})
        planetest::button(&w, b)->click();
    EXPECT_EQ(errors(), QStringList({sideNotDone, sideNotDone}));
}
