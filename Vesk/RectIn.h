#ifndef RECTIN_H
#define RECTIN_H

// True when the rectangle (xmin, xmax, ymin, ymax) lies inside (Xmin, Xmax, Ymin, Ymax); the edges
// may coincide. Any comparison with a NaN fails, so a NaN edge is never inside.
bool RectIn(double Xmin, double Xmax, double Ymin, double Ymax, double xmin, double xmax, double ymin, double ymax);

#endif // RECTIN_H
