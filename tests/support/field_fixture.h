#ifndef FIELD_FIXTURE_H
#define FIELD_FIXTURE_H

#include <QString>
#include <functional>

// Field result files as the calculator writes them, for tests and screenshots.
namespace fieldfixture {

// value(x, y) in metres. Transverse layout: header xmin dx xmax ymin dy ymax max, then records
// x y value with the y index running fastest; nx, ny are the full point counts.
void writeTransverse(const QString &path, int nx, int ny, double dx, double dy,
                     const std::function<double(double, double)> &value);

// value(z, r) in metres. Axial layout: header rmin dr rmax zmin dz zmax max, then records
// r z value with the z index running fastest; nz points from zmin, nr across centred on the axis.
void writeAxial(const QString &path, int nz, int nr, double zmin, double dz, double dr,
                const std::function<double(double, double)> &value);

// Points the shared globals at a finished transverse or axial field run in dir/calc and writes
// calc/calcdone. Counts are per side as in the plane window (2 N - 1 points across).
void setTransverseRun(const QString &appDir, int Nxp, int Nyp, double dxp, double dyp, double zop);
void setAxialRun(const QString &appDir, int Nzpr, int Nrpr, double zminpr, double dzpr, double drpr);

} // namespace fieldfixture

#endif // FIELD_FIXTURE_H
