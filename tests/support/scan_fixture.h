#ifndef SCAN_FIXTURE_H
#define SCAN_FIXTURE_H

#include <QFile>
#include <QString>
#include <QVector>
#include <functional>

#include "shared_params.h"

// Binary quality-scan results as the calculator writes them, for tests.
namespace scanfixture {

// nx x ny focus positions from (x0, y0) in metres with steps dx, dy, valued f(x, y). Axial layout:
// triplets (y, x, value) with the x index running fastest; transverse: (x, y, value) with the y
// index running fastest. The leading values nx and ny, then the triplets.
inline void writeScan(const QString &path, bool axial, int nx, int ny, double x0, double y0, double dx, double dy,
                      const std::function<double(double, double)> &f)
{
    QVector<double> v = {double(nx), double(ny)};
    for (int k = 0; k < nx * ny; ++k) {
        const int i = axial ? k % nx : k / ny;
        const int j = axial ? k / nx : k % ny;
        const double x = x0 + i * dx, y = y0 + j * dy;
        if (axial)
            v << y << x << f(x, y);
        else
            v << x << y << f(x, y);
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char *>(v.constData()), v.size() * int(sizeof(double)));
}

// Points the quality globals at a finished scan of one kind in appDir/main_max or appDir/side_max
// (the binary result, its grid size and calcdone).
inline void setScanRun(const QString &appDir, bool axial, bool side, int nx, int ny)
{
    const QString file = axial ? "AbsField_YZ.bin" : "AbsField_XY.bin";
    const QString path = appDir + (side ? "/side_max/" : "/main_max/") + file;
    shared::file_to_calc_qual = file;
    shared::file_to_calc_field_in_max = axial ? "AbsField_YZ.txt" : "AbsField_XY.txt";
    (side ? (axial ? shared::name_of_file_side_max_axial : shared::name_of_file_side_max_poper)
          : (axial ? shared::name_of_file_main_max_axial : shared::name_of_file_main_max_poper)) = path;
    (side ? shared::Nx_G_qual_side : shared::Nx_G_qual_main) = nx;
    (side ? shared::Ny_G_qual_side : shared::Ny_G_qual_main) = ny;
    QFile marker(appDir + (side ? "/side_max/calcdone" : "/main_max/calcdone"));
    marker.open(QIODevice::WriteOnly);
}

} // namespace scanfixture

#endif // SCAN_FIXTURE_H
