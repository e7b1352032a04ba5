#ifndef WRITE_Z_H
#define WRITE_Z_H

#include <QString>

#include "shared_params.h"

// Writes the arrays behind a spectrogram (z[0] abscissa, z[1] ordinate, z[2] value, at least
// 2 x 2 points) as text: a header with the extent and step of both axes, then one line per point,
// "abscissa    ordinate    value", the ordinate index running fastest. Numbers in fixed notation
// with six decimals; the file is written in the local 8-bit encoding with the platform's line ends.
// ax ("xy" or "zr") names the plane and does not change the output.
// Returns false when the file could not be written completely.
bool write_z(QString name, const VDOUB3 &z, QString ax);

#endif // WRITE_Z_H
