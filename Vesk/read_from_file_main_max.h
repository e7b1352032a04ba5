#ifndef READ_FROM_FILE_MAIN_MAX_H
#define READ_FROM_FILE_MAIN_MAX_H

#include <QString>

#include "shared_params.h"

// Reads the binary result of a quality scan (AbsField_YZ.bin or AbsField_XY.bin): a bare sequence
// of little-endian doubles, two leading values that are the calculator's own and never read, then one
// triplet per focus position.
// The result has three planes [plane][i][j] of i_size x j_size: 0 the horizontal coordinate, 1 the
// vertical one (metres), 2 the quality value.
//
// is_prod selects the axial layout (triplets r, z, value with the i index, along z, running fastest);
// otherwise the transverse layout (x, y, value with the j index running fastest).
// The result always has the full size: a missing file gives zeros, and a file that ends early
// leaves the points it does not reach at zero; nothing past the end of the file is read.
VDOUB3 read_from_file_main_max(QString name, int i_size, int j_size, bool is_prod);

// Checks that the binary scan result `name` belongs to the scan the caller asked for, i_size x
// j_size focus positions: two leading values and one triplet per position, nothing more (what the
// leading values hold does not matter). Returns an empty string when it does, otherwise a text for
// the user naming the file: a result left over from a scan of another region must not be drawn as
// this one.
QString scanResultMismatch(const QString &name, int i_size, int j_size);

#endif // READ_FROM_FILE_MAIN_MAX_H
