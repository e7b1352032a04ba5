#ifndef ROTATE_H
#define ROTATE_H

#include "shared_params.h"

// The element list as the calculator expects it: every element's (x, -y) turned by d_phi radians,
// so that the axial plane of angle d_phi becomes the calculator's plane x = 0. Columns beyond the
// first two are copied unchanged; V itself is not changed.
VDOUB2 rotateEl(const VDOUB2 &V, double d_phi);

#endif // ROTATE_H
