#ifndef MAIN_PARAMS_H
#define MAIN_PARAMS_H

#include <QString>

// What the main window computes and says, kept apart from the window so tests can call it.
namespace mainparams {

// Source strength on the element surface: I = p^2 / (2 rho c) and p = sqrt(2 rho c I),
// p in Pa, I in W/m^2, rho in kg/m^3, c in m/s.
double intensityFromPressure(double pressure, double ro, double c);
double pressureFromIntensity(double intensity, double ro, double c);

// The geometry checks of Continue, in order; returns the message of the first that fails, or an
// empty text. R is single precision as the shared parameter is: 2 R for 13 cm is below 26 cm.
QString geometryError(double A, float R, double r, double rotv);

extern const char *const errorTitle;      // "Ошибка!"
extern const char *const noFileText;      // the element file cannot be opened
extern const char *const badElementsText; // the element file does not read as pairs
extern const char *const apertureText;    // aperture larger than 2 R
extern const char *const elementText;     // element radius larger than half the aperture
extern const char *const holeText;        // hole radius not smaller than half the aperture
extern const char *const noPdfText;       // the manual cannot be opened

// The example array: its values and the message that introduces it (rich text).
extern const char *const exampleTitle;
QString exampleText();
extern const char *const exampleElementFile; // in the application directory, with leading "/"
// The example's aperture, curvature, element and hole radii, frequency and water (c, rho) into the
// shared parameters; the source strength, focus and element file are left to the caller.
void setExampleArray();

// The About box (rich text: the product line first, blocks separated by empty lines).
extern const char *const aboutTitle;
QString aboutText();

} // namespace mainparams

#endif // MAIN_PARAMS_H
