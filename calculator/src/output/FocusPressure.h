#ifndef KCALC_FOCUS_PRESSURE_H
#define KCALC_FOCUS_PRESSURE_H

#include <string>

namespace kcalc {

// Name of the field job's extra result: the pressure at the focus, |p(F)|/p0.
inline const char *focusPressureName()
{
    return "focus_pressure.txt";
}

// Text of that file: the number (shortest round-trip C-locale text) and a line end.
std::string focusPressureText(double focusPressure);

// Writes `dir/focus_pressure.txt` atomically (writeFileAtomically); throws JobError on failure.
// The application reads it, when present, to show the gain |p(F)|/p0 and the plane's peak
// relative to it.
void writeFocusPressure(const std::string &dir, double focusPressure);

} // namespace kcalc

#endif // KCALC_FOCUS_PRESSURE_H
