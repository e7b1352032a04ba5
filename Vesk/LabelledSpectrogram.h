#ifndef LABELLEDSPECTROGRAM_H
#define LABELLEDSPECTROGRAM_H

#include <QBrush>
#include <QFont>
#include <QMap>
#include <QPolygonF>
#include <QString>
#include <functional>
#include <qwt_plot_spectrogram.h>

// A spectrogram whose contour lines carry the value of their level: small labels written on the
// line and turned along it, evenly spaced along each level and/or at the level's extreme points
// inside the visible area.
class LabelledSpectrogram : public QwtPlotSpectrogram
{
public:
    // Where the labels go; the flags combine.
    enum LabelPlacementFlags {
        NO_LABELS = 0,
        N_PER_LEVEL = 1, // evenly spaced along each level
        AT_MIN_X = 2,    // at the level's point with the smallest x inside the label area
        AT_MAX_X = 4,
        AT_MIN_Y = 8, // plot coordinates: the lowest point
        AT_MAX_Y = 16
    };
    // Slots of the extreme-point search.
    enum LabelPlacementIndex {
        AT_MIN_X_IDX = 0,
        AT_MAX_X_IDX = 1,
        AT_MIN_Y_IDX = 2,
        AT_MAX_Y_IDX = 3,
        PLACEMENT_SIZE = 4
    };

    LabelledSpectrogram();

    void setLabelFont(const QFont &font);
    void setLabelBackground(const QBrush &brush); // Qt::NoBrush: the canvas background
    void setLabelsPerContourLevel(int n);
    void setLabelMargin(int pixels);
    void setLabelPlacement(unsigned int placement);
    unsigned int getLabelPlacement() const;
    // Placement of single levels, overriding setLabelPlacement for them (nested lines close
    // together can put their labels on opposite sides).
    void setLevelLabelPlacements(const QMap<double, unsigned int> &placements);
    // The text written on the lines of a level; without one, the level's value (6 digits).
    void setLabelText(std::function<QString(double level)> text);
    QString labelText(double level) const;
    // True: labels are written without any background.
    void SetBackdroundTransparentMode(bool tm);

    // Draws the lines as the base class does, then the labels. Called for the screen and for
    // exports alike.
    void drawContourLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                          const QMap<double, QPolygonF> &contourLines) const override;

private:
    // labelFont_ as it must be set on this painter for the labels to keep their screen size.
    QFont labelFontFor(const QPainter *painter) const;

    QFont labelFont_;
    QBrush labelBackground_;
    int labelsPerContourLevel_;
    int labelMargin_;
    unsigned int labelPlacement_;
    bool noBackground_;
    std::function<QString(double)> labelText_;
    QMap<double, unsigned int> levelPlacements_;
};

// Degrees per radian.
extern const double d180_pi;

// One label: the contour segment it sits on, from a to b in plot coordinates.
struct ContourLabelSegment {
    QPointF a, b;
};

// The segments a level's labels sit on, in drawing order. lines holds the level's segments as
// Qwt delivers them (points 2k and 2k+1 form one segment); labelArea is in pixels. Evenly spaced
// labels first (every 2*step points from step, step even and at least 100, about perLevel of
// them), then the extreme-point slots in index order; ties keep the first segment.
QVector<ContourLabelSegment> contourLabelSegments(const QPolygonF &lines, unsigned int placement, int perLevel,
                                                  const QRect &labelArea, const QwtScaleMap &xMap,
                                                  const QwtScaleMap &yMap);

// The canvas in paint coordinates: the pixel ranges of the scale maps.
QRect contourCanvasRect(const QwtScaleMap &xMap, const QwtScaleMap &yMap);

// The anchor of a label, moved by whole pixels just enough for the label's box (label, relative to
// the anchor before the turn by angle degrees) to lie inside the canvas.
QPoint insideCanvas(const QPoint &anchor, double angle, const QRect &label, const QRect &canvas);

// The rotation of a label on the segment from a to b, in the painter's degrees (clockwise),
// measured in plot units; a segment running right to left is turned a further -180 degrees.
double contourLabelAngle(const QPointF &a, const QPointF &b);

#endif // LABELLEDSPECTROGRAM_H
