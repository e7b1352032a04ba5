#include "plot_export.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

#include "hdf5_export.h"
#include "platform.h"
#include "write_z.h"

QString exportFilters(bool hdf5)
{
    QStringList filters;
    filters << "PDF Documents (*.pdf)"
            << "SVG Documents (*.svg)"
            << "Postscript Documents (*.ps)";

    const QList<QByteArray> imageFormats = QImageWriter::supportedImageFormats();
    if (!imageFormats.isEmpty()) {
        QString imageFilter("Images (");
        for (int i = 0; i < imageFormats.size(); ++i) {
            if (i > 0)
                imageFilter += " ";
            imageFilter += "*.";
            imageFilter += imageFormats[i];
        }
        imageFilter += ")";
        filters << imageFilter;
    }
    filters << "Text Files (*.txt)";
    if (hdf5)
        filters << "HDF5 Files (*.h5)";
    return filters.join(";;");
}

QString withFilterSuffix(const QString &fileName, const QString &selectedFilter)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    const int open = selectedFilter.indexOf('('), close = selectedFilter.lastIndexOf(')');
    if (open < 0 || close < open)
        return fileName;
    QStringList suffixes;
    for (const QString &pattern : selectedFilter.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts))
        if (pattern.startsWith("*."))
            suffixes << pattern.mid(2);
    if (suffixes.isEmpty())
        return fileName;
    const QString suffix = suffixes.contains("png") ? QString("png") : suffixes.first();
    return fileName.endsWith('.') ? fileName + suffix : fileName + "." + suffix;
}

QSizeF exportPageSizeMm(const QSize &plotPixels, int dpi)
{
    if (dpi <= 0)
        return QSizeF();
    return QSizeF((plotPixels.width() / dpi) * 25.4, (plotPixels.height() / dpi) * 25.4);
}

namespace {
// ASCII85 (base-85) text of a byte string, in lines short enough for any PostScript reader.
// A line never starts with '%', so no reader mistakes data for a comment.
QByteArray ascii85(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size() * 5 / 4 + data.size() / 60 + 16);
    int lineLength = 0;
    auto put = [&](char ch) {
        if (lineLength == 0 && ch == '%') {
            out.append(' ');
            ++lineLength;
        }
        out.append(ch);
        if (++lineLength >= 76) {
            out.append('\n');
            lineLength = 0;
        }
    };

    const int n = data.size();
    const uchar *p = reinterpret_cast<const uchar *>(data.constData());
    for (int i = 0; i < n; i += 4) {
        const int count = qMin(4, n - i);
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (k < count ? p[i + k] : 0u);
        if (count == 4 && word == 0) {
            put('z');
            continue;
        }
        char digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = char('!' + word % 85);
            word /= 85;
        }
        for (int k = 0; k < count + 1; ++k)
            put(digits[k]);
    }
    out.append("~>\n");
    return out;
}

// A PostScript string literal: printable ASCII as is, everything else as octal escapes.
QByteArray psString(const QByteArray &text)
{
    QByteArray out("(");
    for (char ch : text) {
        const uchar u = uchar(ch);
        if (ch == '(' || ch == ')' || ch == '\\') {
            out.append('\\');
            out.append(ch);
        } else if (u < 32 || u > 126) {
            out.append(QByteArray("\\") + QByteArray::number(u, 8).rightJustified(3, '0'));
        } else {
            out.append(ch);
        }
    }
    out.append(')');
    return out;
}

QImage renderPlotImage(QwtPlot *plot, const QRectF &documentRect, int resolution)
{
    const QRect imageRect = documentRect.toRect();
    const int dotsPerMeter = qRound(resolution / 25.4 * 1000.0);
    QImage image(imageRect.size(), QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(QColor(Qt::white).rgb());
    QPainter painter(&image);
    renderPlot(plot, &painter, imageRect);
    painter.end();
    return image;
}
} // namespace

bool writePostScriptImage(const QImage &image, const QString &fileName, const QSizeF &sizePt, const QString &title)
{
    if (image.isNull() || sizePt.isEmpty())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    QByteArray samples;
    samples.reserve(w * h * 3);
    for (int y = 0; y < h; ++y)
        samples.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), w * 3);
    // qCompress puts the length in front of a zlib stream; FlateDecode reads the stream itself.
    const QByteArray deflated = qCompress(samples).mid(4);

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    const QByteArray W = QByteArray::number(sizePt.width(), 'f', 2);
    const QByteArray H = QByteArray::number(sizePt.height(), 'f', 2);
    QByteArray ps;
    ps += "%!PS-Adobe-3.0\n";
    // DSC lines stay under 255 characters: a long title is cut at a whole character.
    QString shortTitle = title;
    while (psString(shortTitle.toUtf8()).size() > 200)
        shortTitle.chop(1);
    ps += "%%Title: " + psString(shortTitle.toUtf8()) + "\n";
    ps += "%%Creator: Kormax\n";
    ps += "%%BoundingBox: 0 0 " + QByteArray::number(int(std::ceil(sizePt.width()))) + " "
          + QByteArray::number(int(std::ceil(sizePt.height()))) + "\n";
    ps += "%%HiResBoundingBox: 0 0 " + W + " " + H + "\n";
    ps += "%%DocumentMedia: Plot " + W + " " + H + " 0 () ()\n";
    ps += "%%LanguageLevel: 3\n";
    ps += "%%Pages: 1\n";
    ps += "%%EndComments\n";
    ps += "%%BeginSetup\n<< /PageSize [" + W + " " + H + "] >> setpagedevice\n%%EndSetup\n";
    ps += "%%Page: 1 1\n";
    ps += "gsave\n" + W + " " + H + " scale\n/DeviceRGB setcolorspace\n";
    ps += "<<\n  /ImageType 1\n  /Width " + QByteArray::number(w) + "\n  /Height " + QByteArray::number(h)
          + "\n  /BitsPerComponent 8\n  /Decode [0 1 0 1 0 1]\n";
    ps += "  /ImageMatrix [" + QByteArray::number(w) + " 0 0 -" + QByteArray::number(h) + " 0 " + QByteArray::number(h)
          + "]\n";
    ps += "  /DataSource currentfile /ASCII85Decode filter /FlateDecode filter\n>> image\n";

    bool ok = file.write(ps) == ps.size();
    const QByteArray data = ascii85(deflated);
    ok = ok && file.write(data) == data.size();
    const QByteArray tail("grestore\nshowpage\n%%Trailer\n%%EOF\n");
    ok = ok && file.write(tail) == tail.size();
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

void renderPlot(QwtPlot *plot, QPainter *painter, const QRectF &rect)
{
    QwtPlotRenderer renderer;
    // Make the document look like the widget: its background and its frames.
    // (Qwt 6.1 has no KeepFrames layout flag: not discarding the canvas frame is its equivalent.)
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground, false);
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasFrame, false);
    renderer.render(plot, painter, rect);
}

bool renderPlotDocument(QwtPlot *plot, const QString &fileName, const QSizeF &sizeMm, int resolution)
{
    if (!plot || sizeMm.isEmpty() || resolution <= 0)
        return false;

    QString title = plot->title().text();
    if (title.isEmpty())
        title = "Plot Document";

    const QSizeF size = sizeMm / 25.4 * resolution;
    const QRectF documentRect(0.0, 0.0, size.width(), size.height());
    const QString format = QFileInfo(fileName).suffix().toLower();

    if (format == "pdf") {
        QPdfWriter writer(fileName);
        writer.setPageSize(QPageSize(sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
        writer.setTitle(title);
        writer.setCreator("Kormax");
        writer.setResolution(resolution);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        renderPlot(plot, &painter, documentRect);
        return painter.end();
    }
    if (format == "svg") {
        QSvgGenerator generator;
        generator.setTitle(title);
        generator.setFileName(fileName);
        generator.setResolution(resolution);
        generator.setSize(documentRect.size().toSize());
        generator.setViewBox(documentRect);
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        renderPlot(plot, &painter, documentRect);
        return painter.end();
    }
    if (format == "ps") {
        // Qt 5 has no PostScript printer: the page is rendered as at 300 dpi and embedded as an image.
        const QImage image = renderPlotImage(plot, documentRect, resolution);
        return writePostScriptImage(image, fileName, sizeMm / 25.4 * 72.0, title);
    }
    if (!format.isEmpty() && QImageWriter::supportedImageFormats().contains(format.toLatin1())) {
        const QImage image = renderPlotImage(plot, documentRect, resolution);
        return !image.isNull() && image.save(fileName, format.toLatin1().constData());
    }
    return false;
}

void exportPlot(QWidget *parent, QwtPlot *plot, const std::function<VDOUB3()> &arrays, const QString &ax)
{
    exportPlotWith(
        parent, plot, [&](const QString &name) { return write_z(name, arrays(), ax); },
        [&](const QString &name) { return writePlotHdf5(name, arrays(), ax, plot->title().text(), nullptr); });
}

void exportPlotWith(QWidget *parent, QwtPlot *plot, const std::function<bool(const QString &)> &writeText,
                    const std::function<bool(const QString &)> &writeHdf5)
{
    QString selectedFilter;
    const QString chosen = platform::getSaveFileName(parent, "Export File Name", "result.pdf",
                                                     exportFilters(bool(writeHdf5)), &selectedFilter, false);
    if (chosen.isEmpty())
        return;
    const QString fileName = withFilterSuffix(chosen, selectedFilter);

    bool written = false;
    if (fileName.endsWith(".txt"))
        written = writeText(fileName);
    else if (writeHdf5 && fileName.endsWith(".h5"))
        written = writeHdf5(fileName);
    else
        written = renderPlotDocument(plot, fileName, exportPageSizeMm(plot->size(), platform::screenDpi()), 300);

    if (!written)
        platform::information(parent, "Ошибка!", "Не удалось сохранить файл: " + QDir::toNativeSeparators(fileName));
}
