#ifndef PLOT_H
#define PLOT_H

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <qwt_color_map.h>
#include <qwt_plot.h>
#include <qwt_plot_zoomer.h>
#include <qwt_raster_data.h>
#include <qwt_text.h>

#include "grid.h"
#include "shared_params.h"

class LabelledSpectrogram;
class QwtPlotCanvas;
class QwtPlotSpectrogram;

// The quantity a field result window shows. The calculator delivers the pressure amplitude
// normalised to the pressure on the elements; the others are derived from it.
enum class FieldResultType {
    DimensionlessPressure, // p / p0
    Pressure,              // MPa
    Intensity,             // W/cm^2
    DimensionlessIntensity // (p / p0)^2
};

// The result type chosen by the flags shared::is_dl_press, is_press, is_intens, is_dl_intens.
// Exactly one is set by the plane window; should several be set the last of that order wins,
// and none set shows the field as delivered.
FieldResultType fieldResultTypeFromFlags();

// One normalised pressure value v in the result type's unit; p0 = initpres (Pa), ro (kg/m^3),
// c (m/s). Intensity is the plane-wave p^2/(2 ro c), in W/cm^2.
double convertFieldValue(double v, FieldResultType type, double initpres, double ro, double c);

// Converts plane 2 of a field to the result type and planes 0 and 1 from metres to centimetres.
void convertFieldForPlot(VDOUB3 &z, FieldResultType type, double initpres, double ro, double c);

// The grid a plot derives from its arrays: extents from the first and the last point, steps from
// the diagonal neighbour (1, 1) of the first point, counts nx and ny. An array smaller than 2 x 2
// gives zero steps (and a plot without values).
Grid *gridFromArrays(const VDOUB3 &z, int nx, int ny);

// The largest finite value of plane 2 (0 when there is none): a "nan" or "inf" read from a broken
// result must not stretch the colour bar to infinity.
double fieldMaximum(const VDOUB3 &z);

// Plot title of a result type (rich text).
QString fieldPlotTitle(FieldResultType type);

// Bilinear interpolation of plane 2 at (x, y). Lower borders of the grid belong to it, upper
// borders do not; outside, and wherever the cell has no upper neighbour, the value is 0.
// Reads only: the plots call it from several rendering threads at once.
double interpolateField(const VDOUB3 &Z, const Grid &G, double x, double y);

// The raster behind a field plot: the arrays (coordinates in centimetres) and their grid.
class SpectrogramData : public QwtRasterData
{
public:
    SpectrogramData(Grid *G, double max);

    void SetData(VDOUB3 z, Grid *g, double max);
    VDOUB3 GetZ() const;
    double value(double x, double y) const override;

private:
    VDOUB3 Z;
    Grid *G; // not owned
    double Max;
};

// 64 flat colour bands from dark blue through cyan and yellow to dark red.
class ColorMap : public QwtLinearColorMap
{
public:
    ColorMap();
};

// Zoomer whose tracker adds the field value under the cursor to the position.
class MyZoomer : public QwtPlotZoomer
{
public:
    explicit MyZoomer(QwtPlotCanvas *canvas);

    void setSpectrogramdata(SpectrogramData *data);
    // Unit written after the value ("дБ" on a dB raster); none for the linear quantities.
    void setValueUnit(const QString &unit);
    QwtText trackerTextF(const QPointF &pos) const override;

protected:
    // What follows the position in the tracker: " (value)" or " (value unit)", or nothing
    // without data. Zoomers that track several rasters say it their way.
    virtual QString valueText(const QPointF &pos) const;

private:
    SpectrogramData *d_spectrogramdata;
    QString m_unit;
};

// The view of `wanted` (plot units, top() the lowest y) on a canvas of `pixels`, with as many
// units per pixel across as up: the same centre, one axis widened as far as needed. An empty
// canvas or view gives `wanted` itself.
QRectF equalScaleView(const QRectF &wanted, const QSizeF &pixels);

// Axis titles of the current plane: z and r for the axial plane, x and y for the transverse one.
void setPlaneAxisTitles(QwtPlot *plot);

// The interaction every field and quality plot shares: a zoomer with the value tracker (left
// drag zooms in, right click one level out, Ctrl + right click back to the full view), the left
// axis kept wide enough for "100.00", dark blue rubber band and tracker.
MyZoomer *installFieldZoomer(QwtPlot *plot, SpectrogramData *data);
// The same set-up for a zoomer already made on the plot's canvas.
void setUpFieldZoomer(QwtPlot *plot, MyZoomer *zoomer);

// Gives a spectrogram item of the plot its raster: as many render threads as the system
// suggests, the colour map, the data, attached to the plot, then the arrays z with their grid.
void attachSpectrogram(QwtPlot *plot, QwtPlotSpectrogram *item, SpectrogramData *data, VDOUB3 z, Grid *g, double max);

// Scales over the raster's x and y ranges with the canvas aligned to them, the plane's axis
// titles and, when asked, a colour bar over its z range on the right axis; then the first
// replot, whose scales a zoomer made afterwards takes as its full view.
void setUpSpectrogramAxes(QwtPlot *plot, const QwtRasterData *data, bool colourBar);

// The field of the last calculation run (shared::file_to_calc, Nx_G x Ny_G) as a colour map in the
// chosen result type, with a colour bar from 0 to the maximum, zoom, tracker and a middle-button
// panner. Built once; the data never changes while the plot exists.
class Plot : public QwtPlot
{
    Q_OBJECT

public:
    explicit Plot(QWidget *parent = nullptr);
    ~Plot() override;

    VDOUB3 GetZ();

    // Reading aids beyond the plain colour map; all off at start.
    // dB scale: colours, colour bar and tracker in dB relative to the largest value (20 log10 for a
    // pressure, 10 log10 for an intensity), cut at floorDb. GetZ stays in the linear quantity.
    void setDecibelScale(bool on, double floorDb);
    bool decibelScale() const { return m_decibels; }
    double decibelFloor() const { return m_floorDb; }
    // Contour lines at levels given in dB below the maximum (in either scale), each labelled with
    // its level in dB.
    void setContours(bool on, const QList<double> &levelsDb);
    QList<double> contourLevels() const; // in the units of the current scale
    // Keeps centimetres per pixel equal along both axes: the part of the plane last zoomed into
    // (or panned to) keeps its centre and extent when the plot is resized, and one axis is widened
    // as far as needed.
    void setEqualScale(bool on);

    FieldResultType resultType() const { return m_type; }
    // 20 or 10: the decibel factor of the result type.
    double decibelFactor() const;
    // The largest |p|/p0 of the plane, whatever the result type.
    double normalisedMaximum() const { return m_normalisedMax; }

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // Shows the wanted view, widened to equal scale on the canvas as it is now.
    void showEqualScale();

    LabelledSpectrogram *d_spectrogram;
    Grid *G; // owned; the raster data refers to it
    MyZoomer *d_zoomer;

    FieldResultType m_type = FieldResultType::DimensionlessPressure;
    double m_normalisedMax = 0;
    bool m_decibels = false;
    double m_floorDb = -40;
    bool m_contours = false;
    QList<double> m_levelsDb;
    bool m_equalScale = false;
    QRectF m_wantedView; // what the user zoomed into or panned to; the whole plane at first
};

// Gives a plot's spectrogram item a linear raster or the dB raster of the same arrays (factor
// 20 or 10, relative to `reference`, cut at floorDb), with the zoomer's tracker and the colour bar
// on the right axis following it (both with "дБ" in dB); then replots.
void switchDecibelRaster(QwtPlot *plot, QwtPlotSpectrogram *item, MyZoomer *zoomer, Grid *G, bool on, double reference,
                         double factor, double floorDb);

// The raster of the dB scale: the linear field interpolated as SpectrogramData does it, then
// factor * log10(value / reference), floored; outside the field the floor.
class DecibelData : public SpectrogramData
{
public:
    DecibelData(Grid *G, double reference, double factor, double floorDb);
    double value(double x, double y) const override;

private:
    double m_reference, m_factor, m_floorDb;
};

#endif // PLOT_H
