#ifndef FIELD_METRICS_H
#define FIELD_METRICS_H

#include <QList>
#include <QString>

#include "shared_params.h"

// Readings of a computed field as a researcher takes them: levels in decibels, the peak, the widths
// of the main lobe, the strongest secondary maximum and where the focus lies relative to the plane.
// Every function works on the arrays of a plot (VDOUB3: plane 0 abscissa, plane 1 ordinate,
// plane 2 value; i along the abscissa, j along the ordinate), in the plot's units.

// ---- Decibels ----

// 20 for pressure-like quantities (20 log10), 10 for intensity-like ones (10 log10).
double decibelFactor(bool intensity);

// factor * log10(value / reference), never below floorDb (zero, negative and non-finite values
// and a non-positive reference give the floor).
double toDecibels(double value, double reference, double factor, double floorDb);

// The fraction of the reference a level in dB stands for: 10^(db / factor).
double levelFraction(double db, double factor);

// A copy of z with plane 2 in dB relative to `reference`, floored.
VDOUB3 fieldInDecibels(const VDOUB3 &z, double reference, double factor, double floorDb);

// Contour levels typed as numbers below 0 dB separated by spaces, commas or semicolons
// ("-3 -6 -20"); false on anything else or on none.
bool parseDecibelLevels(const QString &text, QList<double> *levels);

// ---- Peak, profiles, widths ----

struct FieldPoint {
    bool found = false;
    int i = 0, j = 0;
    double x = 0, y = 0, value = 0;
};

// The largest finite value and where it is (the first of equal values).
FieldPoint fieldPeak(const VDOUB3 &z);

// One line of the grid: coordinates along it and values.
struct LineProfile {
    VDOUB coord, value;
};
LineProfile profileAlongX(const VDOUB3 &z, int j); // the row of ordinate index j
LineProfile profileAlongY(const VDOUB3 &z, int i); // the column of abscissa index i

// Where a profile first falls below `level` on each side of index `peak`, interpolated linearly
// between the two grid points around each crossing. Not found when it stays at or above the level
// up to an end of the line.
struct LobeWidth {
    bool found = false;
    double low = 0, high = 0;
    double width() const { return high - low; }
};
LobeWidth lobeWidth(const LineProfile &profile, int peak, double level);

// The strongest maximum outside the main lobe. The main lobe is every point reached from the peak
// by steps to a neighbour (along either axis) that is not higher: it ends where the field starts
// to rise again, so whatever lies beyond is a lobe of its own. The largest value outside is then
// a local maximum. Not found when the main lobe covers the grid.
FieldPoint secondaryMaximum(const VDOUB3 &z, const FieldPoint &peak);

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

struct FieldMetrics {
    double factor = 20;
    FieldPoint peak;
    LobeWidth x3, y3, x6, y6; // -3 dB and -6 dB widths through the peak
    FieldPoint secondary;
    double secondaryDb = 0;
};
FieldMetrics fieldMetrics(const VDOUB3 &z, double factor);

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

// Peak of the plane relative to the focus pressure, 20 log10(peak / |p(F)|), in dB.
double steeringLossDb(double normalisedPeak, double gain);

// |p(F)|/p0 as the calculator leaves it in the job folder (focus_pressure.txt); false when the
// file is missing or holds no positive number.
bool readFocusPressure(const QString &path, double *gain);

#endif // FIELD_METRICS_H
