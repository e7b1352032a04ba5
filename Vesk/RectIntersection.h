#ifndef RECTINTERSECTION_H
#define RECTINTERSECTION_H

// Whether two rectangles (zmin, zmax) x (rmin, rmax) share interior points: rectangles that only
// touch along an edge or at a corner do not.
bool RectIntersection(double zmin1, double zmax1, double rmin1, double rmax1, double zmin2, double zmax2, double rmin2,
                      double rmax2);

#endif // RECTINTERSECTION_H
