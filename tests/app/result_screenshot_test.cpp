// A synthetic focused field in both planes, written in the calculator's layout and shown in result
// windows: on screen the focus must come out in the top colours and the surroundings in the bottom
// ones. With KORMAX_EXPORT_DIR set the transverse plot is also exported there in every document
// format, for looking at the exports by eye.
#include <gtest/gtest.h>

#include <QImage>
#include <QtTest/QTest>
#include <qwt_plot_canvas.h>

#include "field_fixture.h"
#include "plane_fields.h"
#include "plot.h"
#include "plot_export.h"
#include "result_wnd.h"
#include "test_support.h"

namespace {
const double A = 0.1, F = 0.13, nu = 1e6, c = 1500, gain = 40;

double field(double x, double y, double z)
{
    return fieldfixture::focusedField(x, y, z, A, F, nu, c, gain);
}

// Colour of the window's pixel at a plot position.
QColor colourAt(const QImage &shot, Result_wnd &w, double x, double y)
{
    Plot *plot = w.findChild<Plot *>("widget");
    QWidget *canvas = plot->canvas();
    const QPoint onCanvas(qRound(plot->transform(QwtPlot::xBottom, x)),
                          qRound(plot->transform(QwtPlot::yLeft, y)));
    return shot.pixelColor(canvas->mapTo(&w, onCanvas));
}

class ResultScreenshot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        shared::initpres = 1e5;
        shared::ro = 1000;
        shared::c = c;
        planefields::setResultType(0);
    }
    void TearDown() override { platform::setScreenOverride(0, QRect()); }

    testsupport::TempAppDir app;
};
} // namespace

TEST_F(ResultScreenshot, TransverseFocusInTheTopColours)
{
    fieldfixture::setTransverseRun(app.path(), 51, 51, 0.000333, 0.000333, F);
    fieldfixture::writeTransverse(shared::file_to_calc, 101, 101, 0.000333, 0.000333,
                                  [](double x, double y) { return field(x, y, F); });
    Result_wnd w(nullptr, nullptr);
    w.SetType(false);
    w.SetData(0, 0, 0, 0, 0, 0, F, 50 * 0.000333, 50 * 0.000333, 51, 51, 0.000333, 0.000333);
    w.Axes_Title(shared::file_to_calc, 0, 0, 13);
    w.move(0, 0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage shot = w.grab().toImage();

    const QColor focus = colourAt(shot, w, 0.01, 0.01);
    EXPECT_GT(focus.red(), 100);
    EXPECT_LT(focus.blue(), 50);
    const QColor edge = colourAt(shot, w, -1.5, 1.5);
    EXPECT_LT(edge.red(), 50);
    EXPECT_GT(edge.blue(), 120);

    const QString exportDir = qEnvironmentVariable("KORMAX_EXPORT_DIR");
    if (!exportDir.isEmpty()) {
        Plot *plot = w.findChild<Plot *>("widget");
        const QSizeF page = exportPageSizeMm(plot->size(), 96);
        for (const char *suffix : {"pdf", "svg", "ps", "png"})
            EXPECT_TRUE(renderPlotDocument(plot, exportDir + "/result." + suffix, page, 300));
    }
}

TEST_F(ResultScreenshot, AxialFocalZoneInTheTopColours)
{
    const double zmin = F / 2, dz = F / 240, dr = 0.000333;
    fieldfixture::setAxialRun(app.path(), 241, 51, zmin, dz, dr);
    fieldfixture::writeAxial(shared::file_to_calc, 241, 101, zmin, dz, dr,
                             [](double z, double r) { return field(r, 0, z); });
    Result_wnd w(nullptr, nullptr);
    w.SetType(true);
    w.SetData(zmin, 0, 241, 51, dr, dz, 0, 0, 0, 0, 0, 0, 0);
    w.Axes_Title(shared::file_to_calc, 0, 0, 13);
    w.move(0, 0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.width(), 1070);
    const QImage shot = w.grab().toImage();

    const QColor focus = colourAt(shot, w, 13.0, 0.01);
    EXPECT_GT(focus.red(), 100);
    EXPECT_LT(focus.blue(), 50);
    const QColor nearArray = colourAt(shot, w, 7.0, 1.5);
    EXPECT_LT(nearArray.red(), 50);
    EXPECT_GT(nearArray.blue(), 120);
}
