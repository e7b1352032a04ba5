// kormax-calc volume and heating: a small job runs to its result files and calcdone; every bad input
// is refused before computing with a message naming what to change, and publishes nothing.
#include <cmath>

#include <gtest/gtest.h>

#include "../JobFolder.h"
#include "geometry/ArrayLayout.h"
#include "output/ResultFiles.h"

using namespace kcalc;
using namespace testjob;

namespace {

JobDescription liverJob()
{
    JobDescription s;
    s.array = exampleArray();
    s.array.elements = randomLayout(s.array, 32, 4);
    s.medium = water();
    s.medium.density = 1079;
    s.medium.soundSpeed = 1595;
    s.medium.heatCapacity = 3540;
    s.medium.absorption_dB_cm_MHz = 0.5;
    s.focus = {0, 0, 0.13};
    return s;
}

HeatingSettings settings()
{
    HeatingSettings h;
    h.sourcePressure = 1e6;
    h.sonication.heatingTime = 2;
    h.sonication.coolingTime = 1;
    h.sonication.doseStep = 0.1;
    h.conductivity = 0.52;
    h.perfusion = 16;
    h.bloodHeatCapacity = 3617;
    h.plane = PlaneKind::Transverse;
    h.planeFixed = 0.13;
    return h;
}

void writeHeatingJob(const std::string &dir, const JobDescription &s, const VolumeGrid &box, const HeatingSettings &h)
{
    writeJob(dir, s);
    writeFile(dir + "/grid_volume.txt", volumeGridText(box));
    writeFile(dir + "/heating.txt", heatingSettingsText(h));
}

VolumeGrid smallBox(const Point3 &focus)
{
    return centredVolume(focus, 15, 15, 17, 0.4e-3, 0.4e-3, 0.8e-3);
}

} // namespace

TEST(HeatingProgram, VolumeAndHeatingJobsWriteTheirResultsThenCalcdone)
{
    TempDir dir;
    const JobDescription s = liverJob();
    writeHeatingJob(dir.path(), s, smallBox(s.focus), settings());
    ASSERT_EQ(runCalculator(dir.path(), "volume --no-gui"), 0) << readFile(dir.file("log.txt"));
    EXPECT_TRUE(exists(dir.file("calcdone")));
    const std::string volume = readFile(dir.file("AbsField_XYZ.bin"));
    const std::size_t head = volume.find('\n') + 1;
    EXPECT_EQ(volume.compare(0, 17, "kormax-volume 15 "), 0);
    EXPECT_EQ(volume.size() - head, 15u * 15 * 17 * sizeof(double));

    ASSERT_EQ(runCalculator(dir.path(), "heating --no-gui"), 0) << readFile(dir.file("log.txt"));
    EXPECT_TRUE(exists(dir.file("calcdone")));
    HeatingSummary summary;
    std::string missing;
    ASSERT_TRUE(parseHeatingSummary(readFile(dir.file("Heating_summary.txt")), summary, &missing)) << missing;
    EXPECT_GT(summary.peakTemperature, 40);
    EXPECT_NEAR(summary.peakZ, 0.13, 3e-3);
    std::vector<double> t, T;
    ASSERT_TRUE(parseFocusCurve(readFile(dir.file("Heating_focus.txt")), t, T));
    EXPECT_EQ(t.size(), 31u);
    // The map in the AbsField_XY.txt layout: a seven-number header and 15 x 15 records.
    EXPECT_EQ(readNumbers(dir.file("Heating_T_XY.txt")).size(), 7u + 3 * 15 * 15);
    EXPECT_EQ(readNumbers(dir.file("Heating_dose_XY.txt")).size(), 7u + 3 * 15 * 15);
}

TEST(HeatingProgram, BadInputIsRefusedBeforeComputingAndPublishesNothing)
{
    struct Case {
        const char *name;
        void (*spoil)(JobDescription &, VolumeGrid &, HeatingSettings &);
        const char *message; // part of the log's error
    };
    const Case cases[] = {
        {"water", [](JobDescription &s, VolumeGrid &, HeatingSettings &) { s.medium.absorption_dB_cm_MHz = 0; },
         "без поглощения"},
        {"negative conductivity", [](JobDescription &, VolumeGrid &, HeatingSettings &h) { h.conductivity = -0.5; },
         "строка 5"},
        {"negative perfusion", [](JobDescription &, VolumeGrid &, HeatingSettings &h) { h.perfusion = -1; },
         "строка 6"},
        {"non-finite pressure", [](JobDescription &, VolumeGrid &, HeatingSettings &h) { h.sourcePressure = NAN; },
         "heating.txt"},
        {"zero heat capacity", [](JobDescription &s, VolumeGrid &, HeatingSettings &) { s.medium.heatCapacity = 0; },
         "теплоемкость"},
        {"box too large", [](JobDescription &, VolumeGrid &b, HeatingSettings &) { b.nx = b.ny = b.nz = 100000; },
         "МиБ"},
        {"too many dose steps",
         [](JobDescription &, VolumeGrid &, HeatingSettings &h) { h.sonication.doseStep = 1e-6; }, "Увеличьте шаг"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        JobDescription s = liverJob();
        VolumeGrid box = smallBox(s.focus);
        HeatingSettings h = settings();
        c.spoil(s, box, h);
        writeHeatingJob(dir.path(), s, box, h);
        EXPECT_EQ(runCalculator(dir.path(), "heating --no-gui"), 1);
        EXPECT_FALSE(exists(dir.file("calcdone")));
        EXPECT_FALSE(exists(dir.file("Heating_summary.txt")));
        const std::string log = readFile(dir.file("log.txt"));
        EXPECT_NE(log.find(c.message), std::string::npos) << log;
        EXPECT_EQ(log.find("Расчет: "), std::string::npos) << "refused only after computing began";
    }
}
