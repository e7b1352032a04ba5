#include "rotate.h"

#include <cmath>

VDOUB2 rotateEl(const VDOUB2 &V, double d_phi)
{
    VDOUB2 rotated = V;
    const double cs = std::cos(d_phi);
    const double sn = std::sin(d_phi);
    for (VDOUB &row : rotated) {
        if (row.size() < 2)
            continue;
        const double x = row[0];
        const double y = row[1];
        row[0] = x * cs + y * sn;
        row[1] = x * sn - y * cs;
    }
    return rotated;
}
