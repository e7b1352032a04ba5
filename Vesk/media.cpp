#include "media.h"

#include "shared_params.h"

namespace media {

const std::vector<Medium> &presets()
{
    // Tissues: Culjat et al., Ultrasound Med. Biol. 36 (2010) 861-873, table 1. Water is the
    // example's coupling medium, lossless as the calculator has it.
    static const std::vector<Medium> list = {
        {"Вода", "Water", 1000, 1500, 0},     {"Мягкие ткани (среднее)", "Soft tissue", 1043, 1561, 0.54},
        {"Печень", "Liver", 1060, 1595, 0.5}, {"Мышцы", "Muscle", 1050, 1547, 1.09},
        {"Жир", "Fat", 950, 1478, 0.48},      {"Мозг", "Brain", 1040, 1560, 0.6},
    };
    return list;
}

const Medium &preset(int index)
{
    const std::vector<Medium> &list = presets();
    return index >= 0 && index < int(list.size()) ? list[index] : list[water];
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
