#include "plot_main_and_side.h"

#include <algorithm>
#include <qwt_interval.h>
#include <qwt_plot_canvas.h>

#include "plot_main_max.h"

SpectrogramData_Main::SpectrogramData_Main(Grid *G_main, Grid *G_side, double maxim) : SpectrogramData(G_main, maxim)
{
    setInterval(Qt::XAxis, QwtInterval(std::max(G_main->Xmin, G_side->Xmin), std::min(G_main->Xmax, G_side->Xmax)));
    setInterval(Qt::YAxis, QwtInterval(std::max(G_main->Ymin, G_side->Ymin), std::min(G_main->Ymax, G_side->Ymax),
                                       QwtInterval::ExcludeBorders));
}

MyZoomer_Main_and_Side::MyZoomer_Main_and_Side(QwtPlotCanvas *canvas) :
    MyZoomer(canvas), d_spectrogramdata_main(nullptr), d_spectrogramdata_side(nullptr)
{}

void MyZoomer_Main_and_Side::setSpectrogramdata(SpectrogramData_Main *main, SpectrogramData_Side *side)
{
    d_spectrogramdata_main = main;
    d_spectrogramdata_side = side;
}

QString MyZoomer_Main_and_Side::valueText(const QPointF &pos) const
{
    if (!d_spectrogramdata_main || !d_spectrogramdata_side)
        return QString();
    return QString::asprintf(" (M = %f,", d_spectrogramdata_main->value(pos.x(), pos.y()))
           + QString::asprintf(" S = %f)", d_spectrogramdata_side->value(pos.x(), pos.y()));
}

QString mainAndSidePlotTitle(bool intensity)
{
    if (intensity)
        return QStringLiteral("I<sub>F</sub>/I<sub>max</sub> для главных и "
                              "I<sub>side</sub>/I<sub>F</sub> для побочных максимумов");
    return QStringLiteral("p<sub>F</sub>/p<sub>max</sub> для главных и "
                          "p<sub>side</sub>/p<sub>F</sub> для побочных максимумов");
}

Plot_Main_and_Side::Plot_Main_and_Side(QWidget *parent) :
    Plot_Main_and_Side(readQualityScan(false), readQualityScan(true), shared::is_intens_qual,
                       shared::contourLevels_main, shared::contourLevels_side, parent)
{}

Plot_Main_and_Side::Plot_Main_and_Side(VDOUB3 z_main, VDOUB3 z_side, bool intensity, const QList<double> &levels_main,
                                       const QList<double> &levels_side, QWidget *parent) :
    QwtPlot(parent),
    d_spectrogram_main(nullptr), G_main(nullptr), d_spectrogram_side(nullptr), G_side(nullptr), d_zoomer(nullptr)
{
    convertQualityForPlot(z_main, intensity);
    convertQualityForPlot(z_side, intensity);
    G_main = qualityGrid(z_main);
    G_side = qualityGrid(z_side);
    const double Maximum_main = fieldMaximum(z_main);
    const double Maximum_side = fieldMaximum(z_side);
    const double maxim = std::max(Maximum_main, Maximum_side);

    // Lines and labels only; the labels keep the canvas background behind them.
    auto contourItem = [](const QList<double> &levels, const QPen &pen) {
        LabelledSpectrogram *item = new LabelledSpectrogram();
        item->setDisplayMode(QwtPlotSpectrogram::ImageMode, false);
        item->setDisplayMode(QwtPlotSpectrogram::ContourMode, true);
        item->setLabelPlacement(LabelledSpectrogram::N_PER_LEVEL | LabelledSpectrogram::AT_MIN_X);
        item->setContourLevels(levels);
        item->setDefaultContourPen(pen);
        return item;
    };
    d_spectrogram_main = contourItem(levels_main, QPen(QBrush(Qt::black), 2.0));
    SpectrogramData_Main *dataMain = new SpectrogramData_Main(G_main, G_side, maxim);
    attachSpectrogram(this, d_spectrogram_main, dataMain, std::move(z_main), G_main, Maximum_main);

    // Attached second, so the side lines are drawn over the main ones.
    d_spectrogram_side = contourItem(levels_side, QPen(QBrush(Qt::red), 3.0));
    SpectrogramData_Side *dataSide = new SpectrogramData_Side(G_main, G_side, maxim);
    attachSpectrogram(this, d_spectrogram_side, dataSide, std::move(z_side), G_side, Maximum_side);

    setTitle(mainAndSidePlotTitle(intensity));
    setUpSpectrogramAxes(this, dataMain, false);

    d_zoomer = new MyZoomer_Main_and_Side(qobject_cast<QwtPlotCanvas *>(canvas()));
    d_zoomer->setSpectrogramdata(dataMain, dataSide);
    setUpFieldZoomer(this, d_zoomer);
}

Plot_Main_and_Side::~Plot_Main_and_Side()
{
    d_zoomer->setSpectrogramdata(nullptr, nullptr);
    delete d_spectrogram_main; // the raster data refer to the grids
    delete d_spectrogram_side;
    delete G_main;
    delete G_side;
}

VDOUB3 Plot_Main_and_Side::GetZ_main()
{
    return static_cast<const SpectrogramData *>(d_spectrogram_main->data())->GetZ();
}

VDOUB3 Plot_Main_and_Side::GetZ_side()
{
    return static_cast<const SpectrogramData *>(d_spectrogram_side->data())->GetZ();
}
