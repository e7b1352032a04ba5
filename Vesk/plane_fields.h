#ifndef PLANE_FIELDS_H
#define PLANE_FIELDS_H

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QLineEdit;

// How the windows that describe calculation regions (the plane window and the two quality windows)
// read their fields and fill their derived displays (half-widths, end points).
namespace planefields {

// What a derived display does after one of the fields that feed it changed.
enum class Display {
    Blank,  // some input is empty: the display shows a single space
    Keep,   // some input ends in a non-digit (for example "0." while typing): leave it
    Update, // take the values and show the new result
};
// Whether a text ending in a non-digit keeps the display as it is while the user types.
enum class DigitTest { No, Yes };
Display displayRule(const QStringList &inputs, DigitTest test = DigitTest::Yes);

// Applies the rule to a display fed by the given fields; text() computes the new result (and may
// store the values it reads) and runs only when the display is updated.
void deriveDisplay(QLineEdit *display, std::initializer_list<const QLineEdit *> inputs, DigitTest test,
                   const std::function<QString()> &text);

// True when none of the fields is empty (a display showing " " counts as filled).
bool allFilled(std::initializer_list<const QLineEdit *> fields);

// Half-width of a plane in centimetres from its point count and step in metres: (N - 1) * step * 100.
QString halfWidthText(double n, double step);

// Last z of the axial plane in centimetres: zmin * 100 + (Nz - 1) * dz * 100.
QString zmaxText(double zmin, double nz, double dz);

// Sets exactly one result-type flag from the selector entry; any unknown entry counts as the first.
void setResultType(int index);

} // namespace planefields

#endif // PLANE_FIELDS_H
