#include "RectIntersection.h"

bool RectIntersection(double zmin1, double zmax1, double rmin1, double rmax1, double zmin2, double zmax2, double rmin2,
                      double rmax2)
{
    if (zmin2 >= zmax1 || rmin1 >= rmax2 || zmin1 >= zmax2 || rmin2 >= rmax1)
        return false;
    return true;
}
