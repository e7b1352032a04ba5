#ifndef PLANE_FIELDS_H
#define PLANE_FIELDS_H

#include <QString>
#include <initializer_list>

// How the calculation plane window reads its fields and fills its derived displays.
namespace planefields {

// What a derived display does after one of the fields that feed it changed.
enum class Display {
    Blank,  // some input is empty: the display shows a single space
    Keep,   // some input ends in a non-digit (for example "0." while typing): leave it
    Update, // every input ends in a digit: take the values and show the new result
};
Display displayRule(std::initializer_list<QString> inputs);

// Half-width of a plane in centimetres from its point count and step in metres: (N - 1) * step * 100.
QString halfWidthText(double n, double step);

// Last z of the axial plane in centimetres: zmin * 100 + (Nz - 1) * dz * 100.
QString zmaxText(double zmin, double nz, double dz);

// Sets exactly one result-type flag from the selector entry; any unknown entry counts as the first.
void setResultType(int index);

} // namespace planefields

#endif // PLANE_FIELDS_H
