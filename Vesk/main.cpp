#include <QApplication>

#include "mainwindow.h"
#include "shared_params.h"

int main(int argc, char *argv[])
{
    shared::resetEntryFlags();
    QApplication app(argc, argv);
    // Moving between windows closes the one left behind; the application ends only through a
    // window's exit confirmation, never because no window happens to be visible.
    app.setQuitOnLastWindowClosed(false);

    MainWindow w;
    w.show();
    return app.exec();
}
