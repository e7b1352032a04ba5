#ifndef MEDIA_H
#define MEDIA_H

#include <QString>
#include <vector>

// The propagation media the main window offers. Water is the lossless default; the tissues carry
// published mean values (density, speed of sound, attenuation at 1 MHz, taken as proportional to
// the frequency; heat capacity, thermal conductivity and perfusion), listed
// with their sources in the README.
namespace media {

struct Medium {
    const char *label;    // shown in the main window's selector
    const char *fileName; // line 1 of medium.txt
    double density;       // kg/m^3
    double soundSpeed;    // m/s
    double absorption;    // dB/(cm MHz)
    double heatCapacity;  // J/(kg K)
    double conductivity;  // W/(m K)
    double perfusion;     // ml of blood per minute per kg of tissue (heat transfer rate)
};

// Blood, for the perfusion term of the heating: density (kg/m^3) and heat capacity (J/(kg K)).
const double bloodDensity = 1050;
const double bloodHeatCapacity = 3617;

// The thermal properties of the medium of the shared parameters (density, speed of sound and
// absorption as entered): the preset's when those three are still the preset's values; for a
// preset whose values the user has changed, the heat capacity of the shared parameters (4200) and
// the preset's conductivity and perfusion.
struct Thermal {
    double heatCapacity; // J/(kg K)
    double conductivity; // W/(m K)
    double perfusion;    // w_b, kg/(m^3 s): blood mass flow per volume of tissue
    bool preset;         // the preset's own values
};
Thermal thermal(int index, double density, double soundSpeed, double absorption);
// The heat capacity medium.txt carries for the shared parameters.
float heatCapacity();

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
