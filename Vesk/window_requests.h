#ifndef WINDOW_REQUESTS_H
#define WINDOW_REQUESTS_H

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// What a working window asks for when the user moves on or back: its named slot emits a request
// here and never builds its neighbour. The navigator (navigator.h) answers every request; the
// windows know only this hub, so none of them depends on another.
class WindowRequests : public QObject
{
    Q_OBJECT

public:
    static WindowRequests &instance();

signals:
    // Array window -> a new main window, titled `title` unless it is empty.
    void mainWindow(QWidget *from, const QString &title);
    // Array window -> a new calculation plane window.
    void planeWindow(QWidget *from);
    // Plane window -> a new array window.
    void arrayWindow(QWidget *from);
    // Plane window -> the quality window of the axial or the transverse plane.
    void qualityWindow(QWidget *from, bool axial);
    // Quality window -> a new plane window on its tab, refilled with the texts of its field region
    // (in the order plane_ch_wnd::NotFirst_prodol or NotFirst_poper takes them).
    void planeWindowRefilled(QWidget *from, bool axial, const QStringList &fieldRegion);
};

#endif // WINDOW_REQUESTS_H
