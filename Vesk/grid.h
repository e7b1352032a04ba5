#ifndef GRID_H
#define GRID_H

#include <memory>

// A regular rectangular grid of a calculation plane or of a plotted field: steps, extents and
// point counts along the horizontal (X) and vertical (Y) axes. Units are those of the owner
// (metres for a calculation run, centimetres inside a plot).
class Grid
{
public:
    Grid(int nx, int ny, double dx, double dy, double xmin, double xmax, double ymin, double ymax);

    double dX;
    double dY;
    double Xmin;
    double Xmax;
    double Ymin;
    double Ymax;
    int Nx;
    int Ny;
};

// The grid of a calculation run, shared by the window that ran it and the result windows opened
// from it, which may outlive that window: it goes with the last of them.
using SharedGrid = std::shared_ptr<const Grid>;

#endif // GRID_H
