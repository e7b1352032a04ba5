#include "output/FocusPressure.h"

#include "output/ResultFiles.h"

namespace kcalc {

void writeFocusPressure(const std::string &dir, double focusPressure)
{
    writeFileAtomically(dir, names::focusPressure, focusPressureText(focusPressure));
}

} // namespace kcalc
