#ifndef WINDOW_COMMON_H
#define WINDOW_COMMON_H

#include <QRect>
#include <QSize>
#include <QString>

class QCloseEvent;
class QWidget;

// What every top-level window does the same way: sizing by the screen's resolution, centring,
// the icon, moving on to the next window and asking before the application ends.
namespace window {

// Design size scaled by dpi / 96 and, for the parameter windows, clamped to the available area;
// truncated to whole pixels.
QSize scaledSize(const QSize &design, int dpi, const QRect &available, bool clampToScreen);
// The same for the current screen.
QSize scaledSize(const QSize &design, bool clampToScreen);

// Makes the window at least as large as its layout needs, so no caption is cut whatever this
// machine's fonts: the minimum size grows to the layout's minimum, and the size with it.
void growToContents(QWidget *w);

// Centre of the primary screen's available area minus half the window's size.
void moveToCenter(QWidget *w);

// Window icon from a picture in the application directory ("/logo_png.png" or "/icon.png");
// a missing picture leaves the window without an icon.
void setIconFromAppDir(QWidget *w, const QString &fileName = "/logo_png.png");

// Moves on from one working window to the next: the next one takes the previous one's geometry,
// is shown, and the previous one is left (see leave()).
void moveOn(QWidget *from, QWidget *to);
void moveOn(QWidget *from, QWidget *to, const QRect &geometry);

// Leaves `from` for `to`: closes `from` without asking (a close the program requests is not the
// user's) and frees what is left behind. `to` is taken over: when it is left in its turn, it is
// deleted once control is back in the event loop, so going back and forth does not pile up windows
// and their OpenGL contexts. A window with an owner (setOwner) goes together with its owner; an
// owner is kept while the window it owns is the one moved on to. Windows that were never moved on
// to (the first main window, built by main()) are never deleted here.
void leave(QWidget *from, QWidget *to);

// `owner` holds `owned` as a member (the main window and its array window): leaving `owned`
// frees `owner`, and with it `owned`.
void setOwner(QWidget *owned, QWidget *owner);

// Deletes every window still alive once the event loop has ended (the working window the user left
// with Yes, result and help windows), so the application ends with nothing of its own allocated.
// A window with an owner goes with its owner; `keep` is one the caller owns itself (the first main
// window lives on main()'s stack).
void freeRemaining(const QWidget *keep = nullptr);

// closeEvent of a working window: a close the program requests is accepted silently; a user's
// close (a spontaneous one, from the window system) asks "Выход из приложения", and Yes removes all
// job files and ends the application.
void confirmExit(QWidget *w, QCloseEvent *event);

// closeEvent of a result window: a close the program requests passes; a user's close asks, and
// Yes closes only that window.
void confirmCloseResult(QWidget *w, QCloseEvent *event);

extern const char *const exitTitle;
extern const char *const exitQuestion;

} // namespace window

#endif // WINDOW_COMMON_H
