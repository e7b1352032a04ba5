#include "RectIn.h"

bool RectIn(double Xmin, double Xmax, double Ymin, double Ymax, double xmin, double xmax, double ymin, double ymax)
{
    return xmin >= Xmin && ymin >= Ymin && Xmax >= xmax && Ymax >= ymax;
}
