#ifndef SHARED_PARAMS_H
#define SHARED_PARAMS_H

#include <QList>
#include <QString>
#include <QVector>
#include <vector>

// Rows of numbers: element lists, field and scan results ([plane][i][j]).
typedef std::vector<double> VDOUB;
typedef std::vector<VDOUB> VDOUB2;
typedef std::vector<VDOUB2> VDOUB3;

// Everything that crosses windows. One GUI thread reads and writes these; nothing is saved between runs.
// All values are SI (metres, hertz, pascals, kg/m^3, m/s), angles in degrees; the forms convert.
namespace shared {

// Array, medium and source. R, C and pvs are single precision on purpose: their rounding shows
// in the checks (twice a radius of 13 cm is slightly below 26 cm).
extern double A;          // m, aperture (rim diameter)
extern float R;           // m, radius of curvature
extern double r;          // m, element radius
extern double rotv;       // m, radius of the central hole
extern double nu;         // Hz, operating frequency
extern double ro;         // kg/m^3, density of the medium
extern double c;          // m/s, speed of sound
extern float C;           // J/(kg K), heat capacity: no input, always 4200
extern float pvs;         // dB/(cm MHz), absorption at 1 MHz, proportional to the frequency
extern int medium;        // the medium's preset (media::presets(), 0: water)
extern double initpres;   // Pa, pressure amplitude on the element surface
extern double initintens; // W/m^2, intensity on the element surface

// Focus (m, z along the axis from the pole) and its entry flags.
extern double xF, yF, zF;
extern bool xF_is_set, yF_is_set, zF_is_set;

// Element positions file and the elements it holds (rows of x, y in metres).
extern QString name;
extern VDOUB2 Elem;

// Completion bookkeeping of the main window: one flag per input.
extern int kmax; // 13, never changed
extern QVector<bool> CH;
extern int k;

// Transverse calculation plane (m); N counts points from the centre to the edge inclusive.
extern double zop, Nxp, Nyp, dxp, dyp, rxp, ryp;
extern bool zop_is_set, Nxp_is_set, Nyp_is_set, dxp_is_set, dyp_is_set;

// Axial calculation plane (m, phipr in degrees).
extern double zminpr, phipr, Nrpr, Nzpr, drpr, dzpr, zmaxpr, rpr;
extern bool zminpr_is_set, phipr_is_set, Nrpr_is_set, Nzpr_is_set, drpr_is_set, dzpr_is_set;

// Mode and scene flags: current plane, focus complete, focus-shift outline shown, side-maxima scan.
extern bool is_poper, is_prodol, is_foc, is_scan, is_side;

// Result type of the next field result window: exactly one is true after a result button.
extern bool is_dl_press, is_press, is_intens, is_dl_intens;

// The last field run: path of its result file and its point counts.
extern QString file_to_calc;
extern int Nx_G, Ny_G;

// Quality scans (main maxima in main_max/, side maxima in side_max/) and their results.
extern bool is_press_qual, is_intens_qual; // quality results shown for pressure or intensity
// Focus-shift grid of the last scan run and of the last run of each kind: Nx along the plot's
// horizontal axis (z of an axial region, x of a transverse one), Ny along its vertical axis.
extern int Nx_G_qual, Ny_G_qual;
extern int Nx_G_qual_main, Ny_G_qual_main;
extern int Nx_G_qual_side, Ny_G_qual_side;
// Contour levels of the quality plots (fractions of 1).
extern QList<double> contourLevels, contourLevels_main, contourLevels_side;
// m, focus position with the largest main-maxima quality value.
extern double XF_max_pos, YF_max_pos;
// Result files of the scans: the binary result and the field text file of the job folder (file
// names only), and the full paths of the binary result of each kind of run in each plane.
extern QString file_to_calc_qual, file_to_calc_field_in_max;
extern QString name_of_file_main_max_axial, name_of_file_side_max_axial;
extern QString name_of_file_main_max_poper, name_of_file_side_max_poper;

// Sets the fourteen entry flags of the focus and the planes to false (start-up).
void resetEntryFlags();

} // namespace shared

#endif // SHARED_PARAMS_H
