#ifndef SCAN_JOBS_H
#define SCAN_JOBS_H

#include <QByteArray>
#include <QList>
#include <QString>

#include "form_fields.h"
#include "grid.h"
#include "job_files.h"

// A quality scan (main_max/, side_max/) from the texts of a quality window's fields, without the
// window: the windows' runs, a session's jobs and the default scans of the benchmark build their
// job files here.
namespace scanjob {

// The axial window's focus-shift column as read (metres, degrees; counts truncated).
struct AxialShift {
    double zmin, phi;
    int Nr, Nz;
    double dr, dz, zmax, r;
};
// The transverse window's (metres); half-widths computed from counts and steps.
struct TransverseShift {
    double z, Nx, Ny, dx, dy, rx, ry;
};

// The regions from the texts of a quality window's fields by name (its form's, or those a session
// keeps): the focus-shift region; the field region goes into the plane globals of the axial or the
// transverse plane.
AxialShift axialShiftFrom(const formfields::FieldTexts &text);
TransverseShift transverseShiftFrom(const formfields::FieldTexts &text);
void fieldRegionFrom(bool axial, const formfields::FieldTexts &text);

// grid_calc.txt of a scan over the focus-shift region, and that region's grid as the result windows
// draw it.
QByteArray focusShiftGridText(const AxialShift &s);
QByteArray focusShiftGridText(const TransverseShift &s);
Grid focusShiftGrid(const AxialShift &s);
Grid focusShiftGrid(const TransverseShift &s);

// The input files of a scan in the order the windows write them: array and medium, elements and
// focus, then grid_calc.txt (the focus positions) and grid_scan.txt (the current plane of the plane
// globals), the axial window writing grid_calc.txt first, the transverse one last.
QList<jobfiles::JobFile> jobFiles(bool axial, const QByteArray &focusShiftGridText);
// The same from a quality window's field texts, whose field region goes into the plane globals first.
QList<jobfiles::JobFile> jobFiles(bool axial, const formfields::FieldTexts &text);

// A field of a quality window by object name, and its text.
struct FieldText {
    const char *name;
    QString text;
};
// What the default buttons of the axial or transverse quality window type into its fields for a
// main- or side-maxima scan of the array in the shared parameters, in the order they type it.
QList<FieldText> defaultTexts(bool axial, bool side);
// All the fields of the window after those defaults: the typed ones and those it derives from them
// (the ends and half-widths of the regions).
formfields::FieldTexts defaultFieldTexts(bool axial, bool side);

} // namespace scanjob

#endif // SCAN_JOBS_H
