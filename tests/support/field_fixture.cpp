#include "field_fixture.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>

#include "shared_params.h"

namespace fieldfixture {

void writeTransverse(const QString &path, int nx, int ny, double dx, double dy,
                     const std::function<double(double, double)> &value)
{
    const double xmin = -(nx - 1) / 2 * dx, ymin = -(ny - 1) / 2 * dy;
    double maximum = 0;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            maximum = std::max(maximum, value(xmin + i * dx, ymin + j * dy));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&f);
    out << xmin << " " << dx << " " << -xmin << "\n" << ymin << " " << dy << " " << -ymin << "\n" << maximum << "\n";
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const double x = xmin + i * dx, y = ymin + j * dy;
            out << x << "\t" << y << "\t" << value(x, y) << "\n";
        }
}

void writeAxial(const QString &path, int nz, int nr, double zmin, double dz, double dr,
                const std::function<double(double, double)> &value)
{
    const double rmin = -(nr - 1) / 2 * dr;
    double maximum = 0;
    for (int j = 0; j < nr; ++j)
        for (int i = 0; i < nz; ++i)
            maximum = std::max(maximum, value(zmin + i * dz, rmin + j * dr));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&f);
    out << rmin << " " << dr << " " << -rmin << "\n"
        << zmin << " " << dz << " " << zmin + (nz - 1) * dz << "\n"
        << maximum << "\n";
    for (int j = 0; j < nr; ++j)
        for (int i = 0; i < nz; ++i) {
            const double z = zmin + i * dz, r = rmin + j * dr;
            out << r << " " << z << " " << value(z, r) << "\n";
        }
}

void setTransverseRun(const QString &appDir, int Nxp, int Nyp, double dxp, double dyp, double zop)
{
    shared::is_poper = true;
    shared::is_prodol = false;
    shared::zop = zop;
    shared::Nxp = Nxp;
    shared::Nyp = Nyp;
    shared::dxp = dxp;
    shared::dyp = dyp;
    shared::rxp = (Nxp - 1) * dxp;
    shared::ryp = (Nyp - 1) * dyp;
    shared::Nx_G = 2 * Nxp - 1;
    shared::Ny_G = 2 * Nyp - 1;
    shared::file_to_calc = appDir + "/calc/AbsField_XY.txt";
    QFile marker(appDir + "/calc/calcdone");
    if (marker.open(QIODevice::WriteOnly))
        marker.close();
}

void setAxialRun(const QString &appDir, int Nzpr, int Nrpr, double zminpr, double dzpr, double drpr)
{
    shared::is_poper = false;
    shared::is_prodol = true;
    shared::zminpr = zminpr;
    shared::Nzpr = Nzpr;
    shared::Nrpr = Nrpr;
    shared::dzpr = dzpr;
    shared::drpr = drpr;
    shared::phipr = 0;
    shared::zmaxpr = zminpr + (Nzpr - 1) * dzpr;
    shared::rpr = (Nrpr - 1) * drpr;
    shared::Nx_G = Nzpr;
    shared::Ny_G = 2 * Nrpr - 1;
    shared::file_to_calc = appDir + "/calc/AbsField_YZ.txt";
    QFile marker(appDir + "/calc/calcdone");
    if (marker.open(QIODevice::WriteOnly))
        marker.close();
}

} // namespace fieldfixture
