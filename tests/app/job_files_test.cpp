#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextStream>
#include <cmath>

#include "JobProtocol.h"
#include "job_files.h"
#include "params/JobError.h"
#include "params/JobInput.h"
#include "main_params.h"
#include "rotate.h"
#include "shared_params.h"
#include "test_support.h"

namespace {
// Job files are Windows-1251 text: the expected contents are written here in UTF-8 and encoded.
QByteArray cp1251(const QString &text)
{
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(text);
}

} // namespace

TEST(JobFileText, ArrayFileOfTheExampleArray)
{
    const QByteArray bytes = jobfiles::arrayText(0.17, 0.13f, 0.0035, 1e6, 0.02);
    EXPECT_EQ(bytes, cp1251("Название решетки:    Quist-Marvane\n"
                            "Апертура решетки, м:     0.17\n"
                            "Радиус кривизны решетки, м:     0.13\n"
                            "Радиус элементов решетки, м:     0.0035\n"
                            "Рабочая частота решетки, Гц:    1e+06\n"
                            "Радиус отверстия, м:     0.02"));
    // The labels really are single-byte Cyrillic ("Апертура"), not UTF-8.
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("c0efe5f0f2f3f0e0")));
    EXPECT_FALSE(bytes.contains('\r'));
}

TEST(JobFileText, MediumFileHasFixedHeatCapacityAndAbsorption)
{
    EXPECT_EQ(jobfiles::mediumText(1000, 1500, 4200.f, 0.f), cp1251("Название среды:\t\t\tWater\n"
                                                                    "Плотность, кг/м3:\t\t1000\n"
                                                                    "Скорость звука в среде, м/с:\t1500\n"
                                                                    "Теплоемкость, Дж/кг/К:\t\t4200\n"
                                                                    "Поглощение в среде, дБ/см/МГц:\t0"));
    // Large and small values take the exponent form.
    EXPECT_TRUE(jobfiles::mediumText(1.5e6, 5e-5, 4200.f, 0.f).contains("\t\t1.5e+06\n"));
    EXPECT_TRUE(jobfiles::mediumText(1.5e6, 5e-5, 4200.f, 0.f).contains("\t5e-05\n"));
}

TEST(JobFileText, ElementsAreMirroredAndTurnedByThePlaneAngle)
{
    const VDOUB2 elem = {{0.01, 0.02}};
    EXPECT_EQ(jobfiles::elementsText(rotateEl(elem, 0)), QByteArray("0.01 -0.02\n"));
    EXPECT_EQ(jobfiles::elementsText(rotateEl(elem, jobfiles::degreesToRadians(90))), QByteArray("0.02 0.01\n"));
    const VDOUB2 two = {{0.01, 0.02}, {-0.03, 0}};
    // The stream writes a negative zero as 0.
    EXPECT_EQ(jobfiles::elementsText(rotateEl(two, 0)), QByteArray("0.01 -0.02\n-0.03 0\n"));
    EXPECT_EQ(jobfiles::elementsText(VDOUB2()), QByteArray());
}

TEST(RotateEl, KeepsExtraColumnsAndTheInput)
{
    const VDOUB2 elem = {{1, 2, 7, 8}};
    const VDOUB2 turned = rotateEl(elem, 0.5);
    ASSERT_EQ(turned.size(), 1u);
    ASSERT_EQ(turned[0].size(), 4u);
    EXPECT_NEAR(turned[0][0], 1 * std::cos(0.5) + 2 * std::sin(0.5), 1e-15);
    EXPECT_NEAR(turned[0][1], 1 * std::sin(0.5) - 2 * std::cos(0.5), 1e-15);
    EXPECT_EQ(turned[0][2], 7);
    EXPECT_EQ(turned[0][3], 8);
    EXPECT_EQ(elem[0][0], 1);
    EXPECT_EQ(elem[0][1], 2);
}

TEST(JobFileText, FocusFiles)
{
    EXPECT_EQ(jobfiles::transverseFocusText(0.01, -0.005, 0.08), QByteArray("0.01\n-0.005\n0.08"));
    // The angle constant 3.14159265 is not pi: cos(90 degrees) leaves 1.7949e-11.
    EXPECT_EQ(jobfiles::axialFocusText(0.01, 0, 0.08, 90), QByteArray("1.7949e-11\n0.01\n0.08"));
    // The transverse coordinate is turned the other way round on the first line.
    EXPECT_EQ(jobfiles::axialFocusText(0, 0.01, 0.08, 90), QByteArray("-0.01\n1.7949e-11\n0.08"));
    EXPECT_EQ(jobfiles::axialFocusText(0.01, 0.02, 0.1, 0), QByteArray("0.01\n0.02\n0.1"));
}

// The job files' numbers and labels are written without Qt; Qt's text stream and codec are the
// reference they must match, tie rounding, negative zero and signed NaN included.
TEST(JobFileText, NumbersAndLabelsAsQtWritesThem)
{
    for (const double v : {0.17,
                           0.13f * 1.0,
                           1e6,
                           1.5e6,
                           5e-5,
                           4200.0,
                           -0.0,
                           123456.5,
                           12345.25,
                           -1234565.0,
                           999999.5,
                           100000.0,
                           1e-4,
                           1e-100,
                           4.94e-324,
                           1.7976931348623157e308,
                           0.1 + 0.2,
                           1.0000005,
                           -std::nan(""),
                           std::nan(""),
                           HUGE_VAL,
                           -HUGE_VAL,
                           0.000566666666,
                           2 * 51.0 - 1}) {
        QByteArray expected;
        QTextStream(&expected) << v;
        EXPECT_EQ(QByteArray::fromStdString(kjobs::numberText(v)), expected) << v;
    }
    for (const char *text : {"Название решетки:    Quist-Marvane", "Поглощение в среде, дБ/см/МГц:", "ёЁ№€日 Water"})
        EXPECT_EQ(QByteArray::fromStdString(kjobs::toCp1251(text)), cp1251(QString::fromUtf8(text))) << text;
}

TEST(JobFileText, GridFiles)
{
    // Nxp = 25 and dxp = 1 mm: 49 points from -0.024.
    EXPECT_EQ(jobfiles::transverseGridText(0.13, 25, 51, 0.024, 0.05, 0.001, 0.001),
              QByteArray("xy\n0.13\n49\n101\n-0.024\n-0.05\n0.001\n0.001"));
    EXPECT_EQ(jobfiles::axialGridText(0.065, 51, 241, 0.01665, 0.000333, 0.000541),
              QByteArray("yz\n0\n101\n241\n-0.01665\n0.065\n0.000333\n0.000541"));
}

TEST(JobFileWriters, WriteTheSharedParametersIntoTheJobFolder)
{
    testsupport::TempAppDir dir;
    mainparams::setExampleArray();
    shared::Elem = {{0.01, 0.02}};
    shared::xF = 0.01;
    shared::yF = 0;
    shared::zF = 0.08;
    shared::phipr = 90;
    shared::zop = 0.13;
    shared::Nxp = 25;
    shared::Nyp = 2;
    shared::dxp = 0.001;
    shared::dyp = 0.5;
    shared::rxp = 0.024;
    shared::ryp = 0.5;
    const QString folder = jobfiles::folderPath("main_max");
    EXPECT_EQ(folder, dir.path() + "/main_max/");

    QString failed;
    ASSERT_TRUE(jobfiles::writeFiles(folder, jobfiles::arrayAndMediumFiles(), &failed));
    ASSERT_TRUE(jobfiles::writeFiles(folder, jobfiles::elementsAndFocusFiles(true), &failed));
    ASSERT_TRUE(jobfiles::writeFile(folder + "grid_scan.txt", jobfiles::planeGridText(false)));
    EXPECT_EQ(testsupport::readAll(folder + "array.txt"), jobfiles::arrayText(0.17, 0.13f, 0.0035, 1e6, 0.02));
    EXPECT_EQ(testsupport::readAll(folder + "medium.txt"),
              cp1251("Название среды:\t\t\tWater\nПлотность, кг/м3:\t\t1000\n"
                     "Скорость звука в среде, м/с:\t1500\nТеплоемкость, Дж/кг/К:\t\t4200\n"
                     "Поглощение в среде, дБ/см/МГц:\t0"));
    EXPECT_EQ(testsupport::readAll(folder + "array_elements.txt"), QByteArray("0.02 0.01\n"));
    EXPECT_EQ(testsupport::readAll(folder + "focus.txt"), QByteArray("1.7949e-11\n0.01\n0.08"));
    EXPECT_EQ(testsupport::readAll(folder + "grid_scan.txt"), QByteArray("xy\n0.13\n49\n3\n-0.024\n-0.5\n0.001\n0.5"));

    // A shorter file replaces a longer one completely.
    shared::Elem.clear();
    ASSERT_TRUE(jobfiles::writeFiles(folder, jobfiles::elementsAndFocusFiles(false), &failed));
    EXPECT_EQ(testsupport::readAll(folder + "array_elements.txt"), QByteArray());
    EXPECT_EQ(testsupport::readAll(folder + "focus.txt"), QByteArray("0.01\n0\n0.08"));
}

TEST(JobFileWriters, NameTheFileThatCouldNotBeWritten)
{
    testsupport::TempAppDir dir;
    mainparams::setExampleArray();
    QString failed;
    const QString missing = dir.path() + "/nowhere/";
    EXPECT_FALSE(jobfiles::writeFiles(missing, jobfiles::arrayAndMediumFiles(), &failed));
    EXPECT_EQ(failed, missing + "array.txt");

    // A directory in the place of a file cannot be opened for writing.
    const QString folder = jobfiles::folderPath("side_max");
    QDir(folder).mkdir("medium.txt");
    EXPECT_FALSE(jobfiles::writeFiles(folder, jobfiles::arrayAndMediumFiles(), &failed));
    EXPECT_EQ(failed, folder + "medium.txt");
    EXPECT_FALSE(testsupport::readAll(folder + "array.txt").isEmpty());
}

TEST(JobLaunch, RemovesTheMarkerThenStartsTheBatchFileInItsFolder)
{
    testsupport::TempAppDir dir;
    const QString folder = jobfiles::folderPath("calc");
    testsupport::writeAll(folder + "calcdone", "");
    EXPECT_TRUE(jobfiles::isDone(folder));

    QStringList calls;
    bool markerSeen = true;
    platform::setStartDetachedHandler([&](const QString &program, const QStringList &args, const QString &workDir) {
        calls << program << QString::number(args.size()) << workDir;
        markerSeen = QFile::exists(folder + "calcdone");
        return true;
    });
    EXPECT_TRUE(jobfiles::launch(folder, "calc.bat"));
    testsupport::installDefaultHooks();
    EXPECT_EQ(calls, QStringList({dir.path() + "/calc/calc.bat", "0", dir.path() + "/calc/"}));
    EXPECT_FALSE(markerSeen);
    EXPECT_FALSE(jobfiles::isDone(folder));
    // A missing marker is no error when launching again; a failed start is reported to the caller.
    EXPECT_FALSE(jobfiles::launch(folder, "calc.bat"));
}

// The application refuses exactly the grids the calculator refuses: each grid text goes to both.
TEST(JobRefusal, GridsBeyondTheCalculatorsLimitsAreRefusedBeforeWriting)
{
    QTemporaryDir dir;
    const std::pair<QByteArray, std::string> cases[] = {
        {jobfiles::transverseGridText(0.13, 51, 51, 0.0283, 0.0283, 0.000567, 0.000567), ""},
        {jobfiles::transverseGridText(0.13, 99999, 51, 99.998, 0.0283, 0.001, 0.000567),
         "Область слишком велика: 199997 × 101 точек"},
        {jobfiles::gridText("xy", 0.13, 4000, 5000, -0.1, -0.1, 1e-5, 1e-5), ""}, // exactly 2e7
        {jobfiles::axialGridText(0.065, 2000, 5002, 19.99, 0.01, 0.0001), "Область слишком велика: 3999 × 5002"},
        {jobfiles::transverseGridText(9999.99, 51, 51, 0.0283, 0.0283, 0.000567, 0.000567),
         "Область уходит дальше 100000 см"},
    };
    for (const auto &[grid, refusal] : cases) {
        const QString text = jobfiles::gridRefusal(grid, "Область");
        EXPECT_EQ(text.left(QString::fromStdString(refusal).size()).toStdString(), refusal);
        EXPECT_EQ(text.isEmpty(), refusal.empty()) << text.toStdString();
        ASSERT_TRUE(jobfiles::writeFile(dir.filePath("grid_calc.txt"), grid));
        bool calculatorRefuses = false;
        try {
            kcalc::checkGrid(kcalc::readGridFile(dir.path().toStdString(), "grid_calc.txt"), "grid_calc.txt");
        } catch (const kcalc::JobError &) {
            calculatorRefuses = true;
        }
        EXPECT_EQ(calculatorRefuses, !refusal.empty());
    }
    EXPECT_TRUE(jobfiles::focusRefusal(0.02, 0, 0.13).isEmpty());
    EXPECT_FALSE(jobfiles::focusRefusal(0, 0, 1000.01).isEmpty());
}
