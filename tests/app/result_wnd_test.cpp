// The field result window: building it from a finished run, its size, texts, parameter list,
// close confirmation, plot interaction, exports and the result buttons' opener.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMouseEvent>
#include <cmath>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QPushButton>
#include <QtTest/QTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_renderer.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_scale_div.h>
#include <qwt_scale_widget.h>
#include <unistd.h>

#include "field_fixture.h"
#include "hdf5_export.h"
#include "plot.h"
#include "print_qt.h"
#include "recording_device.h"
#include "plane_fields.h"
#include "plane_test_util.h"
#include "plot_export.h"
#include "result_wnd.h"
#include "result_windows.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {
// A transverse run of 5 x 5 points (Nxp = Nyp = 3) at 1 mm steps whose normalised pressure is
// 1 + 10 x + 100 y with x, y in metres (so 1 at the centre); plus the shared medium.
class ResultWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        shared::initpres = 1e5;
        shared::ro = 1000;
        shared::c = 1500;
        planefields::setResultType(0);
        BoxRecorder::instance().clear();
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        platform::setFileDialogHandler([](const platform::FileDialog &) { return QString(); });
        BoxRecorder::instance().clear();
    }

    void transverseRun()
    {
        fieldfixture::setTransverseRun(app.path(), 3, 3, 0.001, 0.001, 0.13);
        fieldfixture::writeTransverse(shared::file_to_calc, 5, 5, 0.001, 0.001,
                                      [](double x, double y) { return 1.0 + 10 * x + 100 * y; });
    }
    void axialRun()
    {
        fieldfixture::setAxialRun(app.path(), 5, 3, 0.1, 0.01, 0.001);
        fieldfixture::writeAxial(shared::file_to_calc, 5, 5, 0.1, 0.01, 0.001,
                                 [](double z, double r) { return z + r; });
    }
    // Answers the next save dialog with path (and the filter chosen) and remembers what it was
    // asked.
    void answerSaveDialog(const QString &path, const QString &filter = QString())
    {
        platform::setFileDialogHandler([this, path, filter](const platform::FileDialog &d) {
            asked = d;
            if (d.selectedFilter)
                *d.selectedFilter = filter;
            return path;
        });
    }
    static QByteArray head(const QString &path, int n) { return testsupport::readAll(path).left(n); }

    testsupport::TempAppDir app;
    platform::FileDialog asked{false, QString(), QString(), QString()};
};
} // namespace

TEST_F(ResultWindowTest, SlotsAllConnectByName)
{
    transverseRun();
    static QStringList warnings;
    warnings.clear();
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &msg) { warnings << msg; });
    {
        Result_wnd w(nullptr, nullptr);
    }
    qInstallMessageHandler(previous);
    for (const QString &m : warnings)
        EXPECT_FALSE(m.contains("No matching signal for on_")) << m.toStdString();
}

TEST_F(ResultWindowTest, SizesByDpiAxialTwiceAsWideNeverSmallerThanTransverse)
{
    transverseRun();
    {
        Result_wnd w(nullptr, nullptr);
        EXPECT_EQ(w.size(), QSize(535, 593));
        EXPECT_EQ(w.minimumSize(), QSize(535, 593));
        EXPECT_EQ(w.windowTitle(), QString("Результат расчета поля"));
    }
    platform::setScreenOverride(120, QRect(0, 0, 1600, 1200));
    {
        Result_wnd w(nullptr, nullptr);
        EXPECT_EQ(w.size(), QSize(668, 741));
        EXPECT_EQ(w.minimumSize(), QSize(668, 741));
    }
    axialRun();
    {
        Result_wnd w(nullptr, nullptr);
        EXPECT_EQ(w.size(), QSize(1337, 741)); // 2 x 668.75, truncated
        EXPECT_EQ(w.minimumSize(), QSize(668, 741));
    }
    platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
    {
        Result_wnd w(nullptr, nullptr);
        EXPECT_EQ(w.size(), QSize(1070, 593));
    }
}

TEST_F(ResultWindowTest, IconFromTheApplicationDirectory)
{
    transverseRun();
    QImage logo(16, 16, QImage::Format_RGB32);
    logo.fill(Qt::red);
    {
        Result_wnd w(nullptr, nullptr);
        EXPECT_TRUE(w.windowIcon().isNull());
    }
    ASSERT_TRUE(logo.save(app.file("logo_png.png")));
    Result_wnd w(nullptr, nullptr);
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(ResultWindowTest, FocusLabelAndParameterLists)
{
    transverseRun();
    // The run's focus, in the plane z0 = 13 cm.
    shared::xF = 0;
    shared::yF = -0.005;
    shared::zF = 0.13;
    Result_wnd w(nullptr, nullptr);
    QLabel *label = w.findChild<QLabel *>("Focus_Label");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("Focus:  x=0, y=0.02, z=0.13"));
    w.Axes_Title(shared::file_to_calc, 0, -0.5, 13);
    EXPECT_EQ(label->text(), QString("Фокус: x= 0 см, y= -0.5 см, z= 13 см."));

    // Transverse: 21 points per side at 1 mm: -2 .. 2 cm, and no unit after y_max.
    w.SetType(false);
    w.SetData(0.065, 30, 241, 51, 0.000333, 0.000541, 0.13, 0.02, 0.01, 21, 11, 0.001, 0.001);
    const QString transverse = "z<sub>0</sub> = 13 см<br />x<sub>min</sub> = -2 см<br />x<sub>max</sub> = 2 см"
                               "<br />y<sub>min</sub> = -1 см<br />y<sub>max</sub> = 1<br />N<sub>x</sub> = 21"
                               "<br />N<sub>y</sub> = 11<br />dx = 0.1 см<br />dy = 0.1 см";
    EXPECT_EQ(w.parameterText(), transverse);
    w.findChild<QPushButton *>("pushButton_2")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Параметры"));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, transverse);

    w.SetType(true);
    EXPECT_EQ(w.parameterText(), QString("z<sub>min</sub> = 6.5 см<br />&phi; = 30&deg;<br />N<sub>z</sub> = 241"
                                         "<br />N<sub>r</sub> = 51<br />dr = 0.0333 см<br />dz = 0.0541 см"
                                         "<br />z<sub>max</sub> = 19.484 см<br />r<sub>min</sub> = -1.665 см"
                                         "<br />r<sub>max</sub> = 1.665 см"));
    // The quality windows end the transverse list with a full stop.
    EXPECT_TRUE(transverseParameterText(0.13, 21, 11, 0.001, 0.001, " см.").endsWith("dy = 0.1 см."));

    // The medium of the run ends the list; the title says it only when the values are in situ.
    w.SetMedium(0, 0);
    EXPECT_EQ(w.windowTitle(), QString("Результат расчета поля"));
    EXPECT_TRUE(w.parameterText().endsWith("r<sub>max</sub> = 1.665 см<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));
    w.SetMedium(2, 0.7f);
    EXPECT_EQ(w.windowTitle(), QString("Результат расчета поля. Среда: печень, поглощение 0.7 дБ/(см·МГц)"));
    EXPECT_TRUE(w.parameterText().endsWith("<br />Среда: печень, поглощение 0.7 дБ/(см·МГц)"));
}

TEST_F(ResultWindowTest, CloseAsksAndClosesOnlyThisWindow)
{
    transverseRun();
    Result_wnd w(nullptr, nullptr);
    w.show();
    const int quits = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&w));
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Выход из приложения"));
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(&w));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(testsupport::quitRequests(), quits);
    EXPECT_TRUE(QFile::exists(app.file("calc/calcdone"))); // job files stay
}

TEST_F(ResultWindowTest, PlotShowsTheChosenResultTypeInCentimetres)
{
    transverseRun();
    planefields::setResultType(1); // pressure, MPa
    Plot plot;
    EXPECT_EQ(plot.title().text(), QString("Давление в фокусе, МПа"));
    EXPECT_EQ(plot.axisTitle(QwtPlot::xBottom).text(), QString("x, см"));
    EXPECT_EQ(plot.axisTitle(QwtPlot::yLeft).text(), QString("y, см"));
    const VDOUB3 z = plot.GetZ();
    ASSERT_EQ(z[0].size(), 5u);
    ASSERT_EQ(z[0][0].size(), 5u);
    EXPECT_NEAR(z[0][0][0], -0.2, 1e-9);
    EXPECT_NEAR(z[1][4][4], 0.2, 1e-9);
    // Centre: normalised 1 at 0.1 MPa on the elements.
    EXPECT_NEAR(z[2][2][2], 0.1, 1e-12);
    // Colour bar from 0 to the largest value: 1 + 0.02 + 0.2 normalised.
    EXPECT_TRUE(plot.axisWidget(QwtPlot::yRight)->isColorBarEnabled());
    EXPECT_TRUE(plot.axisEnabled(QwtPlot::yRight));
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yRight).lowerBound(), 0.0);
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::yRight).upperBound(), 0.122, 1e-9);
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::xBottom).lowerBound(), -0.2, 1e-9);
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::yLeft).upperBound(), 0.2, 1e-9);

    axialRun();
    planefields::setResultType(2);
    Plot axial;
    EXPECT_EQ(axial.title().text(), QString("Интенсивность в фокусе, Вт/см<sup>2</sup>"));
    EXPECT_EQ(axial.axisTitle(QwtPlot::xBottom).text(), QString("z, см"));
    EXPECT_EQ(axial.axisTitle(QwtPlot::yLeft).text(), QString("r, см"));
    const VDOUB3 za = axial.GetZ();
    EXPECT_NEAR(za[0][4][0], 14.0, 1e-9); // z runs along the horizontal axis
    EXPECT_NEAR(za[1][0][4], 0.2, 1e-9);
    // Normalised 0.1 at z = 10 cm on the axis: 0.01 x 0.333333 W/cm^2.
    EXPECT_NEAR(za[2][0][2], 0.01 / 3, 1e-9);
}

TEST_F(ResultWindowTest, ContourLinesAreLabelledWithTheirLevelInDecibelsInEitherScale)
{
    // A round spot exp(-(r / 5 mm)^2) on 21 x 21 points: all three default levels are closed
    // lines inside the plane. Shown as an intensity, so the linear levels are 10 lg apart.
    fieldfixture::setTransverseRun(app.path(), 11, 11, 0.001, 0.001, 0.13);
    fieldfixture::writeTransverse(shared::file_to_calc, 21, 21, 0.001, 0.001,
                                  [](double x, double y) { return std::exp(-(x * x + y * y) / 25e-6); });
    planefields::setResultType(3);
    Plot plot;
    plot.resize(600, 500);
    auto labels = [&plot]() {
        testsupport::RecordingDevice device(QSize(600, 500));
        QPainter painter(&device);
        QwtPlotRenderer().render(&plot, &painter, QRectF(0, 0, 600, 500));
        painter.end();
        QSet<QString> texts;
        for (const testsupport::RecordingDevice::Text &t : device.texts())
            if (t.text.endsWith(QStringLiteral(" дБ")))
                texts << t.text;
        return texts;
    };
    const QSet<QString> expected{"-3 дБ", "-6 дБ", "-20 дБ"};
    plot.setContours(true, {-3, -6, -20});
    EXPECT_EQ(labels(), expected);
    plot.setDecibelScale(true, -40);
    EXPECT_EQ(labels(), expected);
    plot.setContours(false, {-3, -6, -20});
    EXPECT_TRUE(labels().isEmpty());
}

TEST_F(ResultWindowTest, TrackerWritesDecibelsWithTheirUnitAndTheLinearValueWithout)
{
    transverseRun();
    Plot plot;
    const MyZoomer *zoomer = plot.canvas()->findChild<MyZoomer *>();
    ASSERT_NE(zoomer, nullptr);
    // The centre holds 1 of a largest 1.22: -1.727197 dB.
    const QString linear = zoomer->trackerTextF(QPointF(0, 0)).text();
    EXPECT_EQ(linear, QString("0.0000, 0.0000 (1.000000)"));
    plot.setDecibelScale(true, -40);
    EXPECT_EQ(zoomer->trackerTextF(QPointF(0, 0)).text(),
              QString::asprintf("0.0000, 0.0000 (%f дБ)", 20 * std::log10(1 / 1.22)));
    plot.setDecibelScale(false, -40);
    EXPECT_EQ(zoomer->trackerTextF(QPointF(0, 0)).text(), linear);
}

TEST_F(ResultWindowTest, EqualScaleKeepsTheZoomedViewWhenResized)
{
    transverseRun(); // -0.2 ... 0.2 cm along both axes
    Plot plot;
    plot.resize(500, 500);
    plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    MyZoomer *zoomer = plot.canvas()->findChild<MyZoomer *>();
    ASSERT_NE(zoomer, nullptr);
    plot.setEqualScale(true);
    zoomer->zoom(QRectF(-0.1, 0.0, 0.1, 0.05)); // x -0.1 ... 0, y 0 ... 0.05

    // Wide, then tall: the zoomed part stays centred at (-0.05, 0.025) and in view, a centimetre
    // as long across as up, and only one axis is wider than asked.
    for (const QSize &size : {QSize(900, 400), QSize(400, 900)}) {
        plot.resize(size);
        QApplication::sendPostedEvents();
        const QwtScaleDiv x = plot.axisScaleDiv(QwtPlot::xBottom);
        const QwtScaleDiv y = plot.axisScaleDiv(QwtPlot::yLeft);
        EXPECT_NEAR((x.lowerBound() + x.upperBound()) / 2, -0.05, 1e-9) << size.width();
        EXPECT_NEAR((y.lowerBound() + y.upperBound()) / 2, 0.025, 1e-9) << size.width();
        EXPECT_GE(x.range(), 0.1 - 1e-9);
        EXPECT_GE(y.range(), 0.05 - 1e-9);
        EXPECT_TRUE(std::abs(x.range() - 0.1) < 1e-9 || std::abs(y.range() - 0.05) < 1e-9);
        const double perCmX = plot.transform(QwtPlot::xBottom, 1) - plot.transform(QwtPlot::xBottom, 0);
        const double perCmY = plot.transform(QwtPlot::yLeft, 0) - plot.transform(QwtPlot::yLeft, 1);
        EXPECT_NEAR(perCmX / perCmY, 1.0, 0.02) << size.width();
    }
    // Back to the whole plane on the tall canvas: all of it across, widened up.
    zoomer->zoom(0);
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::xBottom).range(), 0.4, 1e-9);
    EXPECT_GT(plot.axisScaleDiv(QwtPlot::yLeft).range(), 0.4);
}

TEST_F(ResultWindowTest, RightClickZoomsOutCtrlRightReturnsMiddlePansButNotTheColourBar)
{
    transverseRun();
    Plot plot;
    plot.resize(535, 500);
    plot.show();
    MyZoomer *zoomer = plot.findChild<MyZoomer *>();
    ASSERT_NE(zoomer, nullptr);
    EXPECT_EQ(zoomer->rubberBandPen().color(), QColor(Qt::darkBlue));
    EXPECT_EQ(zoomer->trackerPen().color(), QColor(Qt::darkBlue));
    EXPECT_EQ(zoomer->zoomBase(), QRectF(QPointF(-0.2, -0.2), QPointF(0.2, 0.2)).normalized());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));

    zoomer->zoom(QRectF(-0.1, -0.1, 0.2, 0.2));
    zoomer->zoom(QRectF(-0.05, -0.05, 0.1, 0.1));
    ASSERT_EQ(zoomer->zoomRectIndex(), 2u);
    QWidget *canvas = plot.canvas();
    const QPoint centre = canvas->rect().center();
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, centre);
    EXPECT_EQ(zoomer->zoomRectIndex(), 1u);
    QTest::mouseClick(canvas, Qt::RightButton, Qt::ControlModifier, centre);
    EXPECT_EQ(zoomer->zoomRectIndex(), 0u);

    // Middle-button drag: the field moves, the colour bar scale does not.
    const double xBefore = plot.axisScaleDiv(QwtPlot::xBottom).lowerBound();
    const QwtScaleDiv barBefore = plot.axisScaleDiv(QwtPlot::yRight);
    QTest::mousePress(canvas, Qt::MiddleButton, Qt::NoModifier, centre);
    QMouseEvent move(QEvent::MouseMove, centre + QPoint(60, 40), canvas->mapToGlobal(centre + QPoint(60, 40)),
                     Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QTest::mouseRelease(canvas, Qt::MiddleButton, Qt::NoModifier, centre + QPoint(60, 40));
    EXPECT_LT(plot.axisScaleDiv(QwtPlot::xBottom).lowerBound(), xBefore - 0.01);
    EXPECT_EQ(plot.axisScaleDiv(QwtPlot::yRight), barBefore);
}

TEST_F(ResultWindowTest, ExportFiltersAndPageSize)
{
    QStringList images;
    for (const QByteArray &f : QImageWriter::supportedImageFormats())
        images << "*." + QString::fromLatin1(f);
    ASSERT_FALSE(images.isEmpty());
    EXPECT_EQ(exportFilters(), "PDF Documents (*.pdf);;SVG Documents (*.svg);;Postscript Documents (*.ps);;"
                               "Images ("
                                   + images.join(' ') + ");;Text Files (*.txt)");
    EXPECT_EQ(exportPageSizeMm(QSize(500, 400), 96), QSizeF(127.0, 101.6));
    EXPECT_EQ(exportPageSizeMm(QSize(520, 400), 96), QSizeF(127.0, 101.6)); // whole inches only
    EXPECT_EQ(exportPageSizeMm(QSize(500, 400), 120), QSizeF(101.6, 76.2));
}

TEST_F(ResultWindowTest, ExportsDocumentsImagesAndTextByTheNamesSuffix)
{
    transverseRun();
    Result_wnd w(nullptr, nullptr);
    w.SetType(false);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTemporaryDir out;

    struct Case {
        const char *name;
        QByteArray magic;
    };
    const Case cases[] = {{"field.pdf", "%PDF-"},
                          {"field.svg", "<?xml"},
                          {"field.ps", "%!PS-Adobe-3.0"},
                          {"field.png", "\x89PNG\r\n"},
                          {"field.txt", QString("Минимальное").toLocal8Bit()},
                          {"field.h5", QByteArray("\x89HDF\r\n\x1a\n", 8)}};
    for (const Case &c : cases) {
        const QString path = out.path() + "/" + c.name;
        answerSaveDialog(path);
        w.findChild<QPushButton *>("pushButton")->click();
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.caption, QString("Export File Name"));
        EXPECT_EQ(asked.dir, QString("result.pdf"));
        EXPECT_EQ(asked.filter, exportFilters(true));
        EXPECT_EQ(head(path, c.magic.size()), c.magic) << c.name;
    }
    EXPECT_TRUE(testsupport::readAll(out.path() + "/field.svg").contains("<svg"));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty()); // success is silent

    // A 300-dpi page of the plot's whole inches.
    const QSizeF page = exportPageSizeMm(w.findChild<Plot *>("widget")->size(), 96);
    QImage png(out.path() + "/field.png");
    EXPECT_EQ(png.width(), qRound(page.width() / 25.4 * 300));
    EXPECT_EQ(png.height(), qRound(page.height() / 25.4 * 300));
    const QByteArray ps = testsupport::readAll(out.path() + "/field.ps");
    EXPECT_TRUE(ps.contains("%%BoundingBox: 0 0 " + QByteArray::number(int(page.width() / 25.4 * 72))));
    EXPECT_TRUE(ps.trimmed().endsWith("%%EOF"));

    // Text export: the plot's arrays in centimetres, as write_z lays them out.
    const QStringList lines = QString::fromLocal8Bit(testsupport::readAll(out.path() + "/field.txt")).split('\n');
    ASSERT_EQ(lines.size(), 8 + 25 + 1);
    EXPECT_TRUE(lines[0].endsWith(": -0.200000"));
    EXPECT_EQ(lines[8], QString("-0.200000    -0.200000    0.780000"));

    // An existing file is replaced without a question.
    answerSaveDialog(out.path() + "/field.pdf");
    testsupport::writeAll(out.path() + "/field.pdf", "old");
    w.exportDocument();
    EXPECT_EQ(head(out.path() + "/field.pdf", 5), QByteArray("%PDF-"));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());

    // A name without a suffix takes the chosen filter's.
    answerSaveDialog(out.path() + "/noext", "PDF Documents (*.pdf)");
    w.exportDocument();
    EXPECT_EQ(head(out.path() + "/noext.pdf", 5), QByteArray("%PDF-"));
    answerSaveDialog(out.path() + "/noext", "Text Files (*.txt)");
    w.exportDocument();
    EXPECT_EQ(testsupport::readAll(out.path() + "/noext.txt"), testsupport::readAll(out.path() + "/field.txt"));
    EXPECT_EQ(withFilterSuffix("a.b/noext", "Images (*.bmp *.png)"), QString("a.b/noext.png"));
    EXPECT_EQ(withFilterSuffix("field.svg", "PDF Documents (*.pdf)"), QString("field.svg"));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());

    // Cancelling writes nothing and says nothing.
    answerSaveDialog(QString());
    w.exportDocument();
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
}

// The HDF5 export read back by h5py: the plot's values and axes (in m) and the session's parameters.
TEST_F(ResultWindowTest, Hdf5ExportReadsBackWithH5py)
{
    transverseRun();
    shared::A = 0.17;
    shared::nu = 1.1e6;
    shared::xF = 0.001;
    shared::yF = -0.002;
    shared::zF = 0.125;
    shared::name = "/data/Массив элементов.txt";
    shared::Elem = {{0.01, -0.02}, {-0.03, 0.04}};
    Result_wnd w(nullptr, nullptr);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTemporaryDir out;
    answerSaveDialog(out.path() + "/field", "HDF5 Files (*.h5)");
    w.exportDocument();
    ASSERT_TRUE(BoxRecorder::instance().boxes().isEmpty());

    // What the file must hold, as JSON (every double written to round-trip exactly).
    const VDOUB3 z = w.findChild<Plot *>("widget")->GetZ();
    QJsonArray values, x, y, elements;
    for (const VDOUB &row : z[2])
        values.append(QJsonArray::fromVariantList(QVariantList(row.begin(), row.end())));
    for (const VDOUB &row : z[0])
        x.append(row[0] / 100);
    for (double v : z[1][0])
        y.append(v / 100);
    for (const VDOUB &e : shared::Elem)
        elements.append(QJsonArray{e[0], e[1]});
    QJsonObject attributes;
    for (const auto &a : sessionAttributes())
        attributes[a.first] = QJsonValue::fromVariant(a.second);
    EXPECT_EQ(attributes["elements_file"].toString(), shared::name);
    EXPECT_EQ(attributes["frequency_Hz"].toDouble(), 1.1e6);
    const QJsonObject expected{
        {"values", values}, {"x", x}, {"y", y}, {"elements", elements}, {"attributes", attributes}};
    testsupport::writeAll(out.path() + "/expected.json", QJsonDocument(expected).toJson());

    QProcess python;
    python.start(KORMAX_PYTHON, {QString(KORMAX_SOURCE_DIR) + "/tests/python/check_hdf5_export.py",
                                 out.path() + "/field.h5", out.path() + "/expected.json"});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}

TEST_F(ResultWindowTest, AnExportThatCannotBeWrittenIsReported)
{
    transverseRun();
    Result_wnd w(nullptr, nullptr);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTemporaryDir out;
    QStringList failing = {out.path() + "/missing/field.pdf", out.path() + "/missing/field.svg",
                           out.path() + "/missing/field.ps",  out.path() + "/missing/field.png",
                           out.path() + "/missing/field.txt", out.path() + "/missing/field.h5",
                           out.path() + "/field.xyz"};
    if (geteuid() != 0) { // permissions do not stop root
        QDir(out.path()).mkdir("ro");
        QFile::setPermissions(out.path() + "/ro", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        failing << out.path() + "/ro/field.pdf" << out.path() + "/ro/field.txt" << out.path() + "/ro/field.h5";
    }
    for (const QString &path : failing) {
        BoxRecorder::instance().clear();
        answerSaveDialog(path);
        w.exportDocument();
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1) << path.toStdString();
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
        EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, "Не удалось сохранить файл: " + path);
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(ResultWindowTest, PlaneWindowResultButtonsOpenResultWindowsBesideIt)
{
    planetest::resetShared();
    shared::initpres = 1e5;
    transverseRun();
    plane_ch_wnd plane;
    plane.show();
    planetest::fillTransverse(&plane);
    const QList<Result_wnd *> before = testsupport::openResultWindows();

    // Without the calculator's marker nothing opens.
    QFile::remove(app.file("calc/calcdone"));
    planetest::button(&plane, "pushButton_6")->setEnabled(true);
    planetest::button(&plane, "pushButton_6")->click();
    EXPECT_EQ(testsupport::openResultWindows(), before);
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    BoxRecorder::instance().clear();

    testsupport::writeAll(app.file("calc/calcdone"), "");
    planetest::combo(&plane, "comboBox")->setCurrentIndex(1);
    planetest::button(&plane, "pushButton_6")->setEnabled(true);
    planetest::button(&plane, "pushButton_6")->click();
    QList<Result_wnd *> now = testsupport::openResultWindows();
    ASSERT_EQ(now.size(), before.size() + 1);
    QPointer<Result_wnd> w = now.last();
    EXPECT_TRUE(shared::is_press);
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_GE(w->geometry().x(), 100);
    EXPECT_LT(w->geometry().x(), 110);
    EXPECT_GE(w->geometry().y(), 100);
    EXPECT_LT(w->geometry().y(), 110);
    EXPECT_EQ(w->size(), QSize(535, 593));
    EXPECT_EQ(w->findChild<QLabel *>("Focus_Label")->text(), QString("Фокус: x= 0 см, y= 0 см, z= 13 см."));
    // The plane as entered: 25 points per side at 1 mm.
    EXPECT_TRUE(w->parameterText().startsWith("z<sub>0</sub> = 13 см<br />x<sub>min</sub> = -2.4 см"))
        << w->parameterText().toStdString();
    EXPECT_TRUE(w->parameterText().endsWith("<br />Среда: вода, поглощение 0 дБ/(см·МГц)"));
    EXPECT_EQ(w->findChild<Plot *>("widget")->title().text(), QString("Давление в фокусе, МПа"));
    EXPECT_NEAR(w->findChild<Plot *>("widget")->GetZ()[2][2][2], 0.1, 1e-12);
    EXPECT_TRUE(plane.isVisible()); // the plane window stays

    // Closing the result window (Yes) destroys only it.
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    testsupport::closeByUser(w);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(testsupport::openResultWindows(), before);

    // The axial tab: twice as wide, the axial parameter list, z along the horizontal axis.
    axialRun();
    planetest::tabs(&plane)->setCurrentIndex(1);
    planetest::fillAxial(&plane);
    planetest::combo(&plane, "comboBox_2")->setCurrentIndex(3);
    planetest::button(&plane, "pushButton_5")->setEnabled(true);
    planetest::button(&plane, "pushButton_5")->click();
    now = testsupport::openResultWindows();
    ASSERT_EQ(now.size(), before.size() + 1);
    QPointer<Result_wnd> axial = now.last();
    EXPECT_TRUE(shared::is_dl_intens);
    EXPECT_EQ(axial->size(), QSize(1070, 593));
    EXPECT_TRUE(axial->parameterText().startsWith(
        "z<sub>min</sub> = 5 см<br />&phi; = 90&deg;<br />N<sub>z</sub> = 11<br />N<sub>r</sub> = 6"))
        << axial->parameterText().toStdString();
    EXPECT_TRUE(axial->findChild<QLabel *>("Focus_Label")->text().startsWith("Фокус: x= 1 см"));
    EXPECT_EQ(axial->findChild<Plot *>("widget")->axisTitle(QwtPlot::xBottom).text(), QString("z, см"));
    testsupport::closeByUser(axial);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(axial.isNull());
}

namespace {
// The image samples of a PostScript file written by writePostScriptImage.
QByteArray postScriptSamples(const QByteArray &ps)
{
    const int start = ps.indexOf(">> image\n") + 9;
    const int end = ps.indexOf("~>", start);
    QByteArray deflated;
    quint32 word = 0;
    int count = 0;
    for (int i = start; i < end; ++i) {
        const char ch = ps[i];
        if (ch == 'z' && count == 0) {
            deflated.append(4, '\0');
            continue;
        }
        if (ch < '!' || ch > 'u')
            continue; // line breaks and spaces
        word = word * 85 + quint32(ch - '!');
        if (++count == 5) {
            for (int k = 3; k >= 0; --k)
                deflated.append(char((word >> (8 * k)) & 0xff));
            word = 0;
            count = 0;
        }
    }
    if (count > 0) { // a final group of n bytes is n + 1 digits padded with 'u'
        const int n = count - 1;
        for (int k = count; k < 5; ++k)
            word = word * 85 + 84;
        for (int k = 0; k < n; ++k)
            deflated.append(char((word >> (8 * (3 - k))) & 0xff));
    }
    // qUncompress wants the expected length in front of the zlib stream.
    QByteArray sized(4, '\0');
    const quint32 big = 64u * 1024 * 1024;
    for (int k = 0; k < 4; ++k)
        sized[k] = char((big >> (8 * (3 - k))) & 0xff);
    return qUncompress(sized + deflated);
}
} // namespace

TEST(PostScriptExport, ImageSamplesSurviveTheRoundTrip)
{
    QTemporaryDir dir;
    // Odd sizes leave a partial last group; black rows give all-zero groups.
    for (const QSize size : {QSize(3, 2), QSize(7, 5), QSize(40, 30)}) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::black);
        for (int y = 0; y < size.height(); y += 2)
            for (int x = 0; x < size.width(); ++x)
                image.setPixelColor(x, y, QColor((x * 37) % 256, (y * 91) % 256, (x * y) % 256));
        const QString path = dir.path() + "/image.ps";
        ASSERT_TRUE(writePostScriptImage(image, path, QSizeF(72, 36), "Давление"));
        const QByteArray ps = testsupport::readAll(path);
        EXPECT_TRUE(ps.startsWith("%!PS-Adobe-3.0\n"));
        EXPECT_TRUE(ps.contains("%%BoundingBox: 0 0 72 36\n"));
        for (const QByteArray &line : ps.split('\n'))
            EXPECT_LE(line.size(), 255);
        const QByteArray samples = postScriptSamples(ps);
        ASSERT_EQ(samples.size(), size.width() * size.height() * 3);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const int k = 3 * (y * size.width() + x);
                const QColor expected = image.pixelColor(x, y);
                EXPECT_EQ(QColor(uchar(samples[k]), uchar(samples[k + 1]), uchar(samples[k + 2])), expected)
                    << x << "," << y;
            }
    }
    EXPECT_FALSE(writePostScriptImage(QImage(), dir.path() + "/empty.ps", QSizeF(72, 72), "x"));
}

TEST_F(ResultWindowTest, AMissingResultFileShowsAnEmptyFieldWithoutFailing)
{
    transverseRun();
    QFile::remove(shared::file_to_calc);
    Result_wnd w(nullptr, nullptr);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage shot = w.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    const VDOUB3 z = w.findChild<Plot *>("widget")->GetZ();
    ASSERT_EQ(z[2].size(), 5u);
    EXPECT_EQ(z[2][4][4], 0.0);
}
