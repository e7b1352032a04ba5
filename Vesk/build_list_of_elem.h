#ifndef BUILD_LIST_OF_ELEM_H
#define BUILD_LIST_OF_ELEM_H

#include <QString>

// Reads the element positions file `name` into shared::Elem (replaced as a whole).
// The file holds white-space separated number pairs x y in centimetres, one pair per element,
// projected onto the aperture plane with the array axis at (0, 0). Elem gets x / 100 and
// -y / 100 in metres: y is flipped so that the front view, whose screen y points down, shows
// the file's y upwards. Words that are not numbers are skipped two tokens at a time, so a
// header of column titles is harmless.
// Returns false when the file cannot be opened, holds no pair, or its numbers do not pair up
// (then Elem keeps the complete pairs read so far).
bool build_list_of_elem(const QString &name);

#endif // BUILD_LIST_OF_ELEM_H
