#ifndef KCALC_DISPLAY_H
#define KCALC_DISPLAY_H

// Whether the progress window can be shown: an X server that accepts a connection, or a Wayland
// session; never under the offscreen or minimal platforms. The X check goes through libxcb at run
// time so that a dead DISPLAY never aborts the run inside Qt.
bool displayAvailable();

#endif // KCALC_DISPLAY_H
