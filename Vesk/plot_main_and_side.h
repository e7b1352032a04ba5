#ifndef PLOT_MAIN_AND_SIDE_H
#define PLOT_MAIN_AND_SIDE_H

#include <QList>
#include <QString>
#include <qwt_plot.h>

#include "LabelledSpectrogram.h"
#include "grid.h"
#include "plot.h"
#include "shared_params.h"

// The raster of one of two scans drawn together: its own arrays and grid, but x and y ranges
// over the region both grids cover (x borders included, y borders excluded), z from 0 to maxim.
class SpectrogramData_Main : public SpectrogramData
{
public:
    SpectrogramData_Main(Grid *G_main, Grid *G_side, double maxim);
};
typedef SpectrogramData_Main SpectrogramData_Side;
typedef ColorMap ColorMap_Main_and_Side;

// The zoomer of the combined plot: the tracker shows both values, " (M = main, S = side)".
class MyZoomer_Main_and_Side : public MyZoomer
{
public:
    explicit MyZoomer_Main_and_Side(QwtPlotCanvas *canvas);

    void setSpectrogramdata(SpectrogramData_Main *main, SpectrogramData_Side *side);

protected:
    QString valueText(const QPointF &pos) const override;

private:
    SpectrogramData_Main *d_spectrogramdata_main;
    SpectrogramData_Side *d_spectrogramdata_side;
};

// Title of the combined plot (rich text).
QString mainAndSidePlotTitle(bool intensity);

// Main and side maxima together as labelled contour lines without an image (main black, width 2;
// side red, width 3, drawn over the main ones) over the region both scans cover.
class Plot_Main_and_Side : public QwtPlot
{
    Q_OBJECT

public:
    // Both scans of the current plane as their last runs left them, in the result type
    // shared::is_intens_qual, with the levels shared::contourLevels_main and _side.
    explicit Plot_Main_and_Side(QWidget *parent = nullptr);
    // Scans with coordinates in metres and pressure ratios, as read from the result files.
    Plot_Main_and_Side(VDOUB3 z_main, VDOUB3 z_side, bool intensity, const QList<double> &levels_main,
                       const QList<double> &levels_side, QWidget *parent = nullptr);
    ~Plot_Main_and_Side() override;

    VDOUB3 GetZ_main();
    VDOUB3 GetZ_side();
    LabelledSpectrogram *spectrogramMain() const { return d_spectrogram_main; }
    LabelledSpectrogram *spectrogramSide() const { return d_spectrogram_side; }

private:
    LabelledSpectrogram *d_spectrogram_main;
    Grid *G_main; // owned, like G_side; the raster data refers to them
    LabelledSpectrogram *d_spectrogram_side;
    Grid *G_side;
    MyZoomer_Main_and_Side *d_zoomer;
};

#endif // PLOT_MAIN_AND_SIDE_H
