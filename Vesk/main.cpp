#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "form_fields.h"
#include "mainwindow.h"
#include "navigator.h"
#include "shared_params.h"
#include "window_common.h"

int main(int argc, char *argv[])
{
    shared::resetEntryFlags();
    formfields::useNumberLocale();
    QApplication app(argc, argv);
    // Moving between windows closes the one left behind; the application ends only through a
    // window's exit confirmation, never because no window happens to be visible.
    app.setQuitOnLastWindowClosed(false);
    // The interface is Russian; so are the toolkit's own texts (file dialog, Yes/No and Cancel
    // buttons) when its Russian translation is installed.
    QTranslator toolkitRussian;
    if (toolkitRussian.load("qtbase_ru", QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&toolkitRussian);

    navigator::install();
    MainWindow w;
    w.show();
    const int code = app.exec();
    window::freeRemaining(&w);
    return code;
}
