#ifndef PROFILE_WND_H
#define PROFILE_WND_H

#include <QString>
#include <QWidget>

#include "field_metrics.h"

class QCheckBox;
class QComboBox;
class QwtPlot;
class QwtPlotCurve;

// What a profile window needs to know about the field it cuts.
struct ProfileSetup {
    QString xName = "x", yName = "y"; // axis names of the field plot
    QString unit;                     // unit of the linear values, empty when dimensionless
    double factor = 20;               // 20 log10 for a pressure, 10 log10 for an intensity
    double floorDb = -40;
    bool decibels = false;         // initial scale
    bool haveFocus = false;        // the focus projects onto the grid
    double focusU = 0, focusV = 0; // its projection, cm
};

// Index of the coordinate nearest to c (0 for an empty list).
int nearestIndex(const VDOUB &coords, double c);

// The two lines through grid point (i, j): along the abscissa and along the ordinate, values in
// the linear quantity or, with decibels, in dB relative to the larger maximum of the field.
struct ProfilePair {
    LineProfile alongX, alongY;
    double x = 0, y = 0; // the point they cross at, cm
};
ProfilePair profilesThrough(const VDOUB3 &z, int i, int j, bool decibels, double factor, double floorDb);

// Text export of a profile pair: for each line a heading, the column titles and one line per point
// "coordinate    value" (coordinates in cm, six decimals).
QString profilesText(const ProfilePair &p, const ProfileSetup &s, bool decibels);

// Line profiles through the peak (or through the focus) along both axes of a field: two curves
// against the offset from the crossing point, linear or in dB, exportable like the plots.
class ProfileWnd : public QWidget
{
    Q_OBJECT

public:
    ProfileWnd(const VDOUB3 &z, const ProfileSetup &setup, QWidget *parent = nullptr);

    QwtPlot *plot() const { return m_plot; }
    const ProfilePair &profiles() const { return m_profiles; }
    void setDecibels(bool on);
    void setThroughFocus(bool on);
    void exportDocument();

private:
    void update();

    VDOUB3 m_z;
    ProfileSetup m_setup;
    ProfilePair m_profiles;
    QwtPlot *m_plot;
    QwtPlotCurve *m_curveX, *m_curveY;
    QCheckBox *m_decibels;
    QComboBox *m_through;
};

#endif // PROFILE_WND_H
