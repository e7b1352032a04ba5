#include "grid.h"

Grid::Grid(int nx, int ny, double dx, double dy, double xmin, double xmax, double ymin, double ymax) :
    dX(dx), dY(dy), Xmin(xmin), Xmax(xmax), Ymin(ymin), Ymax(ymax), Nx(nx), Ny(ny)
{}
