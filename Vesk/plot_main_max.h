#ifndef PLOT_MAIN_MAX_H
#define PLOT_MAIN_MAX_H

#include <QList>
#include <QString>
#include <qwt_plot.h>

#include "LabelledSpectrogram.h"
#include "grid.h"
#include "plot.h"
#include "shared_params.h"

// A quality scan is drawn with the field plot's raster, colour table and zoomer.
typedef SpectrogramData SpectrogramData_main_max;
typedef ColorMap ColorMap_main_max;

// Title of a quality plot: the main-maxima ratio p_F/p_max or the side-maxima ratio p_side/p_F,
// as intensity ratios when asked (rich text).
QString qualityPlotTitle(bool side, bool intensity);

// Quality values as a plot shows them: squared for intensity ratios, coordinates in centimetres.
void convertQualityForPlot(VDOUB3 &z, bool intensity);

// The grid of a scan's arrays: extents and steps as for a field, counts from the array sizes.
Grid *qualityGrid(const VDOUB3 &z);

// The scan result of one kind (main or side maxima) of the current plane, as the last run of
// that kind left it: coordinates in metres, the run's focus-shift grid size.
VDOUB3 readQualityScan(bool side);

// One quality scan as a colour map with a colour bar, labelled contour lines at the given levels
// (evenly spaced labels and one at each level's leftmost point, without background), zoom and a
// value tracker.
class Plot_main_max : public QwtPlot
{
    Q_OBJECT

public:
    // The scan of the kind shared::is_side, in the result type shared::is_intens_qual, with the
    // levels shared::contourLevels (the result windows' forms build it this way).
    explicit Plot_main_max(QWidget *parent = nullptr);
    // scan: coordinates in metres and pressure ratios, as read from the result file.
    Plot_main_max(VDOUB3 scan, bool side, bool intensity, const QList<double> &levels, QWidget *parent = nullptr);
    ~Plot_main_max() override;

    VDOUB3 GetZ();
    LabelledSpectrogram *spectrogram() const { return d_spectrogram; }

    // dB scale of the ratios themselves (20 log10 of a pressure ratio, 10 log10 of an intensity
    // ratio), cut at floorDb; the contour levels follow in dB. GetZ stays linear.
    void setDecibelScale(bool on, double floorDb);

private:
    LabelledSpectrogram *d_spectrogram;
    Grid *G; // owned; the raster data refers to it
    MyZoomer *d_zoomer;
    bool m_intensity = false;
    QList<double> m_levels; // linear, as given
};

#endif // PLOT_MAIN_MAX_H
