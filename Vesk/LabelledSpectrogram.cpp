#include "LabelledSpectrogram.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPaintDevice>
#include <QVector>
#include <cmath>
#include <qwt_plot.h>
#include <qwt_scale_map.h>

const double d180_pi = 57.29577951308232;

LabelledSpectrogram::LabelledSpectrogram() :
    QwtPlotSpectrogram(QString()), labelFont_("Helvetica", 8, QFont::Bold, false), labelBackground_(Qt::NoBrush),
    labelsPerContourLevel_(2), labelMargin_(15), labelPlacement_(AT_MAX_Y), noBackground_(false)
{}

void LabelledSpectrogram::setLabelFont(const QFont &font)
{
    labelFont_ = font;
}

void LabelledSpectrogram::setLabelBackground(const QBrush &brush)
{
    labelBackground_ = brush;
}

void LabelledSpectrogram::setLabelsPerContourLevel(int n)
{
    labelsPerContourLevel_ = n;
}

void LabelledSpectrogram::setLabelMargin(int pixels)
{
    labelMargin_ = pixels;
}

void LabelledSpectrogram::setLabelPlacement(unsigned int placement)
{
    labelPlacement_ = placement;
}

unsigned int LabelledSpectrogram::getLabelPlacement() const
{
    return labelPlacement_;
}

void LabelledSpectrogram::setLabelText(std::function<QString(double)> text)
{
    labelText_ = std::move(text);
}

void LabelledSpectrogram::setLevelLabelPlacements(const QMap<double, unsigned int> &placements)
{
    levelPlacements_ = placements;
}

QString LabelledSpectrogram::labelText(double level) const
{
    if (labelText_)
        return labelText_(level);
    return QString::number(level, 'g', 6);
}

void LabelledSpectrogram::SetBackdroundTransparentMode(bool tm)
{
    noBackground_ = tm;
}

QVector<ContourLabelSegment> contourLabelSegments(const QPolygonF &lines, unsigned int placement, int perLevel,
                                                  const QRect &labelArea, const QwtScaleMap &xMap,
                                                  const QwtScaleMap &yMap)
{
    QVector<ContourLabelSegment> labels;
    const int n = lines.size();

    // Evenly spaced along the level. The step stays even so that it lands on a segment start,
    // and is at least 100 points so short contours are not crowded with labels.
    if ((placement & LabelledSpectrogram::N_PER_LEVEL) && perLevel > 0) {
        int step = (n / 2) / perLevel;
        if (step % 2 != 0)
            step -= 1;
        if (step <= 99)
            step = 100;
        for (int k = step; k < n - 1; k += 2 * step)
            labels.append({lines[k], lines[k + 1]});
    }

    // Extreme points among the segment starts that fall inside the label area.
    const unsigned int flags[LabelledSpectrogram::PLACEMENT_SIZE] = {
        LabelledSpectrogram::AT_MIN_X, LabelledSpectrogram::AT_MAX_X, LabelledSpectrogram::AT_MIN_Y,
        LabelledSpectrogram::AT_MAX_Y};
    int index[LabelledSpectrogram::PLACEMENT_SIZE] = {-1, -1, -1, -1};
    double test[LabelledSpectrogram::PLACEMENT_SIZE] = {0, 0, 0, 0};
    for (int k = 0; k + 1 < n; k += 2) {
        const QPointF &p = lines[k];
        const QPoint pixel(int(xMap.transform(p.x())), int(yMap.transform(p.y())));
        if (!labelArea.contains(pixel))
            continue;
        for (int s = 0; s < LabelledSpectrogram::PLACEMENT_SIZE; ++s) {
            if (!(placement & flags[s]))
                continue;
            const double v =
                (s == LabelledSpectrogram::AT_MIN_X_IDX || s == LabelledSpectrogram::AT_MAX_X_IDX) ? p.x() : p.y();
            const bool lowest = s == LabelledSpectrogram::AT_MIN_X_IDX || s == LabelledSpectrogram::AT_MIN_Y_IDX;
            if (index[s] < 0 || (lowest ? test[s] > v : v > test[s])) {
                index[s] = k;
                test[s] = v;
            }
        }
    }
    for (int s = 0; s < LabelledSpectrogram::PLACEMENT_SIZE; ++s)
        if (index[s] >= 0)
            labels.append({lines[index[s]], lines[index[s] + 1]});
    return labels;
}

double contourLabelAngle(const QPointF &a, const QPointF &b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    // The painter turns clockwise; keep text on a right-to-left segment the same way up.
    double angle = -std::atan2(dy, dx) * d180_pi;
    if (dx < 0)
        angle -= 180.0;
    return angle;
}

QRect contourCanvasRect(const QwtScaleMap &xMap, const QwtScaleMap &yMap)
{
    return QRectF(QPointF(xMap.p1(), yMap.p1()), QPointF(xMap.p2(), yMap.p2())).normalized().toRect();
}

QPoint insideCanvas(const QPoint &anchor, double angle, const QRect &label, const QRect &canvas)
{
    QTransform t;
    t.translate(anchor.x(), anchor.y());
    t.rotate(angle);
    const QRectF box = t.mapRect(QRectF(label));
    // Whole pixels, so that a label already inside stays exactly where it was.
    auto shift = [](double low, double high, double from, double to) {
        if (low < from)
            return int(std::ceil(from - low));
        if (high > to)
            return -int(std::ceil(high - to));
        return 0;
    };
    return anchor
           + QPoint(shift(box.left(), box.right(), canvas.left(), canvas.right() + 1),
                    shift(box.top(), box.bottom(), canvas.top(), canvas.bottom() + 1));
}

QFont LabelledSpectrogram::labelFontFor(const QPainter *painter) const
{
    // The plot renderer draws an export at print resolution through a transform that scales the
    // screen layout up; a font in points would be scaled a second time by the device's own
    // resolution. Fix it in screen pixels there, as Qwt does for its own texts.
    const QPaintDevice *device = painter->device();
    if (labelFont_.pixelSize() > 0 || !device || !plot() || device->logicalDpiY() == plot()->logicalDpiY())
        return labelFont_;
    QFont font = labelFont_;
    font.setPixelSize(QFontInfo(labelFont_).pixelSize());
    return font;
}

void LabelledSpectrogram::drawContourLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                                           const QMap<double, QPolygonF> &contourLines) const
{
    QwtPlotSpectrogram::drawContourLines(painter, xMap, yMap, contourLines);
    if (labelPlacement_ == NO_LABELS && levelPlacements_.isEmpty())
        return;

    const QList<double> levels = contourLevels();
    for (double level : levels) {
        const unsigned int placement = levelPlacements_.value(level, labelPlacement_);
        if (placement == NO_LABELS)
            continue;
        // The pen the base class drew this level with.
        QPen pen = defaultContourPen();
        if (pen.style() == Qt::NoPen)
            pen = contourPen(level);
        if (pen.style() == Qt::NoPen)
            continue;

        const QString text = labelText(level);
        const QFont font = labelFontFor(painter);
        const QRect labelRect = QFontMetrics(font).boundingRect(text);
        const QPoint labelCentre(-labelRect.width() / 2, labelRect.height() / 3);

        painter->setFont(font);
        if (noBackground_) {
            painter->setBackgroundMode(Qt::TransparentMode);
        } else if (labelBackground_.style() != Qt::NoBrush) {
            painter->setBrush(labelBackground_);
        } else if (plot()) {
            painter->setBrush(plot()->canvasBackground());
        }

        // The canvas as the scale maps see it: the widget on the screen, the plot's place on the
        // page of an export (painter->window() is then the whole page).
        const QRect canvas = contourCanvasRect(xMap, yMap);
        const int m = labelMargin_;
        const QRect labelArea = canvas.adjusted(m, m, -m, -m);
        const QVector<ContourLabelSegment> labels =
            contourLabelSegments(contourLines.value(level), placement, labelsPerContourLevel_, labelArea, xMap, yMap);

        for (const ContourLabelSegment &s : labels) {
            const double angle = contourLabelAngle(s.a, s.b);
            const QPoint anchor = insideCanvas(QPoint(int(xMap.transform(s.a.x())), int(yMap.transform(s.a.y()))),
                                               angle, labelRect.translated(labelCentre), canvas);
            painter->save();
            painter->translate(anchor);
            painter->rotate(angle);
            painter->translate(labelCentre);
            painter->setPen(Qt::NoPen);
            painter->drawRect(labelRect);
            painter->setPen(pen);
            painter->drawText(QPoint(0, 0), text);
            painter->restore();
        }
    }
}
