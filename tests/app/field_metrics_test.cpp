// Readings of a field on fields whose answers are known: a Gaussian spot, the analytic on-axis field
// of a piston, a spot with a side lobe of known level, a plane that misses the focus.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <qwt_scale_widget.h>
#include <cmath>
#include <functional>

#include "field_metrics.h"
#include "form_fields.h"
#include "platform.h"
#include "plot_main_max.h"
#include "profile_wnd.h"
#include "test_support.h"

namespace {

// A regular grid x0..x1 (ni points) by y0..y1 (nj points) with values f(x, y).
VDOUB3 makeField(double x0, double x1, int ni, double y0, double y1, int nj,
                 const std::function<double(double, double)> &f)
{
    VDOUB3 z(3, VDOUB2(ni, VDOUB(nj)));
    for (int i = 0; i < ni; ++i)
        for (int j = 0; j < nj; ++j) {
            const double x = x0 + (x1 - x0) * i / (ni - 1), y = y0 + (y1 - y0) * j / (nj - 1);
            z[0][i][j] = x;
            z[1][i][j] = y;
            z[2][i][j] = f(x, y);
        }
    return z;
}

double gaussian(double x, double y, double sx, double sy)
{
    return std::exp(-x * x / (2 * sx * sx) - y * y / (2 * sy * sy));
}

// Full width of exp(-x^2 / 2 s^2) at the fraction f of its peak.
double gaussianWidth(double s, double f)
{
    return 2 * s * std::sqrt(-2 * std::log(f));
}

} // namespace

TEST(FieldMetrics, DecibelsFloorAndFactor)
{
    EXPECT_NEAR(toDecibels(0.1, 1.0, 20, -40), -20.0, 1e-12);
    EXPECT_NEAR(toDecibels(0.1, 1.0, 10, -40), -10.0, 1e-12);
    EXPECT_DOUBLE_EQ(toDecibels(1e-3, 1.0, 20, -40), -40.0); // -60 dB cut at the floor
    EXPECT_DOUBLE_EQ(toDecibels(0.0, 1.0, 20, -40), -40.0);
    EXPECT_DOUBLE_EQ(toDecibels(NAN, 1.0, 20, -40), -40.0);
    EXPECT_DOUBLE_EQ(toDecibels(1.0, 0.0, 20, -40), -40.0);
    // -6 dB is the same fraction of the pressure whether read as pressure or as intensity.
    EXPECT_NEAR(std::sqrt(levelFraction(-6, 10)), levelFraction(-6, 20), 1e-12);
    const VDOUB3 db =
        fieldInDecibels(makeField(0, 1, 2, 0, 1, 2, [](double x, double) { return x > 0 ? 2.0 : 0.2; }), 2.0, 20, -40);
    EXPECT_NEAR(db[2][0][0], -20.0, 1e-12);
    EXPECT_NEAR(db[2][1][1], 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(db[0][1][0], 1.0); // coordinates kept

    QList<double> levels;
    EXPECT_TRUE(parseDecibelLevels(" -3, -6;-20.5 ", &levels));
    EXPECT_EQ(levels, QList<double>({-3, -6, -20.5}));
    for (const char *bad : {"", "3", "-3 0", "-3 x", "-3,5a"})
        EXPECT_FALSE(parseDecibelLevels(bad, &levels)) << bad;
}

TEST(FieldMetrics, GaussianSpotHasItsWidthsAndNoSideLobe)
{
    const double sx = 0.1, sy = 0.25; // cm
    const VDOUB3 z = makeField(-1.2, 1.6, 281, -1.5, 1.5, 151,
                               [&](double x, double y) { return 3.0 * gaussian(x - 0.2, y, sx, sy); });
    const FieldMetrics m = fieldMetrics(z, 20);
    ASSERT_TRUE(m.peak.found);
    EXPECT_NEAR(m.peak.x, 0.2, 1e-9);
    EXPECT_NEAR(m.peak.y, 0.0, 1e-9);
    EXPECT_NEAR(m.peak.value, 3.0, 1e-9);
    ASSERT_TRUE(m.x3.found && m.y3.found && m.x6.found && m.y6.found);
    EXPECT_NEAR(m.x3.width(), gaussianWidth(sx, levelFraction(-3, 20)), 0.005 * sx);
    EXPECT_NEAR(m.x6.width(), gaussianWidth(sx, levelFraction(-6, 20)), 0.005 * sx);
    EXPECT_NEAR(m.y6.width(), gaussianWidth(sy, levelFraction(-6, 20)), 0.005 * sy);
    EXPECT_NEAR((m.x6.low + m.x6.high) / 2, 0.2, 1e-6);
    // As intensity (values squared, 10 log10) the widths stay the same.
    const VDOUB3 zi = makeField(-1.2, 1.6, 281, -1.5, 1.5, 151,
                                [&](double x, double y) { return std::pow(gaussian(x - 0.2, y, sx, sy), 2); });
    EXPECT_NEAR(fieldMetrics(zi, 10).x6.width(), gaussianWidth(sx, levelFraction(-6, 20)), 0.005 * sx);
    EXPECT_FALSE(m.secondary.found);

    // A spot wider than the grid has no width along that axis.
    const VDOUB3 wide =
        makeField(-0.1, 0.1, 21, -1, 1, 21, [&](double x, double y) { return gaussian(x, y, 1.0, 0.1); });
    const FieldMetrics w = fieldMetrics(wide, 20);
    EXPECT_FALSE(w.x3.found);
    EXPECT_TRUE(w.y3.found);
    EXPECT_TRUE(fieldMetricsText(w, MetricsContext()).contains("по x за пределами сетки"));
}

TEST(FieldMetrics, PistonOnAxisFieldPeaksAtItsLastMaximum)
{
    // |p|/p0 = 2 |sin(k/2 (sqrt(z^2 + a^2) - z))| along the axis of a piston of radius a; the last
    // maximum is where sqrt(z^2 + a^2) - z = lambda/2, a level L is crossed where it equals d with
    // k d / 2 = asin(L / 2): z = (a^2 - d^2) / (2 d).
    const double lambda = 0.15, a = 1.0, k = 2 * M_PI / lambda; // cm
    const double zLast = (a * a - lambda * lambda / 4) / lambda;
    const VDOUB3 z = makeField(0.6 * zLast, 4 * zLast, 1201, -0.1, 0.1, 3, [&](double x, double) {
        return 2 * std::abs(std::sin(k / 2 * (std::sqrt(x * x + a * a) - x)));
    });
    const FieldMetrics m = fieldMetrics(z, 20);
    EXPECT_NEAR(m.peak.x, zLast, z[0][1][0] - z[0][0][0]);
    EXPECT_NEAR(m.peak.value, 2.0, 1e-4);
    auto zAt = [&](double d) { return (a * a - d * d) / (2 * d); };
    const double level = levelFraction(-3, 20) * m.peak.value;
    const double s = std::asin(level / 2);
    // Beyond the maximum d shrinks towards 0 (s), before it d grows towards lambda (pi - s).
    const double far = zAt(2 * s / k), near = zAt(2 * (M_PI - s) / k);
    EXPECT_NEAR(m.x3.high, far, 0.01);
    EXPECT_NEAR(m.x3.low, near, 0.01);
    EXPECT_FALSE(m.secondary.found); // the field falls monotonically on both sides
}

TEST(FieldMetrics, SideLobeOfKnownLevelOutsideTheMainLobe)
{
    // Main spot at the origin, a lobe of a tenth of it (-20 dB) at (2, -1).
    const VDOUB3 z = makeField(-4, 4, 161, -3, 3, 121, [&](double x, double y) {
        return gaussian(x, y, 0.3, 0.3) + 0.1 * gaussian(x - 2, y + 1, 0.2, 0.2);
    });
    const FieldMetrics m = fieldMetrics(z, 20);
    ASSERT_TRUE(m.secondary.found);
    EXPECT_NEAR(m.secondary.x, 2.0, 1e-9);
    EXPECT_NEAR(m.secondary.y, -1.0, 1e-9);
    EXPECT_NEAR(m.secondaryDb, -20.0, 0.01);
    // The same field as intensity: the lobe is -20 dB again.
    const VDOUB3 zi = fieldInDecibels(z, 1.0, 20, -200);
    VDOUB3 intensity = z;
    for (auto &row : intensity[2])
        for (double &v : row)
            v *= v;
    EXPECT_NEAR(fieldMetrics(intensity, 10).secondaryDb, -20.0, 0.01);
    EXPECT_NEAR(zi[2][m.secondary.i][m.secondary.j], -20.0, 0.01);

    const QString text = fieldMetricsText(m, MetricsContext());
    EXPECT_TRUE(text.contains("Наибольший побочный максимум: 0.1")) << text.toStdString();
    EXPECT_TRUE(text.contains("(-20.0 дБ) в точке x = 2.000 см, y = -1.000 см")) << text.toStdString();
}

TEST(FieldMetrics, PlaneThatMissesTheFocus)
{
    const VDOUB3 z =
        makeField(6.5, 19.5, 27, -2.8, 2.8, 15, [&](double x, double y) { return gaussian(x - 13, y, 1, 0.2); });
    const FocusPlacement in = focusPlacement(z, 13, 0, 0);
    EXPECT_TRUE(in.inPlane && in.onGrid);
    const FocusPlacement off = focusPlacement(z, 13, 0.5, -0.866);
    EXPECT_FALSE(off.inPlane);
    EXPECT_TRUE(off.onGrid);
    EXPECT_NEAR(off.distance, 0.866, 1e-12);
    const FocusPlacement outside = focusPlacement(z, 25, 0, 0);
    EXPECT_FALSE(outside.onGrid);

    // Focus at x = 1 cm, axial plane at 30 degrees: the plane passes 0.866 cm from it.
    shared::xF = 0.01;
    shared::yF = 0;
    shared::zF = 0.13;
    shared::phipr = 30;
    const FocusPlacement turned = currentFocusPlacement(z, true);
    EXPECT_NEAR(turned.distance, 0.866, 1e-3);
    EXPECT_NEAR(turned.v, 0.5, 1e-3);
    EXPECT_NEAR(turned.u, 13, 1e-9);

    MetricsContext context;
    context.xName = "z";
    context.yName = "r";
    context.haveFocus = true;
    context.focus = turned;
    context.haveGain = true;
    context.gain = 43.6;
    context.normalisedPeak = 6.3;
    const QString text = fieldMetricsText(fieldMetrics(z, 20), context);
    EXPECT_TRUE(text.contains("Плоскость не содержит фокус: расстояние от фокуса до плоскости 0.866 см"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Усиление |p(F)|/p0: 43.60"));
    // The plane's maximum is not the focal spot's: no steering loss is made of it.
    EXPECT_TRUE(text.contains("Потери при отклонении не определены: плоскость не проходит через фокус"))
        << text.toStdString();
    EXPECT_FALSE(text.contains("-16.80")) << text.toStdString();
    context.focus = in;
    EXPECT_TRUE(fieldMetricsText(fieldMetrics(z, 20), context).contains("|p(F)|): -16.80 дБ"));
    // The turn through the focus: 90 degrees for a focus on the x axis, within (-90, 90] always.
    const double angles[][3] = {{0.01, 0, 90}, {-0.01, 0, 90},   {0, 0.01, 0},
                                {0, -0.01, 0}, {0.01, 0.01, 45}, {-0.01, 0.01, -45}};
    for (const auto &a : angles) {
        EXPECT_NEAR(axialAngleThrough(a[0], a[1]), a[2], 1e-9) << a[0] << " " << a[1];
        shared::xF = a[0];
        shared::yF = a[1];
        shared::phipr = std::stod(formfields::fieldText(a[2]).toStdString());
        EXPECT_TRUE(currentFocusPlacement(z, true).inPlane) << a[0] << " " << a[1];
    }
    context.focus = outside;
    EXPECT_TRUE(fieldMetricsText(fieldMetrics(z, 20), context).contains("Фокус вне сетки расчета"));
}

TEST(FieldMetrics, FocusPressureFile)
{
    testsupport::TempAppDir app;
    double gain = 0;
    EXPECT_FALSE(readFocusPressure(app.file("calc/focus_pressure.txt"), &gain));
    testsupport::writeAll(app.file("calc/focus_pressure.txt"), "50.4312\n");
    ASSERT_TRUE(readFocusPressure(app.file("calc/focus_pressure.txt"), &gain));
    EXPECT_DOUBLE_EQ(gain, 50.4312);
    testsupport::writeAll(app.file("calc/focus_pressure.txt"), "nan\n");
    EXPECT_FALSE(readFocusPressure(app.file("calc/focus_pressure.txt"), &gain));
}

TEST(FieldMetrics, ProfilesThroughThePeakAndTheirTextExport)
{
    const VDOUB3 z =
        makeField(-1, 1, 3, 0, 2, 3, [](double x, double y) { return x == 0 && y == 1 ? 10.0 : (y == 1 ? 1.0 : 0.1); });
    ProfileSetup setup;
    const ProfilePair linear = profilesThrough(z, 1, 1, false, 20, -40);
    EXPECT_EQ(linear.alongX.value, VDOUB({1.0, 10.0, 1.0}));
    EXPECT_EQ(linear.alongY.coord, VDOUB({0.0, 1.0, 2.0}));
    const ProfilePair db = profilesThrough(z, 1, 1, true, 20, -40);
    EXPECT_NEAR(db.alongX.value[0], -20.0, 1e-12);
    EXPECT_NEAR(db.alongY.value[0], -40.0, 1e-12); // -40 dB: at the floor
    EXPECT_NEAR(db.alongY.value[1], 0.0, 1e-12);
    EXPECT_EQ(nearestIndex(linear.alongY.coord, 1.4), 1);

    // Exported from the window as text: both lines, in the scale shown.
    testsupport::TempAppDir app;
    const QString path = app.file("profiles.txt");
    platform::setFileDialogHandler([path](const platform::FileDialog &) { return path; });
    ProfileWnd w(z, setup);
    w.setDecibels(true);
    w.exportDocument();
    testsupport::installDefaultHooks();
    const QStringList lines = QString::fromLocal8Bit(testsupport::readAll(path)).split('\n');
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], "Профиль вдоль x через точку x = 0.000000 см, y = 1.000000 см");
    EXPECT_EQ(lines[1], "x, см    значение, дБ");
    EXPECT_EQ(lines[2], "-1.000000    -20.000000");
    EXPECT_EQ(lines[6], "Профиль вдоль y через точку x = 0.000000 см, y = 1.000000 см");
    EXPECT_EQ(lines[8], "0.000000    -40.000000");

    // And as a picture, like the field plots.
    const QString png = app.file("profiles.png");
    platform::setFileDialogHandler([png](const platform::FileDialog &) { return png; });
    w.exportDocument();
    testsupport::installDefaultHooks();
    EXPECT_FALSE(QImage(png).isNull());
}

TEST(FieldMetrics, QualityMapInDecibelsOfItsRatios)
{
    // Side-maxima ratios p_side/p_F in metres: 0.1 (-20 dB) everywhere but 0.5 at one point.
    VDOUB3 scan =
        makeField(-0.01, 0.01, 5, -0.01, 0.01, 5, [](double x, double y) { return x == 0 && y == 0 ? 0.5 : 0.1; });
    Plot_main_max plot(scan, true, false, {0.2, 0.3});
    plot.setDecibelScale(true, -30);
    const QwtInterval bar = plot.axisWidget(QwtPlot::yRight)->colorBarInterval();
    EXPECT_DOUBLE_EQ(bar.minValue(), -30.0);
    EXPECT_DOUBLE_EQ(bar.maxValue(), 0.0);
    EXPECT_NEAR(plot.spectrogram()->data()->value(-0.5, -0.5), -20.0, 1e-9);
    ASSERT_EQ(plot.spectrogram()->contourLevels().size(), 2);
    EXPECT_NEAR(plot.spectrogram()->contourLevels()[0], 20 * std::log10(0.2), 1e-9);
    EXPECT_NEAR(plot.GetZ()[2][2][2], 0.5, 1e-12); // the export stays linear
    plot.setDecibelScale(false, -30);
    EXPECT_NEAR(plot.spectrogram()->data()->value(-0.5, -0.5), 0.1, 1e-9);
    EXPECT_EQ(plot.spectrogram()->contourLevels(), QList<double>({0.2, 0.3}));
}
