#include "plot.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qwt_interval.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

#include "LabelledSpectrogram.h"
#include "field_metrics.h"
#include "read_from_file.h"

// ---- Result types and the arrays behind a plot ----

FieldResultType fieldResultTypeFromFlags()
{
    FieldResultType type = FieldResultType::DimensionlessPressure;
    if (shared::is_dl_press)
        type = FieldResultType::DimensionlessPressure;
    if (shared::is_press)
        type = FieldResultType::Pressure;
    if (shared::is_intens)
        type = FieldResultType::Intensity;
    if (shared::is_dl_intens)
        type = FieldResultType::DimensionlessIntensity;
    return type;
}

double convertFieldValue(double v, FieldResultType type, double initpres, double ro, double c)
{
    switch (type) {
    case FieldResultType::DimensionlessPressure:
        return v;
    case FieldResultType::Pressure:
        return v * initpres / 1000000.0;
    case FieldResultType::Intensity:
        return initpres * initpres / 2.0 / ro / c * v * v / 10000.0;
    case FieldResultType::DimensionlessIntensity:
        return v * v;
    }
    return v;
}

void convertFieldForPlot(VDOUB3 &z, FieldResultType type, double initpres, double ro, double c)
{
    if (z.size() < 3)
        return;
    for (VDOUB &row : z[2])
        for (double &v : row)
            v = convertFieldValue(v, type, initpres, ro, c);
    for (int plane = 0; plane < 2; ++plane)
        for (VDOUB &row : z[plane])
            for (double &v : row)
                v *= 100.0;
}

Grid *gridFromArrays(const VDOUB3 &z, int nx, int ny)
{
    if (z.size() < 2 || z[0].empty() || z[0][0].empty())
        return new Grid(nx, ny, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    const size_t I = z[0].size() - 1;
    const size_t J = z[0][0].size() - 1;
    double dx = 0.0, dy = 0.0;
    if (I >= 1 && J >= 1) {
        dx = std::abs(z[0][0][0] - z[0][1][1]);
        dy = std::abs(z[1][0][0] - z[1][1][1]);
    }
    return new Grid(nx, ny, dx, dy, z[0][0][0], z[0][I][J], z[1][0][0], z[1][I][J]);
}

double fieldMaximum(const VDOUB3 &z)
{
    bool found = false;
    double maximum = 0.0;
    if (z.size() < 3)
        return maximum;
    for (const VDOUB &row : z[2])
        for (double v : row)
            if (std::isfinite(v) && (!found || v > maximum)) {
                maximum = v;
                found = true;
            }
    return maximum;
}

QString fieldPlotTitle(FieldResultType type)
{
    switch (type) {
    case FieldResultType::DimensionlessPressure:
        return QStringLiteral("Давление в фокусе, нормированное на давление на элементе");
    case FieldResultType::Pressure:
        return QStringLiteral("Давление в фокусе, МПа");
    case FieldResultType::Intensity:
        return QStringLiteral("Интенсивность в фокусе, Вт/см<sup>2</sup>");
    case FieldResultType::DimensionlessIntensity:
        return QStringLiteral("Интенсивность в фокусе, нормированная на интенсивность на элементе");
    }
    return QString();
}

double interpolateField(const VDOUB3 &Z, const Grid &G, double x, double y)
{
    if (!(x < G.Xmax && y < G.Ymax && x >= G.Xmin && y >= G.Ymin))
        return 0.0;
    if (Z.size() < 3 || Z[0].size() < 2 || Z[0][0].size() < 2)
        return 0.0;

    double m = 0.0, n = 0.0;
    std::modf((x - G.Xmin) / G.dX, &m);
    std::modf((y - G.Ymin) / G.dY, &n);
    // Compared as doubles: a zero step gives inf or nan here, which never qualifies.
    if (!(m < double(Z[0].size() - 1) && n < double(Z[0][0].size() - 1)))
        return 0.0;

    const size_t i1 = size_t(m), j1 = size_t(n);
    const size_t i2 = i1 + 1, j2 = j1 + 1;
    const double x1 = Z[0][i1][j1], y1 = Z[1][i1][j1];
    const double x2 = Z[0][i2][j2], y2 = Z[1][i2][j2];
    const double Q11 = Z[2][i1][j1], Q12 = Z[2][i1][j2];
    const double Q21 = Z[2][i2][j1], Q22 = Z[2][i2][j2];
    const double area = (x2 - x1) * (y2 - y1);
    return Q11 / area * (x2 - x) * (y2 - y) + Q21 / area * (x - x1) * (y2 - y) + Q12 / area * (x2 - x) * (y - y1)
           + Q22 / area * (x - x1) * (y - y1);
}

// ---- Raster data ----

SpectrogramData::SpectrogramData(Grid *G, double max) : G(G), Max(max)
{
    setInterval(Qt::XAxis, QwtInterval(G->Xmin, G->Xmax));
    setInterval(Qt::YAxis, QwtInterval(G->Ymin, G->Ymax, QwtInterval::ExcludeBorders));
    setInterval(Qt::ZAxis, QwtInterval(0.0, max));
}

void SpectrogramData::SetData(VDOUB3 z, Grid *g, double max)
{
    Z = std::move(z);
    G = g;
    Max = max;
}

VDOUB3 SpectrogramData::GetZ() const
{
    return Z;
}

double SpectrogramData::value(double x, double y) const
{
    return interpolateField(Z, *G, x, y);
}

// ---- Colour map ----

namespace {
struct Stop {
    double pos;
    int r, g, b;
};

// From the top position downwards; the end stop at 1.0 is the map's second colour.
const Stop stopTable[64] = {
    {0.990099, 127, 0, 0},     {0.972772, 143, 0, 0},     {0.957921, 159, 0, 0},    {0.943069, 175, 0, 0},
    {0.925743, 191, 0, 0},     {0.910891, 207, 0, 0},     {0.89604, 223, 0, 0},     {0.878713, 239, 0, 0},
    {0.863861, 255, 0, 0},     {0.84901, 255, 15, 0},     {0.831683, 255, 31, 0},   {0.816832, 255, 47, 0},
    {0.80198, 255, 63, 0},     {0.784653, 255, 79, 0},    {0.769802, 255, 95, 0},   {0.752475, 255, 111, 0},
    {0.737624, 255, 127, 0},   {0.722772, 255, 143, 0},   {0.705446, 255, 159, 0},  {0.690594, 255, 175, 0},
    {0.675743, 255, 191, 0},   {0.658416, 255, 207, 0},   {0.643564, 255, 223, 0},  {0.628713, 255, 239, 0},
    {0.611386, 255, 255, 0},   {0.596535, 239, 255, 15},  {0.581683, 223, 255, 31}, {0.564356, 207, 255, 47},
    {0.549505, 191, 255, 63},  {0.534653, 175, 255, 79},  {0.517327, 159, 255, 95}, {0.502475, 143, 255, 111},
    {0.487624, 127, 255, 127}, {0.470297, 111, 255, 143}, {0.455446, 95, 255, 159}, {0.440594, 79, 255, 175},
    {0.423267, 63, 255, 191},  {0.408416, 47, 255, 207},  {0.393564, 31, 255, 223}, {0.376238, 15, 255, 239},
    {0.361386, 0, 255, 255},   {0.346535, 0, 239, 255},   {0.329208, 0, 223, 255},  {0.314356, 0, 207, 255},
    {0.299505, 0, 191, 255},   {0.282178, 0, 175, 255},   {0.267327, 0, 159, 255},  {0.25, 0, 143, 255},
    {0.232673, 0, 127, 255},   {0.220297, 0, 111, 255},   {0.20297, 0, 95, 255},    {0.188119, 0, 79, 255},
    {0.173267, 0, 63, 255},    {0.155941, 0, 47, 255},    {0.141089, 0, 31, 255},   {0.126238, 0, 15, 255},
    {0.108911, 0, 0, 255},     {0.0940594, 0, 0, 239},    {0.0792079, 0, 0, 223},   {0.0618812, 0, 0, 207},
    {0.0470297, 0, 0, 191},    {0.0321782, 0, 0, 175},    {0.0148515, 0, 0, 159},   {0.0, 0, 0, 143},
};
} // namespace

ColorMap::ColorMap() : QwtLinearColorMap(QColor(0, 0, 143), QColor(127, 0, 0), QwtColorMap::RGB)
{
    setMode(QwtLinearColorMap::FixedColors);
    for (const Stop &s : stopTable)
        addColorStop(s.pos, QColor(s.r, s.g, s.b, 255));
}

// ---- Zoomer ----

MyZoomer::MyZoomer(QwtPlotCanvas *canvas) : QwtPlotZoomer(canvas, true), d_spectrogramdata(nullptr)
{
    setTrackerMode(QwtPicker::AlwaysOn);
}

void MyZoomer::setSpectrogramdata(SpectrogramData *data)
{
    d_spectrogramdata = data;
}

QwtText MyZoomer::trackerTextF(const QPointF &pos) const
{
    QColor bg(Qt::white);
    bg.setAlpha(200);

    QwtText text = QwtPlotPicker::trackerTextF(pos);
    const QString value = valueText(pos);
    if (!value.isEmpty())
        text.setText(text.text() + value, QwtText::AutoText);
    text.setBackgroundBrush(QBrush(bg));
    return text;
}

QString MyZoomer::valueText(const QPointF &pos) const
{
    if (!d_spectrogramdata)
        return QString();
    // Qt's formatting is the C format without the C library's locale: always a decimal point.
    const QString value = QString::asprintf("%f", d_spectrogramdata->value(pos.x(), pos.y()));
    return m_unit.isEmpty() ? QStringLiteral(" (%1)").arg(value) : QStringLiteral(" (%1 %2)").arg(value, m_unit);
}

void MyZoomer::setValueUnit(const QString &unit)
{
    m_unit = unit;
}

// ---- Plot set-up shared by the field and quality plots ----

QRectF equalScaleView(const QRectF &wanted, const QSizeF &pixels)
{
    if (pixels.isEmpty() || wanted.width() <= 0 || wanted.height() <= 0)
        return wanted;
    const double perPixel = std::max(wanted.width() / pixels.width(), wanted.height() / pixels.height());
    QRectF view(0, 0, perPixel * pixels.width(), perPixel * pixels.height());
    view.moveCenter(wanted.center());
    return view;
}

void setPlaneAxisTitles(QwtPlot *plot)
{
    if (shared::is_prodol) {
        plot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("z, см"));
        plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("r, см"));
    }
    if (shared::is_poper) {
        plot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("x, см"));
        plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("y, см"));
    }
}

MyZoomer *installFieldZoomer(QwtPlot *plot, SpectrogramData *data)
{
    MyZoomer *zoomer = new MyZoomer(qobject_cast<QwtPlotCanvas *>(plot->canvas()));
    zoomer->setSpectrogramdata(data);
    setUpFieldZoomer(plot, zoomer);
    return zoomer;
}

void setUpFieldZoomer(QwtPlot *plot, MyZoomer *zoomer)
{
    zoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton, Qt::ControlModifier);
    zoomer->setMousePattern(QwtEventPattern::MouseSelect3, Qt::RightButton);

    // Avoid jumping when labels with more/less digits appear/disappear when scrolling vertically.
    const QFontMetrics fm(plot->axisWidget(QwtPlot::yLeft)->font());
    plot->axisScaleDraw(QwtPlot::yLeft)->setMinimumExtent(fm.horizontalAdvance(QStringLiteral("100.00")));

    const QColor c(Qt::darkBlue);
    zoomer->setRubberBandPen(c);
    zoomer->setTrackerPen(c);
}

void attachSpectrogram(QwtPlot *plot, QwtPlotSpectrogram *item, SpectrogramData *data, VDOUB3 z, Grid *g, double max)
{
    item->setRenderThreadCount(0); // as many threads as the system suggests
    item->setColorMap(new ColorMap());
    item->setData(data);
    item->attach(plot);
    data->SetData(std::move(z), g, max);
}

void setUpSpectrogramAxes(QwtPlot *plot, const QwtRasterData *data, bool colourBar)
{
    if (colourBar) {
        // A colour bar from 0 to the maximum on the right axis.
        const QwtInterval zInterval = data->interval(Qt::ZAxis);
        QwtScaleWidget *rightAxis = plot->axisWidget(QwtPlot::yRight);
        rightAxis->setColorBarEnabled(true);
        rightAxis->setColorMap(zInterval, new ColorMap());
        plot->setAxisScale(QwtPlot::yRight, zInterval.minValue(), zInterval.maxValue());
        plot->enableAxis(QwtPlot::yRight);
    }

    const QwtInterval x = data->interval(Qt::XAxis);
    const QwtInterval y = data->interval(Qt::YAxis);
    plot->setAxisScale(QwtPlot::xBottom, x.minValue(), x.maxValue());
    plot->setAxisScale(QwtPlot::yLeft, y.minValue(), y.maxValue());
    plot->plotLayout()->setAlignCanvasToScales(true);
    setPlaneAxisTitles(plot);

    plot->replot();
}

// ---- Field plot ----

Plot::Plot(QWidget *parent) : QwtPlot(parent), d_spectrogram(nullptr), G(nullptr), d_zoomer(nullptr)
{
    const FieldResultType type = fieldResultTypeFromFlags();
    VDOUB3 Z = read_from_file(shared::file_to_calc, shared::Nx_G, shared::Ny_G);
    m_type = type;
    m_normalisedMax = fieldMaximum(Z);
    convertFieldForPlot(Z, type, shared::initpres, shared::ro, shared::c);
    G = gridFromArrays(Z, shared::Nx_G, shared::Ny_G);
    const double Max = fieldMaximum(Z);

    d_spectrogram = new LabelledSpectrogram();
    SpectrogramData *data = new SpectrogramData(G, Max);
    attachSpectrogram(this, d_spectrogram, data, std::move(Z), G, Max);
    // Contour labels name the level in dB in either scale, on a translucent patch that keeps
    // them readable over any colour.
    d_spectrogram->setLabelPlacement(LabelledSpectrogram::N_PER_LEVEL);
    d_spectrogram->setLabelBackground(QColor(255, 255, 255, 200));
    d_spectrogram->setLabelText([this](double level) {
        const double max = d_spectrogram->data()->interval(Qt::ZAxis).maxValue();
        const double db = m_decibels ? level : decibelFactor() * std::log10(level / max);
        return QString::number(db, 'g', 4) + QStringLiteral(" дБ");
    });

    setTitle(fieldPlotTitle(type));

    // The zoomer takes its base from the scales of the first replot: the full field.
    setUpSpectrogramAxes(this, data, true);
    d_zoomer = installFieldZoomer(this, data);

    // Middle button pans the field; the colour bar stays where it is.
    QwtPlotPanner *panner = new QwtPlotPanner(canvas());
    panner->setAxisEnabled(QwtPlot::yRight, false);
    panner->setMouseButton(Qt::MiddleButton);

    // The view the equal scale keeps follows every zoom and pan (the panner has moved the axes
    // by the time its signal arrives here).
    m_wantedView = d_zoomer->zoomRect();
    connect(d_zoomer, &QwtPlotZoomer::zoomed, this, [this](const QRectF &rect) {
        m_wantedView = rect.normalized();
        if (m_equalScale)
            showEqualScale();
    });
    connect(panner, &QwtPanner::panned, this, [this]() {
        const QwtScaleDiv &x = axisScaleDiv(QwtPlot::xBottom);
        const QwtScaleDiv &y = axisScaleDiv(QwtPlot::yLeft);
        m_wantedView.moveCenter(QPointF((x.lowerBound() + x.upperBound()) / 2, (y.lowerBound() + y.upperBound()) / 2));
    });
    canvas()->installEventFilter(this);
}

Plot::~Plot()
{
    d_zoomer->setSpectrogramdata(nullptr);
    delete d_spectrogram; // the raster data refers to G
    delete G;
}

VDOUB3 Plot::GetZ()
{
    return static_cast<const SpectrogramData *>(d_spectrogram->data())->GetZ();
}

// ---- Reading aids: dB scale, contour lines, equal scale ----

DecibelData::DecibelData(Grid *G, double reference, double factor, double floorDb) :
    SpectrogramData(G, reference), m_reference(reference), m_factor(factor), m_floorDb(floorDb)
{
    setInterval(Qt::ZAxis, QwtInterval(floorDb, 0.0));
}

double DecibelData::value(double x, double y) const
{
    return toDecibels(SpectrogramData::value(x, y), m_reference, m_factor, m_floorDb);
}

double Plot::decibelFactor() const
{
    return ::decibelFactor(m_type == FieldResultType::Intensity || m_type == FieldResultType::DimensionlessIntensity);
}

void switchDecibelRaster(QwtPlot *plot, QwtPlotSpectrogram *item, MyZoomer *zoomer, Grid *G, bool on, double reference,
                         double factor, double floorDb)
{
    VDOUB3 z = static_cast<const SpectrogramData *>(item->data())->GetZ();
    const double max = fieldMaximum(z);
    SpectrogramData *data = on ? new DecibelData(G, reference, factor, floorDb) : new SpectrogramData(G, max);
    data->SetData(std::move(z), G, max);
    zoomer->setSpectrogramdata(data);
    zoomer->setValueUnit(on ? QStringLiteral("дБ") : QString());
    item->setData(data); // deletes the previous raster

    const QwtInterval zInterval = data->interval(Qt::ZAxis);
    plot->axisWidget(QwtPlot::yRight)->setColorMap(zInterval, new ColorMap());
    plot->setAxisScale(QwtPlot::yRight, zInterval.minValue(), zInterval.maxValue());
    plot->setAxisTitle(QwtPlot::yRight, on ? QStringLiteral("дБ") : QString());
    plot->replot();
}

void Plot::setDecibelScale(bool on, double floorDb)
{
    m_decibels = on;
    m_floorDb = floorDb;
    switchDecibelRaster(this, d_spectrogram, d_zoomer, G, on, fieldMaximum(GetZ()), decibelFactor(), floorDb);
    setContours(m_contours, m_levelsDb);
}

QList<double> Plot::contourLevels() const
{
    QList<double> levels;
    const double max = d_spectrogram->data()->interval(Qt::ZAxis).maxValue();
    for (double db : m_levelsDb)
        levels << (m_decibels ? db : levelFraction(db, decibelFactor()) * max);
    std::sort(levels.begin(), levels.end());
    return levels;
}

void Plot::setContours(bool on, const QList<double> &levelsDb)
{
    m_contours = on;
    m_levelsDb = levelsDb;
    d_spectrogram->setDefaultContourPen(QPen(Qt::black, 0));
    const QList<double> levels = on ? contourLevels() : QList<double>();
    // Around a focus the levels nest a fraction of a millimetre apart: their extreme-point labels
    // go alternately to the top and the bottom of the lines so neighbours do not cover each other.
    QMap<double, unsigned int> placements;
    for (int i = 0; i < levels.size(); ++i)
        placements.insert(levels[i], LabelledSpectrogram::N_PER_LEVEL
                                         | ((levels.size() - 1 - i) % 2 == 0 ? LabelledSpectrogram::AT_MAX_Y
                                                                             : LabelledSpectrogram::AT_MIN_Y));
    d_spectrogram->setLevelLabelPlacements(placements);
    d_spectrogram->setContourLevels(levels);
    d_spectrogram->setDisplayMode(QwtPlotSpectrogram::ContourMode, on && !levelsDb.isEmpty());
    replot();
}

void Plot::setEqualScale(bool on)
{
    m_equalScale = on;
    if (on) {
        showEqualScale();
    } else {
        setAxisScale(QwtPlot::xBottom, m_wantedView.left(), m_wantedView.right());
        setAxisScale(QwtPlot::yLeft, m_wantedView.top(), m_wantedView.bottom());
        replot();
    }
}

void Plot::showEqualScale()
{
    const QRectF view = equalScaleView(m_wantedView, canvas()->contentsRect().size());
    setAxisScale(QwtPlot::xBottom, view.left(), view.right());
    setAxisScale(QwtPlot::yLeft, view.top(), view.bottom());
    replot();
}

bool Plot::eventFilter(QObject *object, QEvent *event)
{
    const bool handled = QwtPlot::eventFilter(object, event);
    if (m_equalScale && object == canvas() && event->type() == QEvent::Resize)
        showEqualScale();
    return handled;
}
