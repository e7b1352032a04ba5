// The axial quality window and the scan files it writes and reads: regions, derived fields,
// defaults, checks, the six job files of a run, the buttons across runs and edits, the way in from
// the plane window and back, and a real side-maxima scan of the example array.
#include <gtest/gtest.h>

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QRegExpValidator>
#include <cmath>
#include <cstring>
#include <omp.h>

#include "JobLimits.h"
#include "RectIn.h"
#include "axialquality_wnd.h"
#include "build_list_of_elem.h"
#include "job_files.h"
#include "plane_test_util.h"
#include "quality_test_util.h"
#include "read_from_file_main_max.h"
#include "read_maximum.h"
#include "result_windows.h"
#include "test_support.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

QByteArray doubles(const std::vector<double> &v)
{
    QByteArray b(int(v.size() * sizeof(double)), 0);
    std::memcpy(b.data(), v.data(), size_t(b.size()));
    return b;
}

// Fields of the window by column (z start, z step, r step, angle, Nz, Nr, z end, r half-width):
// field region, then focus-shift region.
QStringList fieldColumn(QWidget *w)
{
    return qualitytest::texts(w, {"lineEdit_21", "lineEdit_20", "lineEdit_19", "lineEdit_16", "lineEdit_15",
                                  "lineEdit_17", "lineEdit_18", "lineEdit_14"});
}
QStringList shiftColumn(QWidget *w)
{
    return qualitytest::texts(w, {"lineEdit_6", "lineEdit_7", "lineEdit_8", "lineEdit_9", "lineEdit_10", "lineEdit_11",
                                  "lineEdit_12", "lineEdit_13"});
}

using AxialQuality = qualitytest::QualityWindowTest;

} // namespace

TEST(ScanReaders, BinaryResultInBothLayoutsNeverReadsPastTheEnd)
{
    testsupport::TempAppDir dir;
    // Nx = 2, Ny = 3: two leading values, then triplet k = (10k + 1, 10k + 2, 10k + 3).
    std::vector<double> v = {-7, 99};
    for (int k = 0; k < 6; ++k)
        v.insert(v.end(), {10.0 * k + 1, 10.0 * k + 2, 10.0 * k + 3});
    const QString path = dir.file("main_max/AbsField_YZ.bin");
    testsupport::writeAll(path, doubles(v));

    // Axial: i (along z) fastest, first value to plane 1, second to plane 0.
    VDOUB3 a = read_from_file_main_max(path, 2, 3, true);
    EXPECT_EQ(a[1][0][0], 1);
    EXPECT_EQ(a[0][0][0], 2);
    EXPECT_EQ(a[2][0][0], 3);
    EXPECT_EQ(a[1][1][0], 11); // triplet 1
    EXPECT_EQ(a[1][0][1], 21); // triplet 2
    EXPECT_EQ(a[2][1][2], 53); // triplet 5

    // Transverse: j fastest, values in plane order.
    VDOUB3 t = read_from_file_main_max(path, 2, 3, false);
    EXPECT_EQ(t[0][0][1], 11); // triplet 1
    EXPECT_EQ(t[1][1][0], 32); // triplet 3
    EXPECT_EQ(t[2][1][2], 53);

    // The leading values are not read.
    v[0] = 12345;
    v[1] = std::nan("");
    testsupport::writeAll(path, doubles(v));
    EXPECT_EQ(read_from_file_main_max(path, 2, 3, true), a);

    // A short file (the last triplet cut in the middle) leaves the missing points at zero; a
    // missing file gives zeros of the full size.
    v.resize(v.size() - 2);
    testsupport::writeAll(path, doubles(v) + QByteArray("abc"));
    VDOUB3 s = read_from_file_main_max(path, 2, 3, true);
    EXPECT_EQ(s[1][0][2], 41);
    EXPECT_EQ(s[1][1][2], 0);
    EXPECT_EQ(s[2][1][2], 0);
    VDOUB3 none = read_from_file_main_max(dir.file("nowhere.bin"), 2, 3, false);
    ASSERT_EQ(none.size(), 3u);
    EXPECT_EQ(none[2], VDOUB2(2, VDOUB(3, 0.0)));
}

TEST(ScanReaders, MaximumIsTheSeventhNumberAndRectInAllowsTouchingEdges)
{
    testsupport::TempAppDir dir;
    const QString path = dir.file("main_max/AbsField_YZ.txt");
    testsupport::writeAll(path, "0.05 0.01 0.15\n-0.02 0.01 0.02\n1.2e+06\n0.1 0.2 0.3\nrest");
    EXPECT_DOUBLE_EQ(read_maximum(path), 1.2e6);
    testsupport::writeAll(path, "0.05 0.01 0.15\n");
    EXPECT_EQ(read_maximum(path), 0.0);
    EXPECT_EQ(read_maximum(dir.file("missing.txt")), 0.0);

    EXPECT_TRUE(RectIn(0, 1, -1, 1, 0, 1, -1, 1));
    EXPECT_TRUE(RectIn(0, 1, -1, 1, 0.2, 0.8, -0.5, 0.5));
    EXPECT_FALSE(RectIn(0, 1, -1, 1, -0.1, 0.8, -0.5, 0.5));
    EXPECT_FALSE(RectIn(0, 1, -1, 1, 0.2, 1.1, -0.5, 0.5));
    EXPECT_FALSE(RectIn(0, 1, -1, 1, 0.2, 0.8, -1.5, 0.5));
    EXPECT_FALSE(RectIn(0, 1, -1, 1, 0.2, 0.8, -0.5, 1.5));
    EXPECT_FALSE(RectIn(0, 1, -1, 1, std::nan(""), 0.8, -0.5, 0.5));
}

TEST_F(AxialQuality, FormStartsWithTheFieldColumnOnlyAndEveryButtonThatCannotActDisabled)
{
    AxialQuality_wnd w;
    EXPECT_EQ(w.windowTitle(), QString("Аксиальная плоскость: оценка качества поля"));
    // The specified size, grown where this machine's fonts need more.
    EXPECT_EQ(w.minimumSize(), QSize(823, 652).expandedTo(w.minimumSizeHint()));
    EXPECT_EQ(w.findChild<QWidget *>("widget")->focusPolicy(), Qt::StrongFocus);

    for (const char *name : {"lineEdit_21", "lineEdit_20", "lineEdit_19", "lineEdit_15", "lineEdit_17", "lineEdit_6",
                             "lineEdit_7", "lineEdit_8", "lineEdit_10", "lineEdit_11", "lineEdit_16"}) {
        const auto *v = qobject_cast<const QRegExpValidator *>(edit(&w, name)->validator());
        ASSERT_NE(v, nullptr) << name;
        EXPECT_EQ(edit(&w, name)->maxLength(), 6) << name;
        EXPECT_TRUE(edit(&w, name)->isEnabled()) << name;
    }
    EXPECT_EQ(qobject_cast<const QRegExpValidator *>(edit(&w, "lineEdit_16")->validator())->regExp().pattern(),
              QString("^[-]{0,1}[0-9]*[.]{1}[0-9]*$"));
    EXPECT_EQ(qobject_cast<const QRegExpValidator *>(edit(&w, "lineEdit_11")->validator())->regExp().pattern(),
              QString("^[0-9]{1,5}$"));
    for (const char *name : {"lineEdit_9", "lineEdit_18", "lineEdit_14", "lineEdit_12", "lineEdit_13"}) {
        EXPECT_FALSE(edit(&w, name)->isEnabled()) << name;
        EXPECT_EQ(edit(&w, name)->validator(), nullptr) << name;
    }
    for (const char *name : {"pushButton", "pushButton_2"})
        EXPECT_FALSE(button(&w, name)->isEnabled()) << name;
    // No results before a run.
    for (const char *name : {"pushButton_4", "pushButton_7", "pushButton_6"})
        EXPECT_FALSE(button(&w, name)->isEnabled()) << name;
    EXPECT_EQ(button(&w, "Button_def_side")->text(), QString("Задать\nпараметры\nпо умолчанию"));
    EXPECT_EQ(button(&w, "Button_def_main")->text(), QString("Задать\nпараметры\nпоумолчанию"));

    const QList<double> levels = {0.9, 0.7, 0.5, 0.32, 0.32, 0.32};
    const char *const spins[] = {"doubleSpinBox",   "doubleSpinBox_2", "doubleSpinBox_3",
                                 "doubleSpinBox_4", "doubleSpinBox_5", "doubleSpinBox_6"};
    for (int k = 0; k < 6; ++k) {
        const auto *s = w.findChild<QDoubleSpinBox *>(spins[k]);
        ASSERT_NE(s, nullptr) << spins[k];
        EXPECT_DOUBLE_EQ(s->value(), levels[k]);
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 1);
        EXPECT_DOUBLE_EQ(s->singleStep(), 0.01);
        EXPECT_EQ(s->decimals(), 2);
    }
    EXPECT_EQ(combo(&w, "comboBox")->itemText(1), QString("Результат для\nинтенсивности"));
}

TEST_F(AxialQuality, DefaultsFillBothRegionsFromTheArray)
{
    AxialQuality_wnd w;
    button(&w, "Button_def_main")->click();
    // z start, z step, r step, angle, Nz, Nr, z end, r half-width (cm).
    EXPECT_EQ(shiftColumn(&w), QStringList({"6", "0.05", "0.0333", "0", "241", "51", "18", "1.665"}));
    EXPECT_EQ(fieldColumn(&w), QStringList({"4.5", "0.05", "0.0333", "0", "301", "76", "19.5", "2.4975"}));
    EXPECT_TRUE(boxTexts().isEmpty());
    EXPECT_TRUE(shared::is_prodol && shared::is_scan);
    EXPECT_TRUE(button(&w, "pushButton")->isEnabled());
    EXPECT_DOUBLE_EQ(shared::zminpr, 0.045);
    EXPECT_DOUBLE_EQ(shared::rpr, 0.024975);

    button(&w, "Button_def_side")->click();
    EXPECT_EQ(shiftColumn(&w), QStringList({"6", "0.5", "0.3333", "0", "25", "6", "18", "1.6665"}));
    EXPECT_EQ(fieldColumn(&w), QStringList({"4.5", "0.5", "0.3333", "0", "31", "9", "19.5", "2.6664"}));
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Внимание!"));
    EXPECT_TRUE(boxTexts()[0].startsWith("По умолчанию выбраны грубые шаги"));
}

TEST_F(AxialQuality, DerivedFieldsBlankKeepOrFollowTheirInputs)
{
    AxialQuality_wnd w;
    button(&w, "Button_def_main")->click();
    // Focus-shift region: a cleared input blanks, a number still being typed keeps the old value.
    edit(&w, "lineEdit_7")->clear();
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString(" "));
    EXPECT_FALSE(shared::is_scan);
    EXPECT_FALSE(button(&w, "pushButton")->isEnabled());
    edit(&w, "lineEdit_7")->setText("0.");
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString(" "));
    edit(&w, "lineEdit_7")->setText("0.1");
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString("30"));
    EXPECT_TRUE(shared::is_scan);
    edit(&w, "lineEdit_11")->setText("3");
    EXPECT_EQ(edit(&w, "lineEdit_13")->text(), QString("0.0666"));

    // Field region: no digit test.
    edit(&w, "lineEdit_19")->setText("0.");
    EXPECT_EQ(edit(&w, "lineEdit_14")->text(), QString("0"));
    edit(&w, "lineEdit_17")->clear();
    EXPECT_EQ(edit(&w, "lineEdit_14")->text(), QString(" "));
    EXPECT_FALSE(shared::is_prodol);

    // The angle is copied into the focus-shift column as typed.
    edit(&w, "lineEdit_16")->setText("-30.");
    EXPECT_EQ(edit(&w, "lineEdit_9")->text(), QString("-30."));
    EXPECT_DOUBLE_EQ(shared::phipr, -30);
}

TEST_F(AxialQuality, ChecksComeInOrderAfterTheFilesAndLeaveTheMarkerAlone)
{
    AxialQuality_wnd w;
    button(&w, "Button_def_side")->click();
    testsupport::writeAll(dir.file("main_max/calcdone"), "");
    BoxRecorder::instance().clear();
    auto runMain = [&] {
        BoxRecorder::instance().clear();
        button(&w, "pushButton")->click();
        return boxTexts().value(0);
    };

    // The field region's count comes first, even with a broken focus-shift region.
    edit(&w, "lineEdit_15")->setText("1");
    edit(&w, "lineEdit_10")->setText("1");
    EXPECT_EQ(runMain(), QString("Область расчета поля не может быть задана менее, чем двумя точками по z"));
    EXPECT_TRUE(QFile::exists(dir.file("main_max/grid_scan.txt")));
    edit(&w, "lineEdit_15")->setText("31");
    EXPECT_EQ(runMain(), QString("Область смещения фокуса не может быть задана менее, чем двумя точками по z"));
    edit(&w, "lineEdit_10")->setText("25");

    // A focus-shift region equal to the field region is inside it; one step wider is not.
    for (auto [from, to] : {std::pair{"lineEdit_21", "lineEdit_6"},
                            {"lineEdit_20", "lineEdit_7"},
                            {"lineEdit_19", "lineEdit_8"},
                            {"lineEdit_15", "lineEdit_10"},
                            {"lineEdit_17", "lineEdit_11"}})
        edit(&w, to)->setText(edit(&w, from)->text());
    edit(&w, "lineEdit_11")->setText("10");
    EXPECT_EQ(runMain(), QString("Область смещения фокуса должна находиться внутри области расчета поля!"));
    edit(&w, "lineEdit_8")->setText("0.");
    edit(&w, "lineEdit_19")->setText("0.");
    edit(&w, "lineEdit_11")->setText("9");
    EXPECT_EQ(runMain(), QString("Невозможен нулевой шаг по r!"));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(QFile::exists(dir.file("main_max/calcdone")));
    EXPECT_FALSE(button(&w, "pushButton_4")->isEnabled());

    edit(&w, "lineEdit_8")->setText("0.3333");
    edit(&w, "lineEdit_19")->setText("0.3333");
    EXPECT_EQ(runMain(), QString("Нажимте ОК по окончании работы программы расчета"));
    EXPECT_EQ(started, QStringList({dir.path() + "/main_max/Trovane.bat"}));
    EXPECT_FALSE(QFile::exists(dir.file("main_max/calcdone")));
}

TEST_F(AxialQuality, RunsWriteTheSixJobFilesAndRecordTheirGrids)
{
    shared::Elem = {{0.01, 0.02}};
    shared::xF = 0.01;
    shared::zF = 0.12;
    AxialQuality_wnd w;
    button(&w, "Button_def_main")->click();
    edit(&w, "lineEdit_16")->setText("90");
    button(&w, "pushButton")->click();
    ASSERT_EQ(boxTexts(), QStringList({"Нажимте ОК по окончании работы программы расчета"}));
    EXPECT_EQ(startDirs, QStringList({dir.path() + "/main_max/"}));

    const QString m = dir.file("main_max/");
    EXPECT_EQ(testsupport::readAll(m + "array.txt"), jobfiles::arrayText(0.1, 0.12f, 0.0035, 1e6, 0.01));
    EXPECT_EQ(testsupport::readAll(m + "medium.txt"), jobfiles::mediumText(1000, 1500, 4200, 0));
    EXPECT_EQ(testsupport::readAll(m + "array_elements.txt"), QByteArray("0.02 0.01\n"));
    EXPECT_EQ(testsupport::readAll(m + "focus.txt"), QByteArray("1.7949e-11\n0.01\n0.12"));
    EXPECT_EQ(testsupport::readAll(m + "grid_calc.txt"),
              QByteArray("yz\n0\n101\n241\n-0.01665\n0.06\n0.000333\n0.0005"));
    EXPECT_EQ(testsupport::readAll(m + "grid_scan.txt"),
              QByteArray("yz\n0\n151\n301\n-0.024975\n0.045\n0.000333\n0.0005"));
    EXPECT_EQ(shared::file_to_calc_qual, QString("AbsField_YZ.bin"));
    EXPECT_EQ(shared::file_to_calc_field_in_max, QString("AbsField_YZ.txt"));
    EXPECT_EQ(shared::name_of_file_main_max_axial, m + "AbsField_YZ.bin");
    EXPECT_FALSE(shared::is_side);

    const Grid *g = w.currentGrid().get();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Nx, 241);
    EXPECT_EQ(g->Ny, 101);
    EXPECT_DOUBLE_EQ(g->Xmin, 0.06);
    EXPECT_DOUBLE_EQ(g->Xmax, 0.18);
    EXPECT_DOUBLE_EQ(g->Ymax, 50 * 0.000333);
    EXPECT_DOUBLE_EQ(g->dX, 0.0005);
    EXPECT_EQ(shared::Nx_G_qual_main, 241);
    EXPECT_EQ(shared::Ny_G_qual_main, 101);
    EXPECT_EQ(w.FNzpr_main, 241);
    EXPECT_EQ(w.Phipr_main, 90);

    // The side run writes into its own folder: grid_calc.txt before grid_scan.txt, so a grid_calc
    // that cannot be written stops the run before grid_scan and says which file failed.
    BoxRecorder::instance().clear();
    button(&w, "Button_def_side")->click();
    const QString s = dir.file("side_max/");
    QDir(s).mkdir("grid_calc.txt");
    BoxRecorder::instance().clear();
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(boxTexts(), QStringList({"Не удалось записать файл задания: " + s + "grid_calc.txt"}));
    EXPECT_TRUE(QFile::exists(s + "focus.txt"));
    EXPECT_FALSE(QFile::exists(s + "grid_scan.txt"));
    EXPECT_EQ(started.size(), 1);
    EXPECT_FALSE(button(&w, "pushButton_7")->isEnabled());

    QDir(s).rmdir("grid_calc.txt");
    BoxRecorder::instance().clear();
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(started.last(), s + "Trovane.bat");
    EXPECT_EQ(testsupport::readAll(s + "grid_calc.txt"), QByteArray("yz\n0\n11\n25\n-0.016665\n0.06\n0.003333\n0.005"));
    EXPECT_EQ(testsupport::readAll(s + "grid_scan.txt"),
              QByteArray("yz\n0\n17\n31\n-0.026664\n0.045\n0.003333\n0.005"));
    EXPECT_EQ(testsupport::readAll(s + "array_elements.txt"), QByteArray("0.01 -0.02\n"));
    EXPECT_EQ(testsupport::readAll(s + "focus.txt"), QByteArray("0.01\n0\n0.12"));
    EXPECT_EQ(shared::name_of_file_side_max_axial, s + "AbsField_YZ.bin");
    EXPECT_TRUE(shared::is_side);
    EXPECT_EQ(shared::Nx_G_qual, 25);
    EXPECT_EQ(shared::Ny_G_qual, 11);
    EXPECT_EQ(shared::Nx_G_qual_side, 25);
    EXPECT_EQ(shared::Nx_G_qual_main, 241);
}

// A scan the calculator would refuse for want of memory is refused before any file is written, in
// one box; just enough memory lets it run.
TEST_F(AxialQuality, ScanBeyondTheMemoryIsRefusedBeforeAnyFileIsWritten)
{
    shared::Elem = VDOUB2(256, VDOUB{0.01, 0.02});
    AxialQuality_wnd w;
    button(&w, "Button_def_main")->click();
    // The main defaults of this array: 151 x 301 field points, 101 x 241 focus positions.
    const double fits = kjobs::scanMemoryBytes(151 * 301, 101 * 241, 256, omp_get_max_threads()) / 0.8;
    const QString m = dir.file("main_max/");
    const struct {
        double memory;
        bool refused;
    } cases[] = {{fits * (1 + 1e-9), false}, {fits * (1 - 1e-9), true}, {1 << 20, true}};
    for (const auto &c : cases) {
        for (const QString &f : QDir(m).entryList(QDir::Files))
            QFile::remove(m + f);
        started.clear();
        BoxRecorder::instance().clear();
        platform::setPhysicalMemoryOverride(c.memory);
        button(&w, "pushButton")->click();
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1) << c.memory;
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString(c.refused ? "Ошибка!" : "Внимание!"));
        EXPECT_EQ(boxTexts()[0].startsWith("Оценке качества не хватит памяти: для области расчета поля в 45451 "
                                           "точек (151 × 301), области смещения фокуса в 24341 точек (101 × 241) "
                                           "и 256 элементов программе расчета нужно около "),
                  c.refused)
            << boxTexts()[0].toStdString();
        EXPECT_EQ(QDir(m).entryList(QDir::Files).size(), c.refused ? 0 : 6) << c.memory;
        EXPECT_EQ(started.size(), c.refused ? 0 : 1);
    }
}

TEST_F(AxialQuality, ResultButtonsFollowTheRunsAndAnyEdit)
{
    AxialQuality_wnd w;
    button(&w, "Button_def_side")->click();
    auto enabled = [&] {
        return QList<bool>({button(&w, "pushButton_4")->isEnabled(), button(&w, "pushButton_7")->isEnabled(),
                            button(&w, "pushButton_6")->isEnabled()});
    };
    button(&w, "pushButton")->click();
    EXPECT_EQ(enabled(), QList<bool>({true, false, false}));
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(enabled(), QList<bool>({true, true, true}));
    edit(&w, "lineEdit_20")->setText("0.6");
    EXPECT_EQ(enabled(), QList<bool>({false, false, false}));
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
    // The ready flags outlive the edit: one new run enables the combined result again.
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(enabled(), QList<bool>({true, true, true}));

    // A calculator that cannot be started is reported and enables nothing.
    edit(&w, "lineEdit_20")->setText("0.5");
    startResult = false;
    BoxRecorder::instance().clear();
    button(&w, "pushButton")->click();
    EXPECT_EQ(boxTexts(),
              QStringList({"Не удалось запустить программу расчета: " + dir.path() + "/main_max/Trovane.bat"}));
    EXPECT_EQ(enabled(), QList<bool>({false, false, false}));
}

TEST_F(AxialQuality, OpensFromThePlaneWindowAndGoesBackWithTheFieldRegion)
{
    using namespace shared;
    // Windows left behind may be freed: hold them by guarded pointers.
    QPointer<plane_ch_wnd> plane = new plane_ch_wnd();
    plane->SetFocusDefault();
    tabs(plane)->setCurrentIndex(1);
    button(plane, "Button_def_2")->click();
    plane->setGeometry(40, 50, 900, 700);
    plane->show();
    ASSERT_TRUE(button(plane, "pushButton_9")->isEnabled());
    button(plane, "pushButton_9")->click();

    QPointer<AxialQuality_wnd> q = testsupport::shownWindow<AxialQuality_wnd>();
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(!plane || !plane->isVisible());
    EXPECT_EQ(q->geometry(), QRect(QPoint(40, 50), QSize(900, 700).expandedTo(q->minimumSize())));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    // R = 12 cm: z from 6 to 18 in 241 points, 101 points across +-A/6.
    EXPECT_EQ(fieldColumn(q), QStringList({"6", "0.05", "0.0333", "0", "241", "51", "18", "1.665"}));
    EXPECT_TRUE(is_prodol);
    EXPECT_FALSE(is_scan);
    EXPECT_FALSE(is_foc);
    EXPECT_FALSE(button(q, "pushButton")->isEnabled());

    // Back: a new plane window on the axial tab with the edited field region.
    edit(q, "lineEdit_15")->setText("101");
    button(q, "pushButton_3")->click();
    EXPECT_TRUE(!q || !q->isVisible());
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    plane_ch_wnd *back = testsupport::shownWindow<plane_ch_wnd>();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(tabs(back)->currentIndex(), 1);
    EXPECT_EQ(edit(back, "lineEdit_8")->text(), QString("101"));
    EXPECT_EQ(edit(back, "lineEdit_14")->text(), QString("11"));
    EXPECT_TRUE(is_prodol);
    EXPECT_FALSE(is_poper);
    EXPECT_FALSE(testsupport::closeByUser(back)); // asks; the recorder answers No
    EXPECT_TRUE(back->isVisible());
    back->close();
}

TEST_F(AxialQuality, ClosingByTheUserAsksAndYesRemovesTheScanFiles)
{
    AxialQuality_wnd w;
    w.show();
    testsupport::writeAll(dir.file("side_max/side_maxes.txt"), "x");
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&w));
    EXPECT_TRUE(w.isVisible());
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    const int quits = testsupport::quitRequests();
    EXPECT_TRUE(testsupport::closeByUser(&w));
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(testsupport::quitRequests(), quits + 1);
    EXPECT_FALSE(QFile::exists(dir.file("side_max/side_maxes.txt")));
    EXPECT_EQ(BoxRecorder::instance().boxes().last().title, QString("Выход из приложения"));
}

// The shipped side_max/Trovane.bat runs the real kormax-calc on the default side-maxima regions of
// the example array: the calculator marks the job done and leaves one triplet per focus position.
TEST_F(AxialQuality, DefaultSideScanOfTheExampleArrayWithTheRealCalculator)
{
    using namespace shared;
    A = 0.17;
    R = 0.13f;
    rotv = 0.02;
    ASSERT_TRUE(build_list_of_elem(QString(KORMAX_APP_DIR) + "/Elements_Quist_Marvane.txt"));
    QFile::copy(QString(KORMAX_APP_DIR) + "/side_max/Trovane.bat", dir.file("side_max/Trovane.bat"));
    QFile::setPermissions(dir.file("side_max/Trovane.bat"),
                          QFile::permissions(dir.file("side_max/Trovane.bat")) | QFileDevice::ExeOwner);
    ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", dir.file("kormax-calc")));
    platform::setStartDetachedHandler([](const QString &program, const QStringList &args, const QString &workDir) {
        return QProcess::startDetached(program, args, workDir);
    });
    // The user presses OK once the calculator has finished.
    const QString marker = dir.file("side_max/calcdone");
    platform::setBoxHandler([marker](const platform::Box &box) {
        if (box.title == QString("Внимание!") && box.text.startsWith("Нажимте"))
            testsupport::waitForFile(marker, 300000);
        return BoxRecorder::instance().record(box);
    });

    AxialQuality_wnd w;
    button(&w, "Button_def_side")->click();
    button(&w, "pushButton_2")->click();
    ASSERT_TRUE(QFile::exists(marker)) << testsupport::readAll(dir.file("side_max/log.txt")).toStdString();
    const int nx = shared::Nx_G_qual_side, ny = shared::Ny_G_qual_side;
    EXPECT_EQ(nx, 25);
    EXPECT_EQ(ny, 11);
    const QByteArray bin = testsupport::readAll(shared::name_of_file_side_max_axial);
    ASSERT_EQ(bin.size(), (3 * nx * ny + 2) * 8);
    // Every quality value is a ratio of pressures: finite and not negative.
    const VDOUB3 v = read_from_file_main_max(shared::name_of_file_side_max_axial, nx, ny, true);
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            ASSERT_TRUE(std::isfinite(v[2][i][j]) && v[2][i][j] >= 0) << i << " " << j;
    // The positions are those of the focus-shift grid.
    EXPECT_NEAR(v[0][0][0], w.currentGrid()->Xmin, 1e-9);
    EXPECT_NEAR(v[0][nx - 1][0], w.currentGrid()->Xmax, 1e-9);
    EXPECT_NEAR(v[1][0][0], w.currentGrid()->Ymin, 1e-9);
    EXPECT_GT(read_maximum(dir.file("side_max/AbsField_YZ.txt")), 0);
}
