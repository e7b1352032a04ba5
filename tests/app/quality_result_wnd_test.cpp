// The quality result windows: size, texts, parameter lists, exports and the close question,
// built from scan results written as the calculator writes them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "plot_main_and_side.h"
#include "plot_main_max.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd_qual.h"
#include "scan_fixture.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {
// An axial main scan of 5 x 3 points (z 10..14 cm, r -1..1 cm) valued 0.5 with 0.9 at
// (12 cm, 0), and a side scan of 3 x 3 points valued 0.2 over z 11..13 cm, r -0.5..0.5 cm.
class QualityResultWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
        axialRuns();
        shared::is_press_qual = true;
        shared::is_intens_qual = false;
        shared::is_side = false;
        shared::contourLevels = shared::contourLevels_main = {0.9, 0.7, 0.5};
        shared::contourLevels_side = {0.32};
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        platform::setFileDialogHandler([](const platform::FileDialog &) { return QString(); });
        BoxRecorder::instance().clear();
    }
    void axialRuns()
    {
        shared::is_prodol = true;
        shared::is_poper = false;
        scanfixture::setScanRun(app.path(), true, false, 5, 3);
        scanfixture::writeScan(
            shared::name_of_file_main_max_axial, true, 5, 3, 0.10, -0.01, 0.01, 0.01,
            [](double z, double r) { return std::abs(z - 0.12) < 1e-9 && std::abs(r) < 1e-9 ? 0.9 : 0.5; });
        scanfixture::setScanRun(app.path(), true, true, 3, 3);
        scanfixture::writeScan(shared::name_of_file_side_max_axial, true, 3, 3, 0.11, -0.005, 0.01, 0.005,
                               [](double, double) { return 0.2; });
    }
    QStringList exportText(QWidget *w, const char *button)
    {
        const QString path = out.path() + "/field.txt";
        platform::setFileDialogHandler([path](const platform::FileDialog &) { return path; });
        w->findChild<QPushButton *>(button)->click();
        return QString::fromLocal8Bit(testsupport::readAll(path)).split('\n');
    }

    testsupport::TempAppDir app;
    QTemporaryDir out;
};

QString labelText(QWidget *w)
{
    return w->findChild<QLabel *>("Focus_Label")->text();
}
} // namespace

TEST_F(QualityResultWindowTest, BuildsCleanWithTheirSizesTitlesAndPlaceholders)
{
    static QStringList warnings;
    warnings.clear();
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &msg) { warnings << msg; });
    {
        Result_Wnd_qual single(nullptr, nullptr);
        EXPECT_EQ(single.size(), QSize(1076, 605)); // axial: twice as wide
        // The specified sizes, grown where this machine's fonts need more.
        EXPECT_EQ(single.minimumSize(), QSize(538, 605).expandedTo(single.minimumSizeHint()));
        EXPECT_EQ(single.windowTitle(), QString("Результат оценки качества поля"));
        EXPECT_EQ(labelText(&single), QString("Maximum value of dimensionless pressure is \n"));
        Result_Main_and_Side_wnd both(nullptr, true);
        EXPECT_EQ(both.size(), QSize(1036, 610));
        EXPECT_EQ(labelText(&both), QString());
        Result_Main_and_Side_wnd transverse(nullptr, false);
        EXPECT_EQ(transverse.size(), QSize(518, 610).expandedTo(transverse.minimumSizeHint()));
    }
    qInstallMessageHandler(previous);
    for (const QString &m : warnings)
        EXPECT_FALSE(m.contains("No matching signal for on_")) << m.toStdString();

    shared::is_poper = true;
    shared::name_of_file_main_max_poper = shared::name_of_file_main_max_axial;
    Result_Wnd_qual single(nullptr, nullptr);
    EXPECT_EQ(single.size(), QSize(538, 605).expandedTo(single.minimumSizeHint()));
}

TEST_F(QualityResultWindowTest, LabelsStateTheBestFocusInCentimetres)
{
    shared::XF_max_pos = 0.12;
    shared::YF_max_pos = 0.005;
    shared::zop = 0.13;
    Result_Wnd_qual w(nullptr, nullptr);
    w.SetType(true);
    w.Axes_Title("AbsField_YZ.bin", 4e+12, shared::contourLevels, false);
    // One point of the 15 holds the best value 0.9.
    const QString share = "\nq ≥ 0.89 на 7 % области; значение — наибольшее давление поля при этой фокусировке, в "
                          "единицах p₀";
    EXPECT_EQ(labelText(&w), QString("Максимальное безразмерное значение 4e+12 достигается\nпри "
                                     "фокусировке в точку x = 0 см, y = 0.5 см, z = 12 см.")
                                 + share);
    w.SetType(false);
    w.Axes_Title("emp", 1.25, shared::contourLevels, false);
    EXPECT_EQ(labelText(&w), QString("Максимальное безразмерное значение 1.25 достигается\nпри "
                                     "фокусировке в точку x = 12 см, y = 0.5 см, z = 13 см.")
                                 + share);
    w.Axes_Title("empt", 0, shared::contourLevels, true); // side maxima: no text
    EXPECT_EQ(labelText(&w), QString());

    Result_Main_and_Side_wnd both(nullptr, true);
    both.SetType(true);
    both.Axes_Title(0.98);
    EXPECT_TRUE(labelText(&both).startsWith(
        "Максимальное безразмерное значение 0.98 достигается\nпри фокусировке в точку x = 0 см"));
}

TEST_F(QualityResultWindowTest, ParameterListsShowTheAnalysedRegions)
{
    Result_Wnd_qual w(nullptr, nullptr);
    w.SetType(false);
    w.SetData(0.065, 0, 241, 51, 0.0001, 0.0005, 0.13, 0.02, 0.02, 21, 21, 0.001, 0.001, 0.07, 0, 25, 6, 0.003, 0.005,
              0.12, 0.01, 0.01, 11, 6, 0.001, 0.002);
    EXPECT_EQ(w.parameterText(),
              QString("z<sub>0</sub> = 12 см<br />x<sub>min</sub> = -1 см<br />x<sub>max</sub> = 1 см"
                      "<br />y<sub>min</sub> = -1 см<br />y<sub>max</sub> = 1<br />N<sub>x</sub> = 11"
                      "<br />N<sub>y</sub> = 6<br />dx = 0.1 см<br />dy = 0.2 см."
                      "<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));
    w.SetType(true);
    w.findChild<QPushButton *>("pushButton_2")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Параметры"));
    EXPECT_TRUE(BoxRecorder::instance().boxes()[0].text.startsWith(
        "z<sub>min</sub> = 7 см<br />&phi; = 0&deg;<br />N<sub>z</sub> = 25"));
    EXPECT_TRUE(BoxRecorder::instance().boxes()[0].text.endsWith(
        "r<sub>max</sub> = 1.5 см<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));

    BoxRecorder::instance().clear();
    Result_Main_and_Side_wnd both(nullptr, true);
    both.SetType(true);
    both.SetData_prodol(0.045, 0, 301, 76, 0.000333, 0.0005, 0.06, 0, 241, 51, 0.000333, 0.0005, 0.06, 0, 25, 6,
                        0.00333, 0.005);
    both.findChild<QPushButton *>("pushButton_4")->click();
    both.findChild<QPushButton *>("pushButton_3")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 2);
    EXPECT_TRUE(BoxRecorder::instance().boxes()[0].text.contains("N<sub>z</sub> = 241"));
    EXPECT_TRUE(BoxRecorder::instance().boxes()[1].text.contains("N<sub>z</sub> = 25"));
    both.SetType(false);
    both.SetData_poper(0.13, 0.02, 0.02, 21, 21, 0.001, 0.001, 0.13, 0.01, 0.01, 11, 11, 0.001, 0.001, 0.13, 0.01, 0.01,
                       3, 3, 0.005, 0.005);
    EXPECT_TRUE(
        both.parameterText_side().endsWith("N<sub>x</sub> = 3<br />N<sub>y</sub> = 3<br />dx = 0.5 см<br />dy = 0.5 см."
                                           "<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));
}

TEST_F(QualityResultWindowTest, TextExportsHoldEachWindowsArrays)
{
    // Intensity ratios: the single map exports 0.9^2 at its best point.
    shared::is_intens_qual = true;
    shared::is_press_qual = false;
    Result_Wnd_qual single(nullptr, nullptr);
    single.SetType(true);
    EXPECT_EQ(single.findChild<Plot_main_max *>("widget")->title().text(), QString("I<sub>F</sub>/I<sub>max</sub>"));
    QStringList lines = exportText(&single, "pushButton");
    ASSERT_EQ(lines.size(), 8 + 15 + 1);
    EXPECT_EQ(lines[0], QString("Минимальное значение абциссы: 10.000000"));
    EXPECT_EQ(lines[8 + 2 * 3 + 1], QString("12.000000    0.000000    0.810000"));
    EXPECT_EQ(lines[8], QString("10.000000    -1.000000    0.250000"));

    // The combined window: the main button exports the main scan, the side button the side scan;
    // a document from either is the same combined plot.
    shared::is_intens_qual = false;
    shared::is_press_qual = true;
    Result_Main_and_Side_wnd both(nullptr, true);
    both.SetType(true);
    both.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&both));
    lines = exportText(&both, "pushButton");
    ASSERT_EQ(lines.size(), 8 + 15 + 1);
    EXPECT_EQ(lines[8 + 2 * 3 + 1], QString("12.000000    0.000000    0.900000"));
    lines = exportText(&both, "pushButton_2");
    ASSERT_EQ(lines.size(), 8 + 9 + 1);
    EXPECT_EQ(lines[0], QString("Минимальное значение абциссы: 11.000000"));
    EXPECT_EQ(lines[8], QString("11.000000    -0.500000    0.200000"));

    const QString pdf = out.path() + "/field.pdf";
    platform::setFileDialogHandler([pdf](const platform::FileDialog &) { return pdf; });
    both.findChild<QPushButton *>("pushButton_2")->click();
    EXPECT_TRUE(testsupport::readAll(pdf).startsWith("%PDF-"));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
}

TEST_F(QualityResultWindowTest, CloseAsksAndClosesOnlyThisWindow)
{
    Result_Main_and_Side_wnd w(nullptr, true);
    w.show();
    const int quits = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&w));
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Выход из приложения"));
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(&w));
    EXPECT_EQ(testsupport::quitRequests(), quits);
    BoxRecorder::instance().setAnswer(QMessageBox::No);
}
