#include "plot_main_max.h"

#include "field_metrics.h"
#include "read_from_file_main_max.h"

QString qualityPlotTitle(bool side, bool intensity)
{
    if (intensity)
        return side ? QStringLiteral("I<sub>side</sub>/I<sub>F</sub>")
                    : QStringLiteral("I<sub>F</sub>/I<sub>max</sub>");
    return side ? QStringLiteral("p<sub>side</sub>/p<sub>F</sub>") : QStringLiteral("p<sub>F</sub>/p<sub>max</sub>");
}

void convertQualityForPlot(VDOUB3 &z, bool intensity)
{
    // The ratios are dimensionless pressures: an intensity ratio is their square.
    convertFieldForPlot(z, intensity ? FieldResultType::DimensionlessIntensity : FieldResultType::DimensionlessPressure,
                        0.0, 0.0, 0.0);
}

Grid *qualityGrid(const VDOUB3 &z)
{
    const int nx = z.empty() ? 0 : int(z[0].size());
    return gridFromArrays(z, nx, nx == 0 ? 0 : int(z[0][0].size()));
}

VDOUB3 readQualityScan(bool side)
{
    const bool axial = !shared::is_poper;
    QString name;
    if (side)
        name = axial ? shared::name_of_file_side_max_axial : shared::name_of_file_side_max_poper;
    else
        name = axial ? shared::name_of_file_main_max_axial : shared::name_of_file_main_max_poper;
    const int nx = side ? shared::Nx_G_qual_side : shared::Nx_G_qual_main;
    const int ny = side ? shared::Ny_G_qual_side : shared::Ny_G_qual_main;
    return read_from_file_main_max(name, nx, ny, axial);
}

Plot_main_max::Plot_main_max(QWidget *parent) :
    Plot_main_max(readQualityScan(shared::is_side), shared::is_side, shared::is_intens_qual, shared::contourLevels,
                  parent)
{}

Plot_main_max::Plot_main_max(VDOUB3 scan, bool side, bool intensity, const QList<double> &levels, QWidget *parent) :
    QwtPlot(parent), d_spectrogram(nullptr), G(nullptr), d_zoomer(nullptr), m_intensity(intensity), m_levels(levels)
{
    convertQualityForPlot(scan, intensity);
    G = qualityGrid(scan);
    const double Max = fieldMaximum(scan);

    // The image with its contour lines on top; labels without background so the colours show.
    d_spectrogram = new LabelledSpectrogram();
    d_spectrogram->setLabelPlacement(LabelledSpectrogram::N_PER_LEVEL | LabelledSpectrogram::AT_MIN_X);
    d_spectrogram->SetBackdroundTransparentMode(true);
    d_spectrogram->setDisplayMode(QwtPlotSpectrogram::ContourMode, true);
    d_spectrogram->setContourLevels(levels);
    SpectrogramData_main_max *data = new SpectrogramData_main_max(G, Max);
    attachSpectrogram(this, d_spectrogram, data, std::move(scan), G, Max);

    setTitle(qualityPlotTitle(side, intensity));
    setUpSpectrogramAxes(this, data, true);
    d_zoomer = installFieldZoomer(this, data);
}

Plot_main_max::~Plot_main_max()
{
    d_zoomer->setSpectrogramdata(nullptr);
    delete d_spectrogram; // the raster data refers to G
    delete G;
}

VDOUB3 Plot_main_max::GetZ()
{
    return static_cast<const SpectrogramData_main_max *>(d_spectrogram->data())->GetZ();
}

void Plot_main_max::setDecibelScale(bool on, double floorDb)
{
    const double factor = ::decibelFactor(m_intensity);
    QList<double> levels = m_levels;
    if (on)
        for (double &level : levels)
            level = toDecibels(level, 1.0, factor, floorDb);
    d_spectrogram->setContourLevels(levels);
    switchDecibelRaster(this, d_spectrogram, d_zoomer, G, on, 1.0, factor, floorDb);
}
