#ifndef FIELD_METRICS_H
#define FIELD_METRICS_H

#include <QList>
#include <QString>

#include "lobe_metrics.h"
#include "shared_params.h"

// The readings of a computed field (peak, lobe widths, secondary maximum: lobe_metrics.h) as the
// result windows show them, with where the focus lies relative to the plane. Every function works
// on the arrays of a plot (VDOUB3: plane 0 abscissa, plane 1 ordinate, plane 2 value; i along the
// abscissa, j along the ordinate), in the plot's units.

// ---- Decibels ----

// Contour levels typed as numbers below 0 dB separated by spaces, commas or semicolons
// ("-3 -6 -20"); false on anything else or on none.
bool parseDecibelLevels(const QString &text, QList<double> *levels);

// ---- Focus and plane ----

// The focus in the plot's frame: (u, v) its projection on the plane in plot coordinates and
// `distance` its distance from the plane, all in centimetres.
struct FocusPlacement {
    double u = 0, v = 0, distance = 0;
    bool inPlane = false; // distance within the tolerance
    bool onGrid = false;  // (u, v) within the extent of the grid
};
// The default tolerance, 10 um, is far below a wavelength and still takes in the axial plane
// through an off-axis focus whose angle the six characters of its field round.
FocusPlacement focusPlacement(const VDOUB3 &z, double u, double v, double distance, double tolerance = 1e-3);

// The focus of the last run (shared xF, yF, zF, the plane globals) placed in the plot's frame:
// for a transverse plane (x, y) at distance |zF - zop|; for an axial plane the focus turned with
// the elements as the job files turn it, (zF, its coordinate across the axis) at the distance of
// its other coordinate.
FocusPlacement currentFocusPlacement(const VDOUB3 &z, bool axial);

// The angle of the axial plane through a focus at (xF, yF), in degrees within (-90, 90]: the plane
// turned by phi holds the points (rho sin phi, rho cos phi). Any angle holds a focus on the axis (0).
double axialAngleThrough(double xF, double yF);

// What the windows say when the plane misses the focus, `distance` centimetres away: the plane
// window under its preview, the result window under its focus line.
QString focusMissText(double distance);

// ---- All together ----

// What the text of the metrics says beyond the field itself.
struct MetricsContext {
    QString xName = "x", yName = "y"; // axis names
    QString unit;                     // unit of the values, empty when dimensionless
    bool haveFocus = false;
    FocusPlacement focus;
    // |p(F)|/p0 from the calculator and the plane's largest |p|/p0, when known.
    bool haveGain = false;
    double gain = 0, normalisedPeak = 0;
};

// Plain text, one reading a line, numbers with a decimal point; widths in mm, positions in cm.
QString fieldMetricsText(const FieldMetrics &m, const MetricsContext &context);

// |p(F)|/p0 as the calculator leaves it in the job folder (focus_pressure.txt); false when the
// file is missing or holds no positive number.
bool readFocusPressure(const QString &path, double *gain);

#endif // FIELD_METRICS_H
