#ifndef LOBE_METRICS_H
#define LOBE_METRICS_H

#include <vector>

// Readings of a computed field as a researcher takes them: levels in decibels, the peak, the widths
// of the main lobe and the strongest secondary maximum. Plain numerics with no GUI, shared by the
// application's result windows and the Python module. Every function works on the arrays of a plot
// (VDOUB3: plane 0 abscissa, plane 1 ordinate, plane 2 value; i along the abscissa, j along the
// ordinate), in whatever units those arrays hold.

// The same rows of numbers as the application's (a repeated identical typedef is allowed).
typedef std::vector<double> VDOUB;
typedef std::vector<VDOUB> VDOUB2;
typedef std::vector<VDOUB2> VDOUB3;

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

// ---- All together ----

struct FieldMetrics {
    double factor = 20;
    FieldPoint peak;
    LobeWidth x3, y3, x6, y6; // -3 dB and -6 dB widths through the peak
    FieldPoint secondary;
    double secondaryDb = 0;
};
FieldMetrics fieldMetrics(const VDOUB3 &z, double factor);

// Peak of the plane relative to the focus pressure, 20 log10(peak / |p(F)|), in dB.
double steeringLossDb(double normalisedPeak, double gain);

#endif // LOBE_METRICS_H
