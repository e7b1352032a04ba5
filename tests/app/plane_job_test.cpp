#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "field_job.h"
#include "job_files.h"
#include "plane_ch_wnd.h"
#include "plane_test_util.h"
#include "result_windows.h"
#include "test_support.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

// A calculator stand-in that notes whether the marker was there when it started and where it ran,
// then writes a result and the marker.
const QByteArray writingCalculator = "if [ -e calcdone ]; then echo present > marker_at_start; "
                                     "else echo absent > marker_at_start; fi\n"
                                     "pwd > workdir\n"
                                     // the header of the plane in grid_calc.txt
                                     "awk '{v[NR] = $1} END {print v[5], v[7], v[5] + (v[3] - 1) * v[7], "
                                     "v[6], v[8], v[6] + (v[4] - 1) * v[8], 1}' grid_calc.txt > AbsField_XY.txt\n"
                                     ": > calcdone\n";
// One that fails without writing anything.
const QByteArray silentCalculator = "exit 1\n";

class FieldJob : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetShared();
        BoxRecorder::instance().clear();
        // Really start the batch file, as the application does.
        platform::setStartDetachedHandler(
            [this](const QString &program, const QStringList &args, const QString &workDir) {
                ++starts;
                return QProcess::startDetached(program, args, workDir);
            });
    }
    void TearDown() override { testsupport::installDefaultHooks(); }

    // Answers the "Внимание!" box like a user who waits until the calculator has finished;
    // notes the result buttons' state while the box is open.
    void answerWaitBoxAfterCalculator(plane_ch_wnd *w, const QString &marker)
    {
        platform::setBoxHandler([=](const platform::Box &box) {
            if (box.title == QString("Внимание!")) {
                resultEnabledDuringWait =
                    button(w, "pushButton_6")->isEnabled() || button(w, "pushButton_5")->isEnabled();
                if (!marker.isEmpty())
                    testsupport::waitForFile(marker, 10000);
            }
            return BoxRecorder::instance().record(box);
        });
    }

    QStringList titles() const
    {
        QStringList list;
        for (const auto &b : BoxRecorder::instance().boxes())
            list << b.title;
        return list;
    }

    testsupport::TempAppDir dir;
    int starts = 0;
    bool resultEnabledDuringWait = true;
};

} // namespace

TEST_F(FieldJob, TransverseRunRemovesTheMarkerStartsTheCalculatorAndWaitsForOk)
{
    dir.writeScript("calc/calc.bat", writingCalculator);
    testsupport::writeAll(dir.file("calc/calcdone"), "earlier run");
    plane_ch_wnd w;
    fillTransverse(&w);
    answerWaitBoxAfterCalculator(&w, dir.file("calc/calcdone"));
    ASSERT_TRUE(button(&w, "pushButton_4")->isEnabled());
    button(&w, "pushButton_4")->click();

    EXPECT_EQ(starts, 1);
    EXPECT_EQ(titles(), QStringList({"Внимание!"}));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString("Нажимте ОК по окончании работы программы расчета"));
    EXPECT_FALSE(resultEnabledDuringWait);
    EXPECT_TRUE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_EQ(testsupport::readAll(dir.file("calc/marker_at_start")), QByteArray("absent\n"));
    EXPECT_EQ(QDir(QString(testsupport::readAll(dir.file("calc/workdir"))).trimmed()).canonicalPath(),
              QDir(dir.file("calc")).canonicalPath());

    // The job the calculator was given.
    EXPECT_EQ(testsupport::readAll(dir.file("calc/grid_calc.txt")),
              QByteArray("xy\n0.13\n49\n49\n-0.024\n-0.024\n0.001\n0.001"));
    EXPECT_EQ(testsupport::readAll(dir.file("calc/focus.txt")), QByteArray("0\n0\n0.13"));
    EXPECT_EQ(testsupport::readAll(dir.file("calc/array_elements.txt")), QByteArray("0.01 -0.02\n-0.01 0\n"));
    EXPECT_EQ(testsupport::readAll(dir.file("calc/array.txt")), jobfiles::arrayText(0.1, 0.13f, 0.0035, 1e6, 0.01));
    EXPECT_EQ(shared::file_to_calc, dir.path() + "/calc/AbsField_XY.txt");

    // The run's grid.
    const Grid *g = w.currentGrid().get();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Nx, 49);
    EXPECT_EQ(g->Ny, 49);
    EXPECT_DOUBLE_EQ(g->dX, 0.001);
    EXPECT_NEAR(g->Xmin, -0.024, 1e-15);
    EXPECT_NEAR(g->Xmax, 0.024, 1e-15);
    EXPECT_NEAR(g->Ymax, 0.024, 1e-15);
    EXPECT_EQ(shared::Nx_G, 49);
    EXPECT_EQ(shared::Ny_G, 49);

    // The calculator finished: the result button passes its completion check.
    BoxRecorder::instance().clear();
    testsupport::installDefaultHooks();
    button(&w, "pushButton_6")->click();
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    EXPECT_TRUE(shared::is_dl_press);

    // A result whose header describes another plane is refused, not drawn.
    const QByteArray written = testsupport::readAll(dir.file("calc/AbsField_XY.txt"));
    testsupport::writeAll(dir.file("calc/AbsField_XY.txt"), "-0.35 0.001 0.35 -0.024 0.001 0.024 1\n");
    button(&w, "pushButton_6")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    EXPECT_TRUE(BoxRecorder::instance().boxes()[0].text.contains("701 x 49 точек вместо 49 x 49"))
        << written.constData();

    // The result window opened from the first run's grid keeps it alive through a second run; the
    // grid goes with the last window that uses it.
    const std::weak_ptr<const Grid> first = w.currentGrid();
    const QList<Result_wnd *> opened = testsupport::openResultWindows();
    ASSERT_EQ(opened.size(), 1);
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });
    button(&w, "pushButton_4")->click();
    ASSERT_FALSE(first.expired());
    EXPECT_NE(w.currentGrid(), first.lock());
    EXPECT_EQ(first.lock()->Nx, 49);
    delete opened[0];
    EXPECT_TRUE(first.expired());
}

TEST_F(FieldJob, AxialRunWritesTheTurnedPlaneAndItsGrid)
{
    dir.writeScript("calc/calc.bat", writingCalculator);
    plane_ch_wnd w;
    tabs(&w)->setCurrentIndex(1);
    fillAxial(&w);
    answerWaitBoxAfterCalculator(&w, dir.file("calc/calcdone"));
    button(&w, "pushButton_3")->click();

    EXPECT_EQ(starts, 1);
    EXPECT_EQ(titles(), QStringList({"Внимание!"}));
    EXPECT_FALSE(resultEnabledDuringWait);
    EXPECT_TRUE(button(&w, "pushButton_5")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_EQ(testsupport::readAll(dir.file("calc/grid_calc.txt")),
              QByteArray("yz\n0\n11\n11\n-0.01\n0.05\n0.002\n0.01"));
    EXPECT_EQ(testsupport::readAll(dir.file("calc/focus.txt")), QByteArray("1.7949e-11\n0.01\n0.08"));
    EXPECT_EQ(testsupport::readAll(dir.file("calc/array_elements.txt")), QByteArray("0.02 0.01\n-1.7949e-11 -0.01\n"));
    EXPECT_EQ(shared::file_to_calc, dir.path() + "/calc/AbsField_YZ.txt");
    const Grid *g = w.currentGrid().get();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Nx, 11);
    EXPECT_EQ(g->Ny, 11);
    EXPECT_DOUBLE_EQ(g->dX, 0.01);
    EXPECT_DOUBLE_EQ(g->dY, 0.002);
    EXPECT_NEAR(g->Xmin, 0.05, 1e-15);
    EXPECT_NEAR(g->Xmax, 0.15, 1e-15);
    EXPECT_NEAR(g->Ymin, -0.01, 1e-15);
    EXPECT_EQ(shared::Nx_G, 11);
    EXPECT_EQ(shared::Ny_G, 11);
}

TEST_F(FieldJob, CalculatorThatWritesNothingFailsTheCompletionCheck)
{
    dir.writeScript("calc/calc.bat", silentCalculator);
    // Results and marker of an earlier run.
    testsupport::writeAll(dir.file("calc/AbsField_XY.txt"), "0 0 0 0 0 0 1");
    testsupport::writeAll(dir.file("calc/calcdone"), "");
    plane_ch_wnd w;
    fillTransverse(&w);
    button(&w, "pushButton_4")->click();
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(QFile::exists(dir.file("calc/calcdone")));
    ASSERT_TRUE(button(&w, "pushButton_6")->isEnabled());

    BoxRecorder::instance().clear();
    button(&w, "pushButton_6")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString("Расчет поля не был произведен. Повторите расчет."));
}

TEST_F(FieldJob, ChecksComeInOrderAndAStoppedRunLeavesTheEarlierMarker)
{
    using namespace shared;
    testsupport::writeAll(dir.file("calc/calcdone"), "");
    is_poper = true;
    Nxp = 1;
    Nyp = 1;
    dxp = 0;
    dyp = 0;
    const char *transverse[] = {"Область не может быть задана менее, чем двумя точками по x",
                                "Область не может быть задана менее, чем двумя точками по y",
                                "Невозможен нулевой шаг по x!", "Невозможен нулевой шаг по y!"};
    for (int i = 0; i < 4; ++i) {
        BoxRecorder::instance().clear();
        EXPECT_FALSE(fieldjob::run(nullptr, false));
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString(transverse[i]));
        // Correct one value at a time to reach the next check.
        double *next[] = {&Nxp, &Nyp, &dxp, &dyp};
        *next[i] = i < 2 ? 2 : 0.001;
    }
    EXPECT_EQ(fieldjob::checkPlane(false), QString());

    is_poper = false;
    is_prodol = true;
    Nrpr = 0;
    Nzpr = 1;
    drpr = 0;
    dzpr = 0;
    const char *axial[] = {"Область не может быть задана менее, чем двумя точками по r",
                           "Область не может быть задана менее, чем двумя точками по z", "Невозможен нулевой шаг по r!",
                           "Невозможен нулевой шаг по z!"};
    for (int i = 0; i < 4; ++i) {
        BoxRecorder::instance().clear();
        EXPECT_FALSE(fieldjob::run(nullptr, true));
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString(axial[i]));
        double *next[] = {&Nrpr, &Nzpr, &drpr, &dzpr};
        *next[i] = i < 2 ? 3 : 0.002;
    }
    // The checks are those of the pressed button's tab, not of the written plane.
    Nxp = 1;
    EXPECT_EQ(fieldjob::checkPlane(true), QString());

    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(QFile::exists(dir.file("calc/calcdone")));
    // The files written before the checks stay.
    EXPECT_TRUE(testsupport::readAll(dir.file("calc/grid_calc.txt")).startsWith("yz\n"));
    EXPECT_EQ(file_to_calc, dir.path() + "/calc/AbsField_YZ.txt");
}

TEST_F(FieldJob, RejectedPlaneInTheWindowShowsOnlyItsMessage)
{
    dir.writeScript("calc/calc.bat", writingCalculator);
    testsupport::writeAll(dir.file("calc/calcdone"), "");
    plane_ch_wnd w;
    fillTransverse(&w);
    edit(&w, "lineEdit_3")->setText("0.");
    button(&w, "pushButton_4")->click();
    EXPECT_EQ(BoxRecorder::instance().texts(), QStringList({"Невозможен нулевой шаг по y!"}));
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(QFile::exists(dir.file("calc/calcdone")));
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_EQ(w.currentGrid(), nullptr);
}

TEST_F(FieldJob, JobFileThatCannotBeWrittenStopsTheRun)
{
    plane_ch_wnd w;
    fillTransverse(&w);
    QDir(dir.file("calc")).removeRecursively();
    button(&w, "pushButton_4")->click();
    EXPECT_EQ(titles(), QStringList({"Ошибка!"}));
    EXPECT_EQ(BoxRecorder::instance().texts(),
              QStringList({"Не удалось записать файл задания: " + dir.path() + "/calc/array.txt"}));
    EXPECT_EQ(starts, 0);
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_EQ(w.currentGrid(), nullptr);

    // A file in the middle of the job: the run stops there.
    QDir(dir.path()).mkpath("calc/focus.txt");
    dir.writeScript("calc/calc.bat", writingCalculator);
    testsupport::writeAll(dir.file("calc/calcdone"), "");
    BoxRecorder::instance().clear();
    button(&w, "pushButton_4")->click();
    EXPECT_EQ(BoxRecorder::instance().texts(),
              QStringList({"Не удалось записать файл задания: " + dir.path() + "/calc/focus.txt"}));
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(QFile::exists(dir.file("calc/calcdone")));
    EXPECT_FALSE(QFile::exists(dir.file("calc/grid_calc.txt")));
    EXPECT_TRUE(shared::file_to_calc.isEmpty());
}

TEST_F(FieldJob, BatchFileThatCannotBeStartedIsReported)
{
    // No calc.bat in the job folder.
    plane_ch_wnd w;
    fillTransverse(&w);
    button(&w, "pushButton_4")->click();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(titles(), QStringList({"Ошибка!"}));
    EXPECT_EQ(BoxRecorder::instance().texts(),
              QStringList({"Не удалось запустить программу расчета: " + dir.path() + "/calc/calc.bat"}));
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_EQ(w.currentGrid(), nullptr);
    EXPECT_EQ(shared::Nx_G, 0);
}

TEST_F(FieldJob, TheShippedCalculatorReadsTheJobAndWritesTheField)
{
    // The job folder as installed: the shipped batch file beside the real calculator.
    QFile::copy(QString(KORMAX_APP_DIR) + "/calc/calc.bat", dir.file("calc/calc.bat"));
    QFile::setPermissions(dir.file("calc/calc.bat"),
                          QFile::permissions(dir.file("calc/calc.bat")) | QFileDevice::ExeOwner);
    ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", dir.file("kormax-calc")));

    for (const bool axial : {false, true}) {
        plane_ch_wnd w;
        if (axial) {
            tabs(&w)->setCurrentIndex(1);
            fillAxial(&w);
        } else {
            fillTransverse(&w);
        }
        answerWaitBoxAfterCalculator(&w, dir.file("calc/calcdone"));
        button(&w, axial ? "pushButton_3" : "pushButton_4")->click();
        testsupport::installDefaultHooks();
        ASSERT_TRUE(QFile::exists(dir.file("calc/calcdone")))
            << testsupport::readAll(dir.file("calc/log.txt")).toStdString();

        // Seven header numbers and one record of three numbers per grid point.
        const QString result = dir.file(axial ? "calc/AbsField_YZ.txt" : "calc/AbsField_XY.txt");
        EXPECT_EQ(shared::file_to_calc, result);
        const QList<QByteArray> numbers = testsupport::readAll(result).simplified().split(' ');
        EXPECT_EQ(numbers.size(), 7 + 3 * shared::Nx_G * shared::Ny_G) << (axial ? "yz" : "xy");

        BoxRecorder::instance().clear();
        button(&w, axial ? "pushButton_5" : "pushButton_6")->click();
        EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
        platform::setStartDetachedHandler([](const QString &program, const QStringList &args, const QString &workDir) {
            return QProcess::startDetached(program, args, workDir);
        });
    }
}
