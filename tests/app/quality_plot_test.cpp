// Labelled contour lines and the quality plots: where labels go and how they turn, the quality
// values and ranges the plots draw, and the trackers.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <qwt_plot_canvas.h>
#include <qwt_scale_map.h>
#include <qwt_scale_widget.h>

#include "LabelledSpectrogram.h"
#include "plot_main_and_side.h"
#include "plot_export.h"
#include "plot_main_max.h"
#include "recording_device.h"

using testsupport::RecordingDevice;

namespace {
// Pixels equal plot units, so anchors can be read off directly.
QwtScaleMap identityMap()
{
    QwtScaleMap m;
    m.setPaintInterval(0, 1000);
    m.setScaleInterval(0, 1000);
    return m;
}

// A closed contour of n/2 segments around (cx, cy), anticlockwise from angle 0, as Qwt delivers
// it: every segment as its own pair of points.
QPolygonF circle(int n, double cx, double cy, double radius)
{
    QPolygonF p;
    const int segments = n / 2;
    for (int k = 0; k < segments; ++k) {
        const double a = 2 * M_PI * k / segments, b = 2 * M_PI * (k + 1) / segments;
        p << QPointF(cx + radius * std::cos(a), cy + radius * std::sin(a))
          << QPointF(cx + radius * std::cos(b), cy + radius * std::sin(b));
    }
    return p;
}

// Where the text of a recorded label was anchored (the point the painter was translated to
// before turning), and by how many degrees it was turned.
QPointF anchorOf(const RecordingDevice::Text &t, const QFont &font)
{
    const QRect r = QFontMetrics(font).boundingRect(t.text);
    return t.transform.map(QPointF(r.width() / 2, -(r.height() / 3)));
}
double turnOf(const RecordingDevice::Text &t)
{
    return std::atan2(t.transform.m12(), t.transform.m11()) * 180 / M_PI;
}

QVector<RecordingDevice::Text> drawLevel(LabelledSpectrogram &item, const QPolygonF &lines, unsigned int placement)
{
    item.setContourLevels({0.5});
    item.setDefaultContourPen(QPen(Qt::black));
    item.setLabelPlacement(placement);
    // A device with the screen's resolution, as the plot's canvas has.
    RecordingDevice device(QSize(1000, 1000), item.plot()->logicalDpiY());
    QPainter painter(&device);
    QMap<double, QPolygonF> map;
    map.insert(0.5, lines);
    item.drawContourLines(&painter, identityMap(), identityMap(), map);
    painter.end();
    return device.texts();
}

const QFont labelFont("Helvetica", 8, QFont::Bold);
} // namespace

TEST(LabelledSpectrogram, EvenlySpacedLabelsAndTheLeftmostPoint)
{
    QwtPlot plot; // the labels take the canvas background from it
    LabelledSpectrogram item;
    item.attach(&plot);
    EXPECT_EQ(item.getLabelPlacement(), unsigned(LabelledSpectrogram::AT_MAX_Y));

    // 1000 points: step 500 / 2 = 250, labels at the segments starting at points 250 and 750,
    // then the leftmost segment start (point 500, angle pi).
    const QPolygonF c = circle(1000, 500, 500, 200);
    QVector<RecordingDevice::Text> d =
        drawLevel(item, c, LabelledSpectrogram::N_PER_LEVEL | LabelledSpectrogram::AT_MIN_X);
    ASSERT_EQ(d.size(), 3);
    const int expected[] = {250, 750, 500};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d[i].text, QString("0.5"));
        EXPECT_EQ(d[i].font.family(), QString("Helvetica"));
        EXPECT_EQ(d[i].font.pointSize(), 8);
        EXPECT_TRUE(d[i].font.bold());
        const QPointF a = anchorOf(d[i], labelFont);
        EXPECT_NEAR(a.x(), int(c[expected[i]].x()), 1e-6) << i;
        EXPECT_NEAR(a.y(), int(c[expected[i]].y()), 1e-6) << i;
    }
    // At the leftmost point the circle runs downwards (dy < 0, dx > 0 but tiny): turned by
    // about +90 degrees.
    EXPECT_NEAR(turnOf(d[2]), 90.0, 1.0);
    // At point 250 (the top) the circle runs right to left: the label stays upright.
    EXPECT_NEAR(turnOf(d[0]), 0.0, 1.0);

    // 300 points: step 75 made even 74, raised to 100; k = 100 only.
    QPolygonF line;
    for (int k = 0; k < 150; ++k)
        line << QPointF(100 + 4 * k, 300) << QPointF(104 + 4 * k, 300);
    d = drawLevel(item, line, LabelledSpectrogram::N_PER_LEVEL);
    ASSERT_EQ(d.size(), 1);
    EXPECT_NEAR(anchorOf(d[0], labelFont).x(), line[100].x(), 1e-6);
    EXPECT_NEAR(turnOf(d[0]), 0.0, 1e-9);

    // Fewer than 102 points: no evenly spaced label. No labels at all with NO_LABELS.
    EXPECT_TRUE(drawLevel(item, line.mid(0, 100), LabelledSpectrogram::N_PER_LEVEL).isEmpty());
    d = drawLevel(item, c, LabelledSpectrogram::NO_LABELS);
    EXPECT_TRUE(d.isEmpty());
}

TEST(LabelledSpectrogram, RightToLeftSegmentsAreTurnedUprightAndTheMarginIsSkipped)
{
    // Right to left on the level: -180 - 180 = -360, horizontal and upright.
    EXPECT_DOUBLE_EQ(contourLabelAngle(QPointF(1, 0), QPointF(0, 0)), -360.0);
    EXPECT_DOUBLE_EQ(contourLabelAngle(QPointF(0, 0), QPointF(1, 0)), 0.0);
    // Up to the left at 45 degrees: -135 - 180, i.e. the text rises to the right.
    EXPECT_DOUBLE_EQ(contourLabelAngle(QPointF(1, 0), QPointF(0, 1)), -315.0);

    QwtPlot plot;
    LabelledSpectrogram item;
    item.attach(&plot);
    QPolygonF lines;
    lines << QPointF(200, 400) << QPointF(100, 400); // right to left, leftmost inside the area
    lines << QPointF(5, 600) << QPointF(50, 650);    // further left, but in the 15-pixel margin
    lines << QPointF(300, 500) << QPointF(400, 500);
    QVector<RecordingDevice::Text> d =
        drawLevel(item, lines, LabelledSpectrogram::AT_MIN_X | LabelledSpectrogram::AT_MAX_X);
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(anchorOf(d[0], labelFont), QPointF(200, 400));
    EXPECT_NEAR(d[0].transform.m11(), 1.0, 1e-9); // not upside down
    EXPECT_NEAR(d[0].transform.m12(), 0.0, 1e-9);
    EXPECT_EQ(anchorOf(d[1], labelFont), QPointF(300, 500));

    // Two slots that find the same segment give two labels there.
    d = drawLevel(item, lines.mid(0, 2), LabelledSpectrogram::AT_MIN_Y | LabelledSpectrogram::AT_MAX_Y);
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(anchorOf(d[1], labelFont), QPointF(200, 400));
}

namespace {
// A scan in metres over an nx x ny grid from (x0, y0) with steps dx, dy, valued f(i, j).
VDOUB3 scan(int nx, int ny, double x0, double y0, double dx, double dy, const std::function<double(int, int)> &f)
{
    VDOUB3 z(3, VDOUB2(nx, VDOUB(ny)));
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            z[0][i][j] = x0 + i * dx;
            z[1][i][j] = y0 + j * dy;
            z[2][i][j] = f(i, j);
        }
    return z;
}

MyZoomer *zoomerOf(QwtPlot &plot)
{
    return dynamic_cast<MyZoomer *>(plot.canvas()->findChild<QwtPlotZoomer *>());
}
} // namespace

TEST(QualityPlots, IntensityRatiosAreSquaredWithTheirColourBar)
{
    shared::is_poper = true;
    shared::is_prodol = false;
    const VDOUB3 z = scan(3, 3, -0.01, -0.01, 0.01, 0.01, [](int i, int j) { return i == 1 && j == 1 ? 0.8 : 0.5; });

    Plot_main_max pressure(z, false, false, {0.9, 0.7, 0.5});
    EXPECT_EQ(pressure.title().text(), QString("p<sub>F</sub>/p<sub>max</sub>"));
    EXPECT_DOUBLE_EQ(pressure.GetZ()[2][0][0], 0.5);
    EXPECT_EQ(pressure.spectrogram()->contourLevels(), QList<double>({0.5, 0.7, 0.9})); // Qwt sorts them
    EXPECT_TRUE(pressure.spectrogram()->testDisplayMode(QwtPlotSpectrogram::ImageMode));
    EXPECT_TRUE(pressure.spectrogram()->testDisplayMode(QwtPlotSpectrogram::ContourMode));

    Plot_main_max intensity(z, true, true, {0.32});
    EXPECT_EQ(intensity.title().text(), QString("I<sub>side</sub>/I<sub>F</sub>"));
    const VDOUB3 shown = intensity.GetZ();
    EXPECT_DOUBLE_EQ(shown[2][0][0], 0.25);
    EXPECT_DOUBLE_EQ(shown[2][1][1], 0.64);
    EXPECT_DOUBLE_EQ(shown[0][2][0], 1.0); // centimetres
    EXPECT_TRUE(intensity.axisWidget(QwtPlot::yRight)->isColorBarEnabled());
    EXPECT_DOUBLE_EQ(intensity.axisScaleDiv(QwtPlot::yRight).upperBound(), 0.64);
    EXPECT_EQ(intensity.axisTitle(QwtPlot::xBottom).text(), QString("x, см"));
    EXPECT_EQ(qualityPlotTitle(false, true), QString("I<sub>F</sub>/I<sub>max</sub>"));
    EXPECT_EQ(qualityPlotTitle(true, false), QString("p<sub>side</sub>/p<sub>F</sub>"));

    // The tracker: position and the value with six decimals.
    const QString text = zoomerOf(intensity)->trackerTextF(QPointF(0, 0)).text();
    EXPECT_TRUE(text.endsWith(" (0.640000)")) << text.toStdString();
}

TEST(QualityPlots, CombinedPlotCoversTheOverlapAndTracksBothScans)
{
    shared::is_poper = false;
    shared::is_prodol = true;
    // Main x from -1 to 1 cm, side from -0.5 to 1.5 cm; y from -1 to 1 and 0 to 2 cm.
    const VDOUB3 main = scan(5, 5, -0.01, -0.01, 0.005, 0.005, [](int, int) { return 0.912; });
    const VDOUB3 side = scan(5, 5, -0.005, 0.0, 0.005, 0.005, [](int, int) { return 0.143; });
    Plot_Main_and_Side plot(main, side, false, {0.9}, {0.32, 0.2});

    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::xBottom).lowerBound(), -0.5);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::xBottom).upperBound(), 1.0);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yLeft).lowerBound(), 0.0);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yLeft).upperBound(), 1.0);
    EXPECT_FALSE(plot.axisEnabled(QwtPlot::yRight));
    EXPECT_EQ(plot.axisTitle(QwtPlot::xBottom).text(), QString("z, см"));
    EXPECT_EQ(plot.title().text(), QString("p<sub>F</sub>/p<sub>max</sub> для главных и p<sub>side</sub>/p<sub>F</sub> "
                                           "для побочных максимумов"));
    const QwtInterval y = plot.spectrogramSide()->data()->interval(Qt::YAxis);
    EXPECT_EQ(y.borderFlags(), QwtInterval::ExcludeBorders);
    EXPECT_DOUBLE_EQ(plot.spectrogramMain()->data()->interval(Qt::ZAxis).maxValue(), 0.912);

    // Lines only: main black width 2, side red width 3 on top.
    EXPECT_FALSE(plot.spectrogramMain()->testDisplayMode(QwtPlotSpectrogram::ImageMode));
    EXPECT_TRUE(plot.spectrogramSide()->testDisplayMode(QwtPlotSpectrogram::ContourMode));
    EXPECT_EQ(plot.spectrogramMain()->defaultContourPen(), QPen(QBrush(Qt::black), 2.0));
    EXPECT_EQ(plot.spectrogramSide()->defaultContourPen(), QPen(QBrush(Qt::red), 3.0));
    EXPECT_EQ(plot.spectrogramSide()->contourLevels(), QList<double>({0.2, 0.32}));
    const QwtPlotItemList items = plot.itemList(QwtPlotItem::Rtti_PlotSpectrogram);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1], plot.spectrogramSide());

    // Each scan keeps its own arrays.
    EXPECT_DOUBLE_EQ(plot.GetZ_main()[0][0][0], -1.0);
    EXPECT_DOUBLE_EQ(plot.GetZ_side()[0][0][0], -0.5);
    EXPECT_DOUBLE_EQ(plot.GetZ_side()[2][4][4], 0.143);

    MyZoomer *zoomer = zoomerOf(plot);
    ASSERT_NE(zoomer, nullptr);
    EXPECT_TRUE(zoomer->trackerTextF(QPointF(0.25, 0.25)).text().endsWith(" (M = 0.912000, S = 0.143000)"));
    // Outside the side grid (below y = 0) the side value is 0.
    EXPECT_TRUE(zoomer->trackerTextF(QPointF(0.25, -0.5)).text().endsWith(" (M = 0.912000, S = 0.000000)"));
    EXPECT_EQ(zoomer->trackerPen().color(), QColor(Qt::darkBlue));
}

TEST(LabelledSpectrogram, LabelsAreMovedJustInsideTheCanvas)
{
    // Anchor, turn, anchor moved: inside, over the top and the right edge, upright at the left edge.
    const QRect canvas(0, 0, 400, 300), label(-20, -10, 40, 12); // label box relative to its anchor
    const std::tuple<QPoint, double, QPoint> cases[] = {
        {{200, 150}, 0, {200, 150}}, {{200, 4}, 0, {200, 10}}, {{395, 290}, 0, {380, 290}}, {{1, 150}, 90, {2, 150}}};
    for (const auto &[anchor, angle, moved] : cases)
        EXPECT_EQ(insideCanvas(anchor, angle, label, canvas), moved) << anchor.x() << "," << anchor.y();
}

// An export is drawn at print resolution: the contour labels keep the size, backing box and place
// they have on the screen, relative to the picture, and the text stays on its box.
TEST(QualityPlots, ExportKeepsTheLabelsOfTheScreen)
{
    const VDOUB3 z = scan(41, 41, -0.02, -0.02, 0.001, 0.001,
                          [](int i, int j) { return std::exp(-((i - 20) * (i - 20) + (j - 12) * (j - 12)) / 120.0); });
    Plot_main_max plot(z, false, false, {0.9, 0.7, 0.5});
    plot.spectrogram()->setLabelText([](double level) { return "L" + QString::number(level); });
    plot.resize(500, 400);
    // Each label's backing box and text, in fractions of the picture.
    auto render = [&plot](int dpi) {
        const QSize size = plot.size() * (double(dpi) / plot.logicalDpiY());
        RecordingDevice device(size, dpi);
        QPainter painter(&device);
        renderPlot(&plot, &painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        const QTransform unit = QTransform::fromScale(1.0 / size.width(), 1.0 / size.height());
        QVector<QPair<QRectF, QRectF>> labels;
        for (const RecordingDevice::Text &t : device.texts())
            if (t.text.startsWith('L'))
                labels.append({unit.mapRect(t.box),
                               unit.mapRect(t.transform.mapRect(
                                   QFontMetricsF(t.font, &device).boundingRect(t.text).translated(t.origin)))});
        return labels;
    };
    const auto screen = render(plot.logicalDpiY()), print = render(300);
    ASSERT_GE(screen.size(), 3);
    ASSERT_EQ(print.size(), screen.size());
    const double px = 2.0 / 400; // two screen pixels
    auto same = [px](const QRectF &a, const QRectF &b) {
        return std::abs(a.center().x() - b.center().x()) <= px && std::abs(a.center().y() - b.center().y()) <= px
               && std::abs(a.height() - b.height()) <= px;
    };
    for (int i = 0; i < screen.size(); ++i) {
        EXPECT_TRUE(same(print[i].first, screen[i].first)) << i;
        EXPECT_TRUE(same(print[i].second, screen[i].second)) << i;
        EXPECT_TRUE(print[i].first.adjusted(-px, -px, px, px).contains(print[i].second)) << i;
    }
}
