// The transverse quality window: what differs from the axial one (regions centred on the axis in
// one plane, x and y, the job's grid files in the other order, its checks and grid), the way in
// from the plane window and back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPointer>

#include "job_files.h"
#include "plane_test_util.h"
#include "quality_test_util.h"
#include "radialquality_wnd.h"
#include "result_windows.h"
#include "test_support.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

// Plane z, x step, y step, Nx, Ny, x half-width, y half-width: field column, then focus-shift column.
QStringList columns(QWidget *w)
{
    return qualitytest::texts(w, {"lineEdit_4", "lineEdit_5", "lineEdit_6", "lineEdit_17", "lineEdit_16", "lineEdit_14",
                                  "lineEdit_15", "lineEdit", "lineEdit_2", "lineEdit_3", "lineEdit_10", "lineEdit_11",
                                  "lineEdit_12", "lineEdit_13"});
}

using RadialQuality = qualitytest::QualityWindowTest;

} // namespace

TEST_F(RadialQuality, DefaultsCentreBothRegionsOnTheAxisInOnePlane)
{
    RadialQuality_wnd w;
    EXPECT_EQ(w.windowTitle(), QString("Поперечная плоскость: оценка качества поля"));
    // The specified size, grown where this machine's fonts need more.
    EXPECT_EQ(w.minimumSize(), QSize(823, 652).expandedTo(w.minimumSizeHint()));
    for (const char *name : {"lineEdit", "lineEdit_12", "lineEdit_13", "lineEdit_14", "lineEdit_15", "pushButton",
                             "pushButton_2", "pushButton_4", "pushButton_6", "pushButton_7"})
        EXPECT_FALSE(w.findChild<QWidget *>(name)->isEnabled()) << name;

    button(&w, "Button_def")->click();
    EXPECT_EQ(columns(&w), QStringList({"12", "0.0333", "0.0333", "76", "76", "2.4975", "2.4975", "12", "0.0333",
                                        "0.0333", "51", "51", "1.665", "1.665"}));
    EXPECT_TRUE(boxTexts().isEmpty());
    EXPECT_TRUE(shared::is_poper && shared::is_scan);
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());

    button(&w, "Button_def_2")->click();
    EXPECT_EQ(columns(&w), QStringList({"12", "0.3333", "0.3333", "9", "9", "2.6664", "2.6664", "12", "0.3333",
                                        "0.3333", "6", "6", "1.6665", "1.6665"}));
    ASSERT_EQ(boxTexts().size(), 1);
    EXPECT_TRUE(boxTexts()[0].startsWith("По умолчанию выбраны грубые шаги"));

    // The focus-shift plane follows the field plane; a blank half-width of the focus-shift region
    // does not make it incomplete, an empty input does.
    edit(&w, "lineEdit_4")->setText("9.5");
    EXPECT_EQ(edit(&w, "lineEdit")->text(), QString("9.5"));
    edit(&w, "lineEdit_2")->clear();
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString(" "));
    EXPECT_FALSE(shared::is_scan);
    edit(&w, "lineEdit_2")->setText("0.");
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString(" "));
    EXPECT_TRUE(shared::is_scan);
    edit(&w, "lineEdit_5")->clear();
    EXPECT_EQ(edit(&w, "lineEdit_14")->text(), QString(" "));
    EXPECT_FALSE(shared::is_poper);
}

TEST_F(RadialQuality, RunsWriteTheFieldGridFirstAndCheckXThenY)
{
    shared::Elem = {{0.01, 0.02}};
    shared::xF = 0.01;
    shared::zF = 0.12;
    RadialQuality_wnd w;
    button(&w, "Button_def_2")->click();
    auto run = [&](const char *name) {
        BoxRecorder::instance().clear();
        button(&w, name)->click();
        return boxTexts().value(0);
    };

    // grid_scan.txt (the field region) comes before grid_calc.txt: when it cannot be written the
    // run stops there.
    const QString m = dir.file("main_max/");
    QDir(m).mkdir("grid_scan.txt");
    EXPECT_EQ(run("pushButton"), "Не удалось записать файл задания: " + m + "grid_scan.txt");
    EXPECT_FALSE(QFile::exists(m + "grid_calc.txt"));
    QDir(m).rmdir("grid_scan.txt");

    EXPECT_EQ(run("pushButton"), QString("Нажимте ОК по окончании работы программы расчета"));
    EXPECT_EQ(started, QStringList({m + "Trovane.bat"}));
    EXPECT_EQ(testsupport::readAll(m + "grid_scan.txt"),
              QByteArray("xy\n0.12\n17\n17\n-0.026664\n-0.026664\n0.003333\n0.003333"));
    EXPECT_EQ(testsupport::readAll(m + "grid_calc.txt"),
              QByteArray("xy\n0.12\n11\n11\n-0.016665\n-0.016665\n0.003333\n0.003333"));
    EXPECT_EQ(testsupport::readAll(m + "array_elements.txt"), QByteArray("0.01 -0.02\n"));
    EXPECT_EQ(testsupport::readAll(m + "focus.txt"), QByteArray("0.01\n0\n0.12"));
    EXPECT_EQ(shared::file_to_calc_qual, QString("AbsField_XY.bin"));
    EXPECT_EQ(shared::file_to_calc_field_in_max, QString("AbsField_XY.txt"));
    EXPECT_EQ(shared::name_of_file_main_max_poper, m + "AbsField_XY.bin");
    const Grid *g = w.currentGrid().get();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Nx, 11);
    EXPECT_EQ(g->Ny, 11);
    EXPECT_DOUBLE_EQ(g->Xmin, -5 * 0.003333);
    EXPECT_DOUBLE_EQ(g->Ymax, 5 * 0.003333);
    EXPECT_EQ(shared::Nx_G_qual_main, 11);
    EXPECT_EQ(w.Zop_main, 0.12);
    EXPECT_DOUBLE_EQ(w.Rxp_main, 0.016665);

    // Checks: counts of the field region first, then of the focus-shift region, then containment
    // (equal half-widths are inside), then the steps.
    edit(&w, "lineEdit_16")->setText("1");
    edit(&w, "lineEdit_10")->setText("1");
    EXPECT_EQ(run("pushButton_2"), QString("Область расчета поля не может быть задана менее, чем двумя точками по y"));
    edit(&w, "lineEdit_16")->setText("10");
    EXPECT_EQ(run("pushButton_2"),
              QString("Область смещения фокуса не может быть задана менее, чем двумя точками по x"));
    for (const char *n : {"lineEdit_17", "lineEdit_10", "lineEdit_11"})
        edit(&w, n)->setText("10");
    for (const char *n : {"lineEdit_5", "lineEdit_2", "lineEdit_6", "lineEdit_3"})
        edit(&w, n)->setText("0.1");
    edit(&w, "lineEdit_2")->setText("0.11");
    EXPECT_EQ(run("pushButton_2"), QString("Область смещения фокуса должна находиться внутри области расчета поля!"));
    edit(&w, "lineEdit_2")->setText("0.1");
    edit(&w, "lineEdit_3")->setText("0.");
    EXPECT_EQ(run("pushButton_2"), QString("Невозможен нулевой шаг по y!"));
    EXPECT_EQ(started.size(), 1);
    edit(&w, "lineEdit_3")->setText("0.1");
    EXPECT_EQ(run("pushButton_2"), QString("Нажимте ОК по окончании работы программы расчета"));
    EXPECT_EQ(started.last(), dir.file("side_max/Trovane.bat"));
    EXPECT_EQ(testsupport::readAll(dir.file("side_max/grid_calc.txt")),
              QByteArray("xy\n0.12\n19\n19\n-0.009\n-0.009\n0.001\n0.001"));
    EXPECT_EQ(shared::name_of_file_side_max_poper, dir.file("side_max/AbsField_XY.bin"));
    EXPECT_EQ(shared::Ny_G_qual_side, 19);
}

TEST_F(RadialQuality, OpensFromThePlaneWindowAndGoesBackWithTheFieldRegion)
{
    QPointer<plane_ch_wnd> plane = new plane_ch_wnd();
    plane->SetFocusDefault();
    button(plane, "Button_def")->click();
    plane->setGeometry(40, 50, 900, 700);
    plane->show();
    ASSERT_TRUE(button(plane, "pushButton_7")->isEnabled());
    button(plane, "pushButton_7")->click();

    QPointer<RadialQuality_wnd> q = testsupport::shownWindow<RadialQuality_wnd>();
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(!plane || !plane->isVisible());
    EXPECT_EQ(q->geometry(), QRect(40, 50, 900, 700));
    EXPECT_TRUE(boxTexts().isEmpty());
    // R = 12 cm: 101 x 101 points over +-A/6 at the centre of curvature.
    EXPECT_EQ(columns(q).mid(0, 8), QStringList({"12", "0.0333", "0.0333", "51", "51", "1.665", "1.665", "12"}));
    EXPECT_DOUBLE_EQ(q->Zop, 0.12);
    EXPECT_TRUE(shared::is_poper);
    EXPECT_FALSE(shared::is_scan);
    EXPECT_FALSE(shared::is_foc);

    edit(q, "lineEdit_17")->setText("26");
    button(q, "pushButton_3")->click();
    EXPECT_TRUE(!q || !q->isVisible());
    plane_ch_wnd *back = testsupport::shownWindow<plane_ch_wnd>();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(tabs(back)->currentIndex(), 0);
    EXPECT_EQ(edit(back, "lineEdit_10")->text(), QString("26"));
    EXPECT_EQ(edit(back, "lineEdit_12")->text(), QString("0.8325"));
    EXPECT_TRUE(shared::is_poper);
    EXPECT_FALSE(shared::is_prodol);
    EXPECT_TRUE(boxTexts().isEmpty());
    back->close();
}
