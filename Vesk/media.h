#ifndef MEDIA_H
#define MEDIA_H

#include <QString>
#include <vector>

// The propagation media the main window offers. Water is the lossless default; the tissues carry
// published mean values (density, speed of sound, attenuation at 1 MHz, taken as proportional to
// the frequency), listed with their source in the README.
namespace media {

struct Medium {
    const char *label;    // shown in the main window's selector
    const char *fileName; // line 1 of medium.txt
    double density;       // kg/m^3
    double soundSpeed;    // m/s
    double absorption;    // dB/(cm MHz)
};

// Index 0 is water.
const std::vector<Medium> &presets();
const int water = 0;

// The preset at index, water for an index out of range.
const Medium &preset(int index);

// What a result was computed with, for parameter lists (rich text, one line):
// "Среда: печень, поглощение 0.5 дБ/(см·МГц)".
QString description(int index, double absorption);
// The same for the medium of the shared parameters (that of the jobs written last).
QString currentDescription();

} // namespace media

#endif // MEDIA_H
