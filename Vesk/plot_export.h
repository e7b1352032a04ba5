#ifndef PLOT_EXPORT_H
#define PLOT_EXPORT_H

#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>

#include "shared_params.h"

class QImage;
class QPainter;
class QRectF;
class QWidget;
class QwtPlot;

// Export of a result plot, shared by every result window: a document or an image rendered by
// Qwt's plot renderer, or the plot's arrays as text (write_z).

// "PDF Documents (*.pdf);;SVG Documents (*.svg);;Postscript Documents (*.ps);;Images (*.bmp ...);;
// Text Files (*.txt)", with hdf5 followed by ";;HDF5 Files (*.h5)": the image formats are those
// this installation can write.
QString exportFilters(bool hdf5 = false);

// The name the export writes: a name without a suffix takes the one of the filter chosen in the
// dialog ("noext" with "PDF Documents (*.pdf)" is "noext.pdf"; with the images, "png" when the
// installation can write it, else the first listed); a name with a suffix stays as it is.
QString withFilterSuffix(const QString &fileName, const QString &selectedFilter);

// The plot's on-screen size in whole inches, in millimetres (a 500-pixel plot at 96 dpi: 127 mm).
QSizeF exportPageSizeMm(const QSize &plotPixels, int dpi);

// Draws the plot as it is shown (background, frames, current zoom) into rect of the painter's
// device; the layout is that of the screen, scaled by the device's resolution.
void renderPlot(QwtPlot *plot, QPainter *painter, const QRectF &rect);

// Renders the plot as it is shown (current zoom) into a PDF, SVG, PostScript or image file chosen
// by the suffix, at the given resolution. False when nothing could be written: unknown suffix,
// empty page, or a file that cannot be created.
bool renderPlotDocument(QwtPlot *plot, const QString &fileName, const QSizeF &sizeMm, int resolution);

// Writes an RGB image as a one-page PostScript (level 3) document of the given size in points.
bool writePostScriptImage(const QImage &image, const QString &fileName, const QSizeF &sizePt, const QString &title);

// The "Сохранить в файл" action: asks for a name (default "result.pdf", an existing file is
// replaced without asking; no suffix: the chosen filter's); a name ending in ".txt" gets the arrays from `arrays` through write_z,
// a name ending in ".h5" the arrays with the session's parameters as HDF5 (writePlotHdf5), any
// other name the rendered plot at 300 dpi. A file that could not be written is reported as
// "Ошибка!" / "Не удалось сохранить файл: <path>"; a successful export says nothing.
void exportPlot(QWidget *parent, QwtPlot *plot, const std::function<VDOUB3()> &arrays, const QString &ax);
// The same with a text writer of its own for a name ending in ".txt" (false: nothing written) and,
// when given, an HDF5 writer for ".h5".
void exportPlotWith(QWidget *parent, QwtPlot *plot, const std::function<bool(const QString &)> &writeText,
                    const std::function<bool(const QString &)> &writeHdf5 = {});

#endif // PLOT_EXPORT_H
