// Takes the documentation's screenshots by walking the road a new user takes: the main window
// with the example data, then Continue to the array window's front view.
// Usage: kormax-screenshots <output dir> <application dir>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>

#include "mainwindow.h"
#include "platform.h"
#include "shared_params.h"

namespace {
bool save(QWidget *w, const QString &path)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output dir> <application dir>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString out = QDir(argv[1]).absolutePath();
    platform::setAppDirOverride(QDir(argv[2]).absolutePath());
    // The design size at the reference resolution, whatever the virtual screen says.
    platform::setScreenOverride(96, QRect(0, 0, 1280, 1024));
    platform::setBoxHandler([](const platform::Box &) { return QMessageBox::Ok; });
    shared::resetEntryFlags();

    MainWindow w;
    w.show();
    w.findChild<QPushButton *>("pushButton_5")->click(); // example data
    bool ok = save(&w, out + "/main_window.png");

    w.findChild<QPushButton *>("pushButton_2")->click(); // Continue
    Show_Vesk_wnd *array = w.arrayWindow();
    if (!array->isVisible()) {
        std::fprintf(stderr, "the array window did not open (is the example element file there?)\n");
        return 1;
    }
    array->setCurrentIndex(0);
    ok = save(array, out + "/array_front.png") && ok;
    return ok ? 0 : 1;
}
