#ifndef GRID_H
#define GRID_H

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

class QObject;

// The grid of a calculation run is shared by the window that ran it and the result windows opened
// from it, which may outlive that window: it is deleted when the last of them is destroyed or lets
// it go.
namespace gridlife {
// `user` keeps g alive until it is destroyed or calls release. A null grid is ignored.
void share(QObject *user, Grid *g);
void release(QObject *user, Grid *g);
// How many users keep g alive (0: g is deleted, or was never shared).
int users(const Grid *g);
} // namespace gridlife

#endif // GRID_H
