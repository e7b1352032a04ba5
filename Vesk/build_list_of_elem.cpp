#include "build_list_of_elem.h"

#include "element_positions.h"
#include "shared_params.h"

bool build_list_of_elem(const QString &name)
{
    return readElementPositions(name, &shared::Elem);
}
