#ifndef QUALITY_RESULTS_H
#define QUALITY_RESULTS_H

#include <QList>
#include <QString>

#include "grid.h"
#include "shared_params.h"

class Result_Main_and_Side_wnd;
class Result_Wnd_qual;

// The result actions of the quality windows: check that the calculator has finished a scan,
// take the result type and contour levels, find the best main maximum and open the result windows.
namespace qualityresult {

// One set of plane parameters in the order the result windows take them: the axial six (z start
// in m, angle in degrees, points along z and across r, r and z steps in m), then the transverse
// seven (z, half-widths, point counts, steps; m). The plane a set does not describe holds zeros.
struct PlaneSet {
    double zminpr = 0, phipr = 0;
    int nzpr = 0, nrpr = 0;
    double drpr = 0, dzpr = 0;
    double zop = 0, rxp = 0, ryp = 0, nxp = 0, nyp = 0, dxp = 0, dyp = 0;
};

// What a quality window hands to its result actions.
struct Request {
    bool axial = true;        // the axial window (else the transverse one)
    SharedGrid G;             // grid of the last scan run, for the single-result windows
    PlaneSet plane;           // the field region of the last run, and the other plane's globals
    PlaneSet main, side;      // focus-shift regions of the last main and side runs
    int resultType = 0;       // the window's comboBox: 0 pressure, 1 intensity
    QList<double> levelsMain; // the three main-maxima level boxes, in order
    QList<double> levelsSide; // the three side-maxima level boxes, in order
};

// Whether the calculator has finished the main- or side-maxima job: its calcdone can be opened.
bool jobDone(bool side);

// "Ошибка!" text of a job that has not been done.
QString notDoneText(bool side);

// The first reason the combined result cannot be shown, in the order the user should hear them;
// empty when it can.
QString combinedProblem(bool mainDone, bool sideDone, bool samePlane, bool overlap);

// A scan whose calcdone is there but whose results do not belong to the last run (a binary result
// of another region or size than its grid, or a missing field result text file): the text naming the file,
// empty when the results are complete. The text file is checked only for the main-maxima job,
// whose field maximum scales the map.
QString resultFileProblem(bool side, bool axial);

// The focus position with the largest main-maxima value: the row (plane 2, index i) with the
// largest maximum, then the largest value within it; ties keep the first row and column.
struct BestFocus {
    int ix = -1, iy = -1;
    double x = 0, y = 0; // planes 0 and 1 at (ix, iy); 0 for an empty scan
};
BestFocus bestMainMaximum(const VDOUB3 &v);

// The field maximum of the main-maxima job, squared for intensity ratios.
double scaleMaximum(bool intensity);

// The three actions. Each checks first and reports a failure as "Ошибка!" without opening
// anything (null result); otherwise it sets the quality globals the windows read, opens a new
// result window near (100, 100) and shows it.
Result_Wnd_qual *showSingle(bool side, const Request &r);
Result_Main_and_Side_wnd *showMainAndSide(const Request &r);

} // namespace qualityresult

#endif // QUALITY_RESULTS_H
