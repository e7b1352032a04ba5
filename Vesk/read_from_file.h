#ifndef READ_FROM_FILE_H
#define READ_FROM_FILE_H

#include <QString>

#include "grid.h"
#include "shared_params.h"

// Reads a field result of the calculator (AbsField_XY.txt or AbsField_YZ.txt) into three planes
// [plane][i][j]: 0 horizontal coordinate, 1 vertical coordinate, 2 value; i along the horizontal
// axis (i_size points), j along the vertical axis (j_size points). Coordinates stay in metres.
//
// A name whose sixth-last and fifth-last characters are "XY" is read in the transverse layout
// (records x, y, value with j fastest); every other name in the axial layout (records y, z, value
// with i fastest). The seven header numbers are skipped and nothing after the last record is read.
// The result always has the full size: a missing file gives zeros, and from the first number that
// cannot be read on every number stays zero. "nan" and "inf" are numbers: a broken result shows.
VDOUB3 read_from_file(QString name, int i_size, int j_size);

// Checks that the header of the field result `name` describes `grid`, the grid of the run the
// caller asked for (metres; for an axial result the file's first axis is the grid's vertical one).
// Returns an empty string when it does, otherwise a text for the user: a result of another run (a
// plane of other size or position) must not be drawn as if it were this one.
QString fieldResultMismatch(const QString &name, const Grid &grid);

// "a x b точек вместо c x d заданных": the grid size a result file describes against the run's.
QString gridSizeText(long long fileNx, long long fileNy, int nx, int ny);

#endif // READ_FROM_FILE_H
