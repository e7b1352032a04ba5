#ifndef RESULT_COMMON_H
#define RESULT_COMMON_H

#include <QSize>
#include <QString>

class QWidget;

// What the field and quality result windows do alike: their size, icon, title and placement.
namespace resultwindow {

// True when the plane flags ask for an axial result (the transverse plane wins if both are set).
bool axialByPlaneFlags();

// Sizes a result window whose form has been set up: the design size of a transverse result
// scaled by the screen's dpi, twice as wide for an axial one, never smaller than the transverse
// size; the window icon and the title.
void setUp(QWidget *w, const QSize &transverseDesign, bool axial, const QString &title);

// A new result window is placed near (100, 100) with a small random offset, so successive
// windows do not cover each other exactly, and is freed when closed.
void place(QWidget *w);

} // namespace resultwindow

#endif // RESULT_COMMON_H
