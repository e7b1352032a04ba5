// The job folders as the application writes them for the example array, byte for byte: the field
// job of either plane, the four quality scans (axial and transverse, main and side maxima) and the
// heating job of the axial plane in liver.
// The reference files under tests/data/jobs/ were written by the application before the job
// files had a library of their own; any change of a label, a number's form or a line end shows.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <functional>
#include <memory>

#include "axialquality_wnd.h"
#include "field_job.h"
#include "job_files.h"
#include "heating_job.h"
#include "media.h"
#include "platform.h"
#include "radialquality_wnd.h"
#include "scan_jobs.h"
#include "shared_params.h"
#include "test_support.h"

namespace {

// The example array of the main window with its element file, both planes of the plane window's
// defaults, the focus off the axis and the axial plane turned, so that the turn shows.
void setExample()
{
    using namespace shared;
    ASSERT_TRUE(testsupport::setExampleArray());
    xF = 0.005;
    yF = -0.003;
    zF = R;
    zop = R;
    Nxp = Nyp = 51;
    dxp = dyp = A / 2 / 3 / (Nxp - 1);
    rxp = (Nxp - 1) * dxp;
    ryp = (Nyp - 1) * dyp;
    zminpr = R / 2;
    phipr = 30;
    Nrpr = 51;
    Nzpr = 241;
    dzpr = R / (Nzpr - 1);
    drpr = A / 2 / 3 / (Nrpr - 1);
    rpr = (Nrpr - 1) * drpr;
    zmaxpr = zminpr + (Nzpr - 1) * dzpr;
}

void fieldJob(bool axial)
{
    shared::is_poper = !axial;
    shared::is_prodol = axial;
    fieldjob::run(nullptr, axial);
}

// Both scans of a quality window with its default regions; or the same jobs written without the window.
template <class Window> void scans(const char *mainDefaults, const char *sideDefaults)
{
    auto w = std::make_unique<Window>();
    auto click = [&w](const char *name) { w->template findChild<QPushButton *>(name)->click(); };
    click(mainDefaults);
    click("pushButton");
    click(sideDefaults);
    click("pushButton_2");
}

void scansWithoutWindow(bool axial)
{
    for (const bool side : {false, true}) {
        QString failed;
        EXPECT_TRUE(jobfiles::writeFiles(jobfiles::kindFolder(side ? "side_max" : "main_max"),
                                         scanjob::jobFiles(axial, scanjob::defaultFieldTexts(axial, side)), &failed))
            << qPrintable(failed);
    }
}

// The heating job of the axial plane in liver, sonication given by its acoustic power.
void heatingJob()
{
    using namespace shared;
    const media::Medium &liver = media::preset(2);
    medium = 2;
    ro = liver.density;
    c = liver.soundSpeed;
    pvs = float(liver.absorption);
    const heatingjob::Plane plane{true, zop, phipr, xF, yF, zF};
    const heatingjob::Sonication sonication{true, 40, 8, 12, 240};
    QString failed;
    ASSERT_TRUE(jobfiles::writeFiles(heatingjob::folder(), heatingjob::files(plane, sonication), &failed))
        << qPrintable(failed);
}

struct Case {
    const char *name;
    const char *reference; // folder under tests/data/jobs/
    std::function<void()> write;
};

class JobBytes : public ::testing::TestWithParam<Case>
{};

TEST_P(JobBytes, FilesMatchTheReference)
{
    testsupport::TempAppDir app;
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return true; });
    setExample();
    GetParam().write();
    platform::setStartDetachedHandler([](const QString &, const QStringList &, const QString &) { return false; });

    const QDir reference(QString(KORMAX_TEST_DATA_DIR) + "/jobs/" + GetParam().reference);
    const QStringList folders = reference.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(folders.isEmpty()) << qPrintable(reference.path());
    for (const QString &folder : folders) {
        const QStringList expected = QDir(reference.filePath(folder)).entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(QDir(app.file(folder)).entryList(QDir::Files, QDir::Name), expected) << qPrintable(folder);
        for (const QString &file : expected)
            EXPECT_EQ(testsupport::readAll(app.file(folder + "/" + file)),
                      testsupport::readAll(reference.filePath(folder + "/" + file)))
                << qPrintable(folder + "/" + file);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Example, JobBytes,
    ::testing::Values(
        Case{"field_transverse", "field_transverse", [] { fieldJob(false); }},
        Case{"field_axial", "field_axial", [] { fieldJob(true); }},
        Case{"scans_axial", "scans_axial", [] { scans<AxialQuality_wnd>("Button_def_main", "Button_def_side"); }},
        Case{"scans_transverse", "scans_transverse", [] { scans<RadialQuality_wnd>("Button_def", "Button_def_2"); }},
        Case{"scans_axial_without_window", "scans_axial", [] { scansWithoutWindow(true); }},
        Case{"scans_transverse_without_window", "scans_transverse", [] { scansWithoutWindow(false); }},
        Case{"heating_axial", "heating_axial", heatingJob}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

} // namespace
