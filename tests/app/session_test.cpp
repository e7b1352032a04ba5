// Session files: a session saved and opened again gives the same file and the same job files (a
// field job and both scans), even after its element file is gone; every refused file and a failed
// save leave the current state and an earlier file alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "axialquality_wnd.h"
#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "plane_test_util.h"
#include "session_jobs.h"
#include "session_state.h"
#include "shared_params.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

class SessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        planetest::resetShared();
        sessionstate::qualityForms.clear();
        BoxRecorder::instance().clear();
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });
        testsupport::writeAll(dir.file("Elements_Quist_Marvane.txt"), "0 0\n3 4\n-5 2.5\n");
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        testsupport::installDefaultHooks();
    }
    // Answers the next file dialog with path.
    void answer(const QString &path)
    {
        platform::setFileDialogHandler([path](const platform::FileDialog &) { return path; });
    }
    static void click(QWidget *w, const char *name) { planetest::button(w, name)->click(); }
    // The job files of the three folders.
    QByteArray jobFiles() const
    {
        QByteArray all;
        for (const char *job : {"calc", "main_max", "side_max"})
            for (const char *f :
                 {"array.txt", "medium.txt", "array_elements.txt", "focus.txt", "grid_calc.txt", "grid_scan.txt"})
                if (QFile::exists(dir.file(QString(job) + "/" + f)))
                    all += QByteArray(job) + "/" + f + ":\n" + testsupport::readAll(dir.file(QString(job) + "/" + f));
        return all;
    }
    // The road of a user: the main window, the axial plane of the plane window, both scans of the
    // axial quality window, then the field of the plane; the session saved at the end. `open`
    // first opens that session in the main window (and then presses no default buttons).
    void road(const QString &open, const QString &saveAs)
    {
        MainWindow main;
        if (open.isEmpty()) {
            click(&main, "pushButton_5"); // example data
        } else {
            answer(open);
            click(&main, "pushButton_6");
        }
        click(&main, "pushButton_2"); // Continue
        if (open.isEmpty()) {
            plane_ch_wnd plane;
            planetest::tabs(&plane)->setCurrentIndex(1);
            click(&plane, "Button_def_2");
        }
        AxialQuality_wnd quality;
        quality.SetCalcData(shared::zminpr, shared::zmaxpr, shared::rpr, shared::phipr, shared::Nrpr, shared::Nzpr,
                            shared::drpr, shared::dzpr);
        if (open.isEmpty())
            click(&quality, "Button_def_main");
        click(&quality, "pushButton");   // main maxima
        click(&quality, "pushButton_2"); // side maxima
        click(&quality, "pushButton_3"); // back to the plane window, which comes back with its plane
        plane_ch_wnd plane;
        planetest::tabs(&plane)->setCurrentIndex(1);
        click(&plane, "pushButton_3"); // the field of the axial plane
        answer(saveAs);
        click(&plane, "pushButton_12");
        for (const auto &box : BoxRecorder::instance().boxes())
            EXPECT_NE(box.title, QString("Ошибка!")) << box.text.toStdString();
    }

    testsupport::TempAppDir dir;
};

TEST_F(SessionTest, ReopenedSessionWritesTheSameJobFilesAndSavesTheSameFile)
{
    road(QString(), dir.file("first.kormax"));
    const QByteArray original = jobFiles();
    ASSERT_TRUE(original.contains("main_max/grid_scan.txt") && original.contains("side_max/grid_calc.txt"));
    ASSERT_TRUE(QFile::exists(dir.file("first.kormax")));

    // Another day: nothing of the first run left, the element file gone.
    for (const char *job : {"calc", "main_max", "side_max"})
        QDir(dir.file(job)).removeRecursively(), QDir(dir.path()).mkdir(job);
    QFile::remove(dir.file("Elements_Quist_Marvane.txt"));
    planetest::resetShared();
    sessionstate::qualityForms.clear();
    BoxRecorder::instance().clear();

    road(dir.file("first.kormax"), dir.file("second.kormax"));
    EXPECT_EQ(jobFiles(), original);

    // Without the windows: the job files of each kind from the session, and the calculator run on
    // the field job of the session file in a folder of its own.
    session::Session s;
    QString error;
    ASSERT_TRUE(session::load(dir.file("first.kormax"), &s, &error)) << error.toStdString();
    QByteArray headless;
    for (const char *kind : {"field", "main_max", "side_max"}) {
        QList<jobfiles::JobFile> files;
        ASSERT_TRUE(sessionjobs::jobFiles(s, kind, &files, &error)) << error.toStdString();
        for (const char *name :
             {"array.txt", "medium.txt", "array_elements.txt", "focus.txt", "grid_calc.txt", "grid_scan.txt"})
            for (const jobfiles::JobFile &f : files)
                if (f.name == name)
                    headless += (QString(kind) == "field" ? QByteArray("calc") : QByteArray(kind)) + "/" + name + ":\n"
                                + f.bytes;
    }
    EXPECT_EQ(headless, original);
    QProcess calc;
    calc.start(KORMAX_APP_DIR "/kormax-calc",
               {dir.file("first.kormax"), "field", "--out", dir.file("batch"), "--no-gui"});
    ASSERT_TRUE(calc.waitForFinished(120000));
    EXPECT_EQ(calc.exitCode(), 0) << calc.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("batch/calcdone")));
    EXPECT_EQ(testsupport::readAll(dir.file("batch/grid_calc.txt")),
              testsupport::readAll(dir.file("calc/grid_calc.txt")));
    EXPECT_TRUE(QFile::exists(dir.file("batch/AbsField_YZ.txt")));

    // Save -> open -> save: the same file.
    MainWindow main;
    answer(dir.file("second.kormax"));
    click(&main, "pushButton_6");
    answer(dir.file("third.kormax"));
    click(&main, "pushButton_7");
    EXPECT_EQ(testsupport::readAll(dir.file("third.kormax")), testsupport::readAll(dir.file("second.kormax")));
}

TEST_F(SessionTest, RefusedFilesLeaveTheSessionAndTheFormAlone)
{
    session::Session good = sessionstate::capture();
    good.aperture = 0.17;
    good.curvatureRadius = 0.13;
    good.pressure = 1e5;
    const QByteArray json = session::toJson(good, "Kormax test");
    session::Session noElements = good, tooWide = good;
    noElements.elements.clear();
    tooWide.aperture = 0.3; // wider than twice the curvature radius
    const struct {
        const char *name;
        QByteArray bytes;
        const char *says;
    } cases[] = {
        {"newer", QByteArray(json).replace("\"version\": 1", "\"version\": 2"), "более новой версией"},
        {"damaged", json.left(json.size() / 2), "поврежден"},
        {"foreign", "{\"array\": {}}", "не является файлом сеанса"},
        {"incomplete", QByteArray(json).replace("\"aperture_m\"", "\"apertura\""), "aperture_m"},
        {"no elements", session::toJson(noElements, "Kormax test"), "Ошибка при чтении массива элементов"},
        {"too wide", session::toJson(tooWide, "Kormax test"), "Радиус решетки превышает радиус кривизны"},
    };
    MainWindow main;
    planetest::edit(&main, "lineEdit")->setText("12");
    const QByteArray before = session::toJson(sessionstate::capture(), "");
    for (const auto &c : cases) {
        BoxRecorder::instance().clear();
        testsupport::writeAll(dir.file("bad.kormax"), c.bytes);
        answer(dir.file("bad.kormax"));
        click(&main, "pushButton_6");
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1) << c.name;
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!")) << c.name;
        EXPECT_TRUE(BoxRecorder::instance().boxes()[0].text.contains(QString::fromUtf8(c.says))) << c.name;
        EXPECT_EQ(session::toJson(sessionstate::capture(), ""), before) << c.name;
        EXPECT_EQ(planetest::edit(&main, "lineEdit")->text(), QString("12")) << c.name;
    }
}

TEST_F(SessionTest, AFailedSaveIsReportedAndKeepsTheEarlierFile)
{
    shared::A = 0.17;
    // The temporary file beside a 250-character name is too long a name: the save fails after the
    // old file was found, and must leave it as it was.
    const QString longName = dir.file(QString(245, 'a') + ".kormax");
    testsupport::writeAll(longName, "old");
    for (const QString &path : {longName, dir.file("missing/s.kormax")}) {
        BoxRecorder::instance().clear();
        answer(path);
        sessionstate::saveAs(nullptr);
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    }
    EXPECT_EQ(testsupport::readAll(longName), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(dir.file("missing/s.kormax")));
}

} // namespace
