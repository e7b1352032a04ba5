#include "geometry/ArrayGeometry.h"
