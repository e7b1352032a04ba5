// The field result pipeline without windows: reading the calculator's files, converting them to
// the result types, the raster's interpolation, the colour table, the tracker and the text export.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <cmath>
#include <memory>
#include <thread>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include "grid.h"
#include "plot.h"
#include "print_qt.h"
#include "read_from_file.h"
#include "test_support.h"
#include "write_z.h"

namespace {
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.path() + "/" + name;
    testsupport::writeAll(path, text);
    return path;
}

const QByteArray header = "-0.01 0.01 0.01\n-0.005 0.01 0.005\n7.5\n";

// A 3 x 3 field in centimetres from -1 to 1 on both axes with values f(x, y).
VDOUB3 field3x3(const std::function<double(double, double)> &f)
{
    VDOUB3 z(3, VDOUB2(3, VDOUB(3)));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            z[0][i][j] = -1.0 + i;
            z[1][i][j] = -1.0 + j;
            z[2][i][j] = f(z[0][i][j], z[1][i][j]);
        }
    return z;
}

double bilinear(double x, double y)
{
    return 1.0 + 2.0 * x + 3.0 * y + 0.5 * x * y;
}
} // namespace

// ---- Reader ----

TEST(ReadFromFile, TransverseRecordsRunWithTheVerticalIndexFastest)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "AbsField_XY.txt",
                                   header
                                       + "-0.01 -0.005 1.5\n-0.01\t0.005 2.5e-01\n0 -0.005 3\n"
                                         "0 0.005 4\n0.01 -0.005 5\n0.01 0.005 6\n"
                                         "99 99 99\n"); // beyond the records: never read
    const VDOUB3 z = read_from_file(path, 3, 2);
    ASSERT_EQ(z.size(), 3u);
    ASSERT_EQ(z[0].size(), 3u);
    ASSERT_EQ(z[0][0].size(), 2u);
    EXPECT_DOUBLE_EQ(z[2][0][0], 1.5);
    EXPECT_DOUBLE_EQ(z[2][0][1], 0.25);
    EXPECT_DOUBLE_EQ(z[2][1][0], 3.0);
    EXPECT_DOUBLE_EQ(z[2][2][1], 6.0);
    EXPECT_DOUBLE_EQ(z[0][2][0], 0.01);
    EXPECT_DOUBLE_EQ(z[1][2][0], -0.005);
    EXPECT_DOUBLE_EQ(z[1][0][1], 0.005);
}

TEST(ReadFromFile, AxialRecordsRunWithTheHorizontalIndexFastestTransverseCoordinateFirst)
{
    QTemporaryDir dir;
    // i_size = 3 points along z, j_size = 2 across; records are (r, z, value).
    const QString path = writeFile(dir, "AbsField_YZ.txt",
                                   "-0.002 0.004 0.002\n0.06 0.01 0.08\n9\n"
                                   "-0.002 0.06 1\n-0.002 0.07 2\n-0.002 0.08 3\n"
                                   "0.002 0.06 4\n0.002 0.07 5\n0.002 0.08 6\n");
    const VDOUB3 z = read_from_file(path, 3, 2);
    // Second record: i = 1, j = 0; its first number is the vertical coordinate.
    EXPECT_DOUBLE_EQ(z[1][1][0], -0.002);
    EXPECT_DOUBLE_EQ(z[0][1][0], 0.07);
    EXPECT_DOUBLE_EQ(z[2][1][0], 2.0);
    EXPECT_DOUBLE_EQ(z[2][0][1], 4.0);
    EXPECT_DOUBLE_EQ(z[0][2][1], 0.08);
    EXPECT_DOUBLE_EQ(z[1][2][1], 0.002);
}

TEST(ReadFromFile, LayoutIsChosenBySixthAndFifthLastCharacters)
{
    QTemporaryDir dir;
    const QByteArray records = header + "1 2 3\n4 5 6\n";
    // "XY" followed by four characters: transverse (x, y, value).
    VDOUB3 z = read_from_file(writeFile(dir, "fieldXY.dat", records), 2, 1);
    EXPECT_DOUBLE_EQ(z[0][0][0], 1.0);
    EXPECT_DOUBLE_EQ(z[1][0][0], 2.0);
    EXPECT_DOUBLE_EQ(z[0][1][0], 4.0);
    // Lower case, or XY elsewhere in the name: axial (first number is the vertical coordinate).
    z = read_from_file(writeFile(dir, "Field_xy.txt", records), 2, 1);
    EXPECT_DOUBLE_EQ(z[1][0][0], 1.0);
    EXPECT_DOUBLE_EQ(z[0][0][0], 2.0);
    z = read_from_file(writeFile(dir, "XY_field.txt", records), 2, 1);
    EXPECT_DOUBLE_EQ(z[1][0][0], 1.0);
    // Names shorter than six characters are axial; exactly six with XY in front are transverse.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    writeFile(dir, "Y.txt", records);
    writeFile(dir, "XY.txt", records);
    z = read_from_file("Y.txt", 2, 1);
    EXPECT_DOUBLE_EQ(z[1][0][0], 1.0);
    z = read_from_file("XY.txt", 2, 1);
    EXPECT_DOUBLE_EQ(z[0][0][0], 1.0);
    QDir::setCurrent(cwd);
}

TEST(ReadFromFile, MissingEmptyAndShortFilesGiveZerosOfTheFullSize)
{
    QTemporaryDir dir;
    auto allZero = [](const VDOUB3 &z, size_t ni, size_t nj) {
        if (z.size() != 3)
            return false;
        for (const VDOUB2 &plane : z) {
            if (plane.size() != ni)
                return false;
            for (const VDOUB &row : plane) {
                if (row.size() != nj)
                    return false;
                for (double v : row)
                    if (v != 0.0)
                        return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(allZero(read_from_file(dir.path() + "/AbsField_XY.txt", 4, 5), 4, 5));
    EXPECT_TRUE(allZero(read_from_file(writeFile(dir, "AbsField_YZ.txt", header), 4, 5), 4, 5));
    EXPECT_TRUE(allZero(read_from_file(writeFile(dir, "AbsField_XY.txt", "1 2 3"), 2, 2), 2, 2));

    // Truncated in the middle of the third record: what was read stays, the rest is zero.
    const VDOUB3 z = read_from_file(writeFile(dir, "AbsField_XY.txt", header + "1 2 3\n4 5 6\n7 8"), 2, 2);
    EXPECT_DOUBLE_EQ(z[2][0][1], 6.0);
    EXPECT_DOUBLE_EQ(z[0][1][0], 7.0);
    EXPECT_DOUBLE_EQ(z[1][1][0], 8.0);
    EXPECT_DOUBLE_EQ(z[2][1][0], 0.0);
    EXPECT_DOUBLE_EQ(z[0][1][1], 0.0);
}

TEST(ReadFromFile, ZerosFromTheFirstUnreadableNumberOnButNanAndInfAreNumbers)
{
    QTemporaryDir dir;
    VDOUB3 z = read_from_file(writeFile(dir, "AbsField_XY.txt", header + "1 2 3\n4 5 x6\n7 8 9\n10 11 12\n"), 2, 2);
    EXPECT_DOUBLE_EQ(z[2][0][0], 3.0);
    EXPECT_DOUBLE_EQ(z[1][0][1], 5.0);
    EXPECT_DOUBLE_EQ(z[2][0][1], 0.0);
    EXPECT_DOUBLE_EQ(z[0][1][0], 0.0); // later numbers are not read either
    EXPECT_DOUBLE_EQ(z[2][1][1], 0.0);

    z = read_from_file(writeFile(dir, "AbsField_XY.txt", header + "1 2 -nan\n4 5 inf\n7 8 -inf\n10 11 12\n"), 2, 2);
    EXPECT_TRUE(std::isnan(z[2][0][0]));
    EXPECT_TRUE(std::isinf(z[2][0][1]) && z[2][0][1] > 0);
    EXPECT_TRUE(std::isinf(z[2][1][0]) && z[2][1][0] < 0);
    EXPECT_DOUBLE_EQ(z[2][1][1], 12.0);
    // The colour bar's maximum stays finite.
    EXPECT_DOUBLE_EQ(fieldMaximum(z), 12.0);
}

// ---- Grid, result types ----

TEST(FieldGrid, ConstructorOrderAndGridDerivedFromTheArrays)
{
    const Grid g(5, 3, 0.1, 0.2, -1.0, 1.0, -0.5, 0.5);
    EXPECT_EQ(g.Nx, 5);
    EXPECT_EQ(g.Ny, 3);
    EXPECT_EQ(g.dX, 0.1);
    EXPECT_EQ(g.dY, 0.2);
    EXPECT_EQ(g.Xmin, -1.0);
    EXPECT_EQ(g.Xmax, 1.0);
    EXPECT_EQ(g.Ymin, -0.5);
    EXPECT_EQ(g.Ymax, 0.5);

    // An axial field of 4 z points by 3 across, in metres, converted for the plot.
    VDOUB3 z(3, VDOUB2(4, VDOUB(3)));
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            z[0][i][j] = 0.065 + 0.005 * i;
            z[1][i][j] = -0.002 + 0.002 * j;
            z[2][i][j] = 1.0;
        }
    convertFieldForPlot(z, FieldResultType::DimensionlessPressure, 1e5, 1000, 1500);
    std::unique_ptr<Grid> grid(gridFromArrays(z, 4, 3));
    EXPECT_EQ(grid->Nx, 4);
    EXPECT_EQ(grid->Ny, 3);
    EXPECT_NEAR(grid->Xmin, 6.5, 1e-12);
    EXPECT_NEAR(grid->Xmax, 8.0, 1e-12);
    EXPECT_NEAR(grid->Ymin, -0.2, 1e-12);
    EXPECT_NEAR(grid->Ymax, 0.2, 1e-12);
    EXPECT_NEAR(grid->dX, 0.5, 1e-12);
    EXPECT_NEAR(grid->dY, 0.2, 1e-12);
}

TEST(FieldResultTypes, ConvertNormalisedPressure)
{
    EXPECT_DOUBLE_EQ(convertFieldValue(2.5, FieldResultType::DimensionlessPressure, 1e5, 1000, 1500), 2.5);
    EXPECT_NEAR(convertFieldValue(2.5, FieldResultType::Pressure, 1e5, 1000, 1500), 0.25, 1e-15);
    EXPECT_NEAR(convertFieldValue(1.0, FieldResultType::Intensity, 1e5, 1000, 1500), 0.333333, 1e-6);
    EXPECT_NEAR(convertFieldValue(2.0, FieldResultType::Intensity, 1e5, 1000, 1500), 4 * 0.3333333333, 1e-9);
    EXPECT_DOUBLE_EQ(convertFieldValue(3.0, FieldResultType::DimensionlessIntensity, 1e5, 1000, 1500), 9.0);

    // Coordinates go to centimetres with the values.
    VDOUB3 z(3, VDOUB2(2, VDOUB(2, 0.01)));
    z[2][1][1] = 2.5;
    convertFieldForPlot(z, FieldResultType::Pressure, 1e5, 1000, 1500);
    EXPECT_DOUBLE_EQ(z[0][0][0], 1.0);
    EXPECT_DOUBLE_EQ(z[1][1][0], 1.0);
    EXPECT_NEAR(z[2][1][1], 0.25, 1e-15);
}

TEST(FieldResultTypes, FlagsChooseTypeAndTitle)
{
    shared::is_dl_press = shared::is_press = shared::is_intens = shared::is_dl_intens = false;
    shared::is_intens = true;
    EXPECT_EQ(fieldResultTypeFromFlags(), FieldResultType::Intensity);
    EXPECT_EQ(fieldPlotTitle(FieldResultType::Intensity), QString("Интенсивность в фокусе, Вт/см<sup>2</sup>"));
    shared::is_intens = false;
    shared::is_dl_intens = true;
    EXPECT_EQ(fieldResultTypeFromFlags(), FieldResultType::DimensionlessIntensity);
    shared::is_dl_intens = false;
    EXPECT_EQ(fieldResultTypeFromFlags(), FieldResultType::DimensionlessPressure);
    EXPECT_EQ(fieldPlotTitle(FieldResultType::Pressure), QString("Давление в фокусе, МПа"));
}

// ---- Raster value ----

TEST(RasterValue, BilinearInsideZeroOnUpperBordersAndOutside)
{
    const VDOUB3 z = field3x3(bilinear);
    std::unique_ptr<Grid> g(gridFromArrays(z, 3, 3));
    SpectrogramData data(g.get(), 10.0);
    data.SetData(z, g.get(), 10.0);

    // A bilinear function is reproduced exactly inside every cell, the last ones included.
    for (double x : {-1.0, -0.75, -0.1, 0.0, 0.3, 0.999})
        for (double y : {-1.0, -0.5, 0.0, 0.25, 0.6, 0.999})
            EXPECT_NEAR(data.value(x, y), bilinear(x, y), 1e-12) << x << " " << y;
    EXPECT_NEAR(data.value(0.5, 0.9), bilinear(0.5, 0.9), 1e-12); // last cell row
    EXPECT_NEAR(data.value(0.9, 0.5), bilinear(0.9, 0.5), 1e-12); // last cell column

    // Upper borders do not belong to the grid; neither does anything outside it.
    EXPECT_EQ(data.value(1.0, 0.0), 0.0);
    EXPECT_EQ(data.value(0.0, 1.0), 0.0);
    EXPECT_EQ(data.value(1.0, 1.0), 0.0);
    EXPECT_EQ(data.value(-1.0001, 0.0), 0.0);
    EXPECT_EQ(data.value(0.0, -1.5), 0.0);

    // Ranges: x with borders, y without, z from 0 to the maximum.
    EXPECT_EQ(data.interval(Qt::XAxis), QwtInterval(-1.0, 1.0));
    EXPECT_EQ(data.interval(Qt::YAxis).borderFlags(), QwtInterval::ExcludeBorders);
    EXPECT_EQ(data.interval(Qt::ZAxis), QwtInterval(0.0, 10.0));
}

TEST(RasterValue, GridsTooSmallOrWithoutStepGiveZeroNotACrash)
{
    VDOUB3 one(3, VDOUB2(1, VDOUB(1, 5.0)));
    std::unique_ptr<Grid> g(gridFromArrays(one, 1, 1));
    EXPECT_EQ(g->dX, 0.0);
    EXPECT_EQ(interpolateField(one, *g, 0.0, 0.0), 0.0);
    VDOUB3 empty(3);
    std::unique_ptr<Grid> e(gridFromArrays(empty, 0, 0));
    EXPECT_EQ(interpolateField(empty, *e, 0.0, 0.0), 0.0);
    EXPECT_EQ(fieldMaximum(empty), 0.0);
}

// ---- Colour map ----

TEST(ColorTable, SixtyFourFlatBands)
{
    ColorMap map;
    const QwtInterval range(0.0, 1.0);
    EXPECT_EQ(map.mode(), QwtLinearColorMap::FixedColors);
    auto rgb = [&](double v) { return QColor::fromRgba(map.rgb(range, v)); };
    EXPECT_EQ(rgb(0.0), QColor(0, 0, 143));
    EXPECT_EQ(rgb(0.01), QColor(0, 0, 143));
    EXPECT_EQ(rgb(0.0148515), QColor(0, 0, 159));
    EXPECT_EQ(rgb(0.24), QColor(0, 127, 255));
    EXPECT_EQ(rgb(0.25), QColor(0, 143, 255));
    EXPECT_EQ(rgb(0.26), QColor(0, 143, 255)); // no blending inside a band
    EXPECT_EQ(rgb(0.5), QColor(127, 255, 127));
    EXPECT_EQ(rgb(0.611386), QColor(255, 255, 0));
    EXPECT_EQ(rgb(0.87), QColor(255, 0, 0));
    EXPECT_EQ(rgb(0.995), QColor(127, 0, 0));
    EXPECT_EQ(rgb(1.0), QColor(127, 0, 0));
    // A field between 5 and 10 on a bar from 0 uses the upper half of the table only.
    EXPECT_EQ(QColor::fromRgba(map.rgb(QwtInterval(0, 10), 5.0)), QColor(127, 255, 127));
    EXPECT_EQ(QColor::fromRgba(map.rgb(QwtInterval(0, 10), 5.1)), QColor(143, 255, 111));
}

// ---- Tracker ----

TEST(Tracker, PositionFollowedByValueWithSixDecimalsOnTranslucentWhite)
{
    const VDOUB3 z = field3x3([](double, double) { return 0.25; });
    std::unique_ptr<Grid> g(gridFromArrays(z, 3, 3));
    SpectrogramData data(g.get(), 1.0);
    data.SetData(z, g.get(), 1.0);

    QwtPlot plot;
    plot.setAxisScale(QwtPlot::xBottom, -1, 1);
    plot.setAxisScale(QwtPlot::yLeft, -1, 1);
    plot.replot();
    MyZoomer zoomer(qobject_cast<QwtPlotCanvas *>(plot.canvas()));
    EXPECT_EQ(zoomer.trackerMode(), QwtPicker::AlwaysOn);
    EXPECT_EQ(zoomer.trackerTextF(QPointF(0.5, -0.25)).text(), QString("0.5000, -0.2500"));

    zoomer.setSpectrogramdata(&data);
    QwtText text = zoomer.trackerTextF(QPointF(0.5, -0.25));
    EXPECT_EQ(text.text(), QString("0.5000, -0.2500 (0.250000)"));
    EXPECT_EQ(text.backgroundBrush().color(), QColor(255, 255, 255, 200));
    EXPECT_EQ(text.backgroundBrush().style(), Qt::SolidPattern);
    // On the top border the value is 0.
    EXPECT_EQ(zoomer.trackerTextF(QPointF(0.0, 1.0)).text(), QString("0.0000, 1.0000 (0.000000)"));
}

// ---- Text export ----

TEST(WriteZ, ThreeByThreeFieldLineByLineInTheLocalEncoding)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/field.txt";
    VDOUB3 z = field3x3([](double x, double y) { return 10 * x + y; });
    z[2][2][2] = 1.5e-9;

    // The labels go through the local 8-bit codec: under a Cyrillic code page they are bytes of it.
    QTextCodec *previous = QTextCodec::codecForLocale();
    QTextCodec *cp1251 = QTextCodec::codecForName("Windows-1251");
    ASSERT_NE(cp1251, nullptr);
    QTextCodec::setCodecForLocale(cp1251);
    const bool written = write_z(path, z, "xy");
    QTextCodec::setCodecForLocale(previous);
    ASSERT_TRUE(written);

    const QByteArray bytes = testsupport::readAll(path);
    EXPECT_TRUE(bytes.startsWith("\xCC\xE8\xED")); // "Мин" in Windows-1251
    const QStringList lines = cp1251->toUnicode(bytes).split('\n');
    ASSERT_EQ(lines.size(), 8 + 9 + 1);
    EXPECT_EQ(lines[0], QString("Минимальное значение абциссы: -1.000000"));
    EXPECT_EQ(lines[1], QString("Шаг абциссы: 1.000000"));
    EXPECT_EQ(lines[2], QString("Максимальное значение абциссы: 1.000000"));
    EXPECT_EQ(lines[3], QString("Минимальное значение ординаты: -1.000000"));
    EXPECT_EQ(lines[4], QString("Шаг ординаты: 1.000000"));
    EXPECT_EQ(lines[5], QString("Максимальное значение ординаты: 1.000000"));
    EXPECT_EQ(lines[6], QString("Далее следует поточечное представление данных в виде"));
    EXPECT_EQ(lines[7], QString("\"абцисса\", \"ордината\", \"значение на спектрограмме\": "));
    EXPECT_EQ(lines[8], QString("-1.000000    -1.000000    -11.000000"));
    EXPECT_EQ(lines[9], QString("-1.000000    0.000000    -10.000000"));
    EXPECT_EQ(lines[10], QString("-1.000000    1.000000    -9.000000"));
    EXPECT_EQ(lines[11], QString("0.000000    -1.000000    -1.000000"));
    EXPECT_EQ(lines[16], QString("1.000000    1.000000    0.000000"));
    EXPECT_EQ(lines[17], QString()); // nothing after the last line end

    // Writing again replaces the file.
    VDOUB3 small = field3x3([](double, double) { return 0.0; });
    ASSERT_TRUE(write_z(path, small, "zr"));
    EXPECT_EQ(testsupport::readAll(path).count('\n'), 8 + 9);
}

TEST(WriteZ, ReportsAFileThatCannotBeCreated)
{
    QTemporaryDir dir;
    EXPECT_FALSE(write_z(dir.path() + "/missing/field.txt", field3x3(bilinear), "xy"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/missing/field.txt"));
}

TEST(RasterValue, ConcurrentReadersSeeTheSameValues)
{
    // Qwt renders with several threads calling value() at once.
    VDOUB3 z(3, VDOUB2(60, VDOUB(40)));
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 40; ++j) {
            z[0][i][j] = 0.1 * i;
            z[1][i][j] = 0.2 * j;
            z[2][i][j] = std::sin(0.3 * i) * std::cos(0.2 * j);
        }
    std::unique_ptr<Grid> g(gridFromArrays(z, 60, 40));
    SpectrogramData data(g.get(), 1.0);
    data.SetData(z, g.get(), 1.0);
    auto sweep = [&data] {
        std::vector<double> v;
        v.reserve(600 * 800);
        for (int a = 0; a < 600; ++a)
            for (int b = 0; b < 800; ++b)
                v.push_back(data.value(0.01 * a, 0.01 * b));
        return v;
    };
    const std::vector<double> serial = sweep();
    std::vector<std::vector<double>> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] { results[t] = sweep(); });
    for (std::thread &t : threads)
        t.join();
    for (const std::vector<double> &r : results)
        EXPECT_TRUE(r == serial);
}
