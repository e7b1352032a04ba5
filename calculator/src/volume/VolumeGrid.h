#ifndef KCALC_VOLUME_GRID_H
#define KCALC_VOLUME_GRID_H

#include <cstddef>

#include "geometry/ArrayGeometry.h"

namespace kcalc {

// A regular box of points in the job frame (m): point (ix, iy, iz) lies at
// (x0 + ix dx, y0 + iy dy, z0 + iz dz). Values on it are stored with z fastest:
// index (ix * ny + iy) * nz + iz, the row-major layout of an nx x ny x nz array.
struct VolumeGrid {
    long nx = 0, ny = 0, nz = 0;
    double x0 = 0, y0 = 0, z0 = 0;
    double dx = 0, dy = 0, dz = 0;

    std::size_t pointCount() const
    {
        return static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny) * static_cast<std::size_t>(nz);
    }
    std::size_t index(long ix, long iy, long iz) const
    {
        return (static_cast<std::size_t>(ix) * static_cast<std::size_t>(ny) + static_cast<std::size_t>(iy))
                   * static_cast<std::size_t>(nz)
               + static_cast<std::size_t>(iz);
    }
    Point3 point(long ix, long iy, long iz) const
    {
        return Point3{x0 + static_cast<double>(ix) * dx, y0 + static_cast<double>(iy) * dy,
                      z0 + static_cast<double>(iz) * dz};
    }
};

// The box centred on `centre` with n points along each axis (odd counts put `centre` on a point).
VolumeGrid centredVolume(const Point3 &centre, long nx, long ny, long nz, double dx, double dy, double dz);

} // namespace kcalc

#endif // KCALC_VOLUME_GRID_H
