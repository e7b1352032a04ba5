#ifndef ELEMENT_POSITIONS_H
#define ELEMENT_POSITIONS_H

#include <QByteArray>
#include <QString>
#include <vector>

// The element positions file a user chooses: white-space separated number pairs x y in
// centimetres, one pair per element, projected onto the aperture plane with the array axis at
// (0, 0). Words that are not numbers are skipped two tokens at a time, so a header of column
// titles is harmless.
//
// In memory (rows of x, y in metres) y is flipped: a row holds x / 100 and -y / 100, so that the
// front view, whose screen y points down, shows the file's y upwards; the job files take the rows
// unchanged.

// Reads `path` into `elements` (replaced as a whole). False when the file cannot be opened, holds
// no pair, holds "nan" or "inf", or its numbers do not pair up; `elements` then keeps the complete
// pairs read so far and `error` (if given) says what is wrong, naming the file.
bool readElementPositions(const QString &path, std::vector<std::vector<double>> *elements, QString *error = nullptr);

// The file of `elements`: one line "x y" per element in centimetres (y flipped back), each number
// the shortest text that reads back to the same double, C locale, LF line ends.
QByteArray elementPositionsText(const std::vector<std::vector<double>> &elements);

// Writes elementPositionsText to `path` through a temporary file renamed into place, so a failed
// write never leaves a half-written file. False with `error` set when it cannot be written.
bool writeElementPositions(const QString &path, const std::vector<std::vector<double>> &elements,
                           QString *error = nullptr);

#endif // ELEMENT_POSITIONS_H
