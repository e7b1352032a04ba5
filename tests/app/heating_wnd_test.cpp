// The heating window with the real calculator: the example array steered on its focus in liver,
// a sonication by acoustic power, the shipped batch file running kormax-calc heating. The window
// must report a lesion with its length and width. And the field result window offers the heating
// only in an absorbing medium. With KORMAX_SCREENSHOT_DIR set the window is saved there.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QImage>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "build_list_of_elem.h"
#include "field_fixture.h"
#include "heating_wnd.h"
#include "main_params.h"
#include "media.h"
#include "plane_test_util.h"
#include "result_wnd.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

void useLiver()
{
    const media::Medium &liver = media::preset(2);
    shared::medium = 2;
    shared::ro = liver.density;
    shared::c = liver.soundSpeed;
    shared::pvs = float(liver.absorption);
}

class HeatingWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        planetest::resetShared();
        mainparams::setExampleArray();
        ASSERT_TRUE(build_list_of_elem(QString(KORMAX_APP_DIR) + "/Elements_Quist_Marvane.txt"));
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
    }
    void TearDown() override
    {
        testsupport::installDefaultHooks();
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
    }
    testsupport::TempAppDir app;
};

} // namespace

TEST_F(HeatingWindow, ExampleArrayInLiverMakesALesionWhoseSizeIsReported)
{
    useLiver();
    shared::initpres = 250000; // the example's, shown beside the unused pressure choice
    ASSERT_EQ(std::string(media::preset(2).fileName), "Liver");
    // The job folder as installed: the shipped batch file beside the real calculator.
    ASSERT_TRUE(QFile::copy(QString(KORMAX_APP_DIR) + "/heat/heat.bat", app.file("heat/heat.bat")));
    QFile::setPermissions(app.file("heat/heat.bat"),
                          QFile::permissions(app.file("heat/heat.bat")) | QFileDevice::ExeOwner);
    ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", app.file("kormax-calc")));
    platform::setStartDetachedHandler([](const QString &program, const QStringList &args, const QString &workDir) {
        return QProcess::startDetached(program, args, workDir);
    });
    // The user presses OK once the calculator has finished (its marker, or its log's last word).
    const QString marker = app.file("heat/calcdone"), log = app.file("heat/log.txt");
    platform::setBoxHandler([marker](const platform::Box &box) {
        if (box.title == QString("Внимание!"))
            testsupport::waitForFile(marker, 180000);
        return BoxRecorder::instance().record(box);
    });

    heatingjob::Plane plane;
    plane.zop = plane.zF = shared::R;
    HeatingWnd w(plane);
    w.show();
    w.findChild<QRadioButton *>("radioButton_2")->click();
    w.findChild<QLineEdit *>("lineEdit_power")->setText("100.");
    w.findChild<QLineEdit *>("lineEdit_heat")->setText("5.");
    w.findChild<QLineEdit *>("lineEdit_cool")->setText("5.");
    w.findChild<QPushButton *>("pushButton_calc")->click();

    ASSERT_TRUE(w.hasResults()) << BoxRecorder::instance().texts().join("\n").toStdString()
                                << testsupport::readAll(log).toStdString();
    // medium.txt carries the liver's heat capacity, not the lossless default.
    EXPECT_TRUE(testsupport::readAll(app.file("heat/medium.txt")).contains("3540"));
    const kjobs::HeatingSummary &s = w.results().summary;
    EXPECT_TRUE(s.lesion);
    // A focused lesion: millimetres long, longer along the axis than across it, at the focus.
    EXPECT_GT(s.lesionLength, 1e-3);
    EXPECT_GT(s.lesionLength, std::max(s.lesionWidthX, s.lesionWidthY));
    EXPECT_GT(s.lesionWidthX, 0.3e-3);
    EXPECT_NEAR(s.peakZ, 0.13, 5e-3);
    EXPECT_GT(s.peakTemperature, 55);
    EXPECT_LT(s.outsideTemperature, s.peakTemperature);
    const QString readings = w.findChild<QLabel *>("label_readings")->text();
    EXPECT_TRUE(readings.contains("Очаг (доза не менее 240 CEM43 мин): длина ")) << readings.toStdString();
    // Liver's measured 100 ml/(min 100 g): 1e-3 m^3/(min kg) x 1050 kg/m^3 blood x 1060 kg/m^3 / 60 s.
    EXPECT_TRUE(readings.contains("Среда: печень; теплоемкость 3540 Дж/(кг·К), теплопроводность 0.52 Вт/(м·К), "
                                  "перфузия 18.55 кг/(м³·с)"))
        << readings.toStdString();
    // 5 s on and 5 s off in steps of 0.1 s; hottest at the end of heating.
    ASSERT_EQ(w.results().times.size(), 101u);
    const auto &T = w.results().focusTemperature;
    EXPECT_EQ(std::max_element(T.begin(), T.end()) - T.begin(), 50);
    EXPECT_TRUE(w.findChild<QPushButton *>("pushButton_save_map")->isEnabled());

    // With KORMAX_SCREENSHOT_DIR set the window is saved there (the manual's picture).
    const QString dir = qEnvironmentVariable("KORMAX_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(w.grab().toImage().save(dir + "/heating.png"));
    }
}

TEST_F(HeatingWindow, FieldResultOffersHeatingOnlyInAnAbsorbingMedium)
{
    fieldfixture::setTransverseRun(app.path(), 3, 3, 0.001, 0.001, 0.13);
    fieldfixture::writeTransverse(app.file("calc/AbsField_XY.txt"), 5, 5, 0.001, 0.001,
                                  [](double x, double y) { return 1 - x * x - y * y; });
    for (int preset : {media::water, 2}) {
        Result_wnd *w = openFieldResult(nullptr, false, 0, 0, 13);
        w->SetMedium(preset, media::preset(preset).absorption);
        QPushButton *heating = w->findChild<QPushButton *>("pushButton_heating");
        ASSERT_NE(heating, nullptr);
        EXPECT_EQ(heating->isEnabled(), preset != media::water);
        EXPECT_EQ(heating->toolTip().contains("поглощения"), preset == media::water);
        w->close();
        delete w;
    }
}
