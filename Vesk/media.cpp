#include "media.h"

#include "shared_params.h"

namespace media {

const std::vector<Medium> &presets()
{
    // Acoustics of the tissues: Culjat et al., Ultrasound Med. Biol. 36 (2010) 861-873, table 1.
    // Heat capacity and thermal conductivity of liver, muscle and fat: the "Bioheat Materials
    // Library" table of the COMSOL Multiphysics 6.0 reference manual (human liver, muscle, fat);
    // soft tissue takes muscle's. Brain's heat capacity, conductivity and perfusion: the medium
    // table of the PRESTUS documentation (Donders Institute, doc/doc_medium.md). Perfusion of the
    // other tissues: resting human blood flow as measured (README): liver 100 ml/(min 100 g) by
    // H2(15)O PET, forearm muscle 3.84 ml/(min 100 ml) by antipyrine clearance, abdominal
    // subcutaneous fat 3.8 and 4.4 ml/(min 100 g) by xenon washout. Water is the example's coupling
    // medium, lossless as the calculator has it, without perfusion, with the heat capacity the job
    // files have always carried.
    // The muscle measurement is per volume: per kg at muscle's 1050 kg/m^3.
    const double musclePerfusion = 38.4 / 1.050;
    static const std::vector<Medium> list = {
        {"Вода", "Water", 1000, 1500, 0, 4200, 0.6, 0},
        {"Мягкие ткани (среднее)", "Soft tissue", 1043, 1561, 0.54, 3421, 0.49, musclePerfusion},
        {"Печень", "Liver", 1060, 1595, 0.5, 3540, 0.52, 1000},
        {"Мышцы", "Muscle", 1050, 1547, 1.09, 3421, 0.49, musclePerfusion},
        {"Жир", "Fat", 950, 1478, 0.48, 2348, 0.21, 41},
        {"Мозг", "Brain", 1040, 1560, 0.6, 3630, 0.51, 559},
    };
    return list;
}

const Medium &preset(int index)
{
    const std::vector<Medium> &list = presets();
    return index >= 0 && index < int(list.size()) ? list[index] : list[water];
}

Thermal thermal(int index, double density, double soundSpeed, double absorption)
{
    const Medium &m = preset(index);
    // ml/(min kg) -> kg/(m^3 s): x 1e-6 m^3/ml x blood density x tissue density / 60 s.
    const double perfusion = m.perfusion * 1e-6 * bloodDensity * m.density / 60;
    // The main window holds the absorption as a float: compare at that precision.
    const bool same = density == m.density && soundSpeed == m.soundSpeed && float(absorption) == float(m.absorption);
    return {same ? m.heatCapacity : double(shared::C), m.conductivity, perfusion, same};
}

float heatCapacity()
{
    return float(thermal(shared::medium, shared::ro, shared::c, shared::pvs).heatCapacity);
}

QString description(int index, double absorption)
{
    return QString("Среда: ") + QString::fromUtf8(preset(index).label).toLower() + ", поглощение "
           + QString::number(absorption, 'g', 6) + " дБ/(см·МГц)";
}

QString currentDescription()
{
    return description(shared::medium, shared::pvs);
}

} // namespace media
