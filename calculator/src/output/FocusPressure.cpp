#include "output/FocusPressure.h"

#include "output/ResultFiles.h"

namespace kcalc {

std::string focusPressureText(double focusPressure)
{
    std::string text;
    appendNumber(text, focusPressure);
    text += '\n';
    return text;
}

void writeFocusPressure(const std::string &dir, double focusPressure)
{
    writeFileAtomically(dir, focusPressureName(), focusPressureText(focusPressure));
}

} // namespace kcalc
