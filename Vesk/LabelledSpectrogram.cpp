#include "LabelledSpectrogram.h"

#include <QFontMetrics>
#include <QPainter>
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
        const QRect labelRect = QFontMetrics(labelFont_).boundingRect(text);
        const QPoint labelCentre(-labelRect.width() / 2, labelRect.height() / 3);

        painter->setFont(labelFont_);
        if (noBackground_) {
            painter->setBackgroundMode(Qt::TransparentMode);
        } else if (labelBackground_.style() != Qt::NoBrush) {
            painter->setBrush(labelBackground_);
        } else if (plot()) {
            painter->setBrush(plot()->canvasBackground());
        }

        const int m = labelMargin_;
        const QRect labelArea = painter->window().adjusted(m, m, -m, -m);
        const QVector<ContourLabelSegment> labels =
            contourLabelSegments(contourLines.value(level), placement, labelsPerContourLevel_, labelArea, xMap, yMap);

        for (const ContourLabelSegment &s : labels) {
            const QPoint anchor(int(xMap.transform(s.a.x())), int(yMap.transform(s.a.y())));
            painter->save();
            painter->translate(anchor);
            painter->rotate(contourLabelAngle(s.a, s.b));
            painter->translate(labelCentre);
            painter->setPen(Qt::NoPen);
            painter->drawRect(labelRect);
            painter->setPen(pen);
            painter->drawText(QPoint(0, 0), text);
            painter->restore();
        }
    }
}
