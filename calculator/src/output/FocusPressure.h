#ifndef KCALC_FOCUS_PRESSURE_H
#define KCALC_FOCUS_PRESSURE_H

#include <string>

namespace kcalc {

// Writes `dir/focus_pressure.txt` atomically (writeFileAtomically); throws JobError on failure.
// The application reads it, when present, to show the gain |p(F)|/p0 and the plane's peak
// relative to it.
void writeFocusPressure(const std::string &dir, double focusPressure);

} // namespace kcalc

#endif // KCALC_FOCUS_PRESSURE_H
