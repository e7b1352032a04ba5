#ifndef GRID_H
#define GRID_H

// A regular rectangular grid of a calculation plane: steps, first and last coordinate along each
// axis (metres) and the point counts. For an axial plane the horizontal axis is the array axis z.
// Grids are made on the heap by each field run and handed to the result windows, which keep using
// them as long as they are open.
struct Grid {
    double dX, dY, Xmin, Xmax, Ymin, Ymax;
    int Nx, Ny;

    Grid(int nx, int ny, double dx, double dy, double xmin, double xmax, double ymin, double ymax);
};

#endif // GRID_H
