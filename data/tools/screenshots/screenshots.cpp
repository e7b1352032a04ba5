// Takes the documentation's screenshots by walking the road a new user takes, with the real field
// calculator: example data in the main window, Continue to the array window (front view and 3D),
// "Далее >" to the calculation plane window, the default transverse plane with its help window,
// "Рассчитать\nполе", the result window; the dB view, readings and profiles of a focus 2 cm off the
// axis; then the same road on the axial tab, and from there the axial quality window with its
// default main-maxima and side-maxima scans and their three result windows.
// Before Continue, the design window compares a random, a hexagonal and a spiral layout of the
// example array's 256 elements, scored by the calculator.
// Usage: kormax-screenshots <output dir> <application dir> [design]   (design: that picture only)
// The application directory must hold kormax-calc, the job folders and the shipped files; the
// calculations leave their job files in its calc/ folder, so pass a scratch copy of build/app.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGLWidget>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <cstdio>
#include <qwt_plot.h>

#include "design_wnd.h"
#include "form_fields.h"
#include "helpwindowaxial.h"
#include "helpwindowpoper.h"
#include "job_files.h"
#include "mainwindow.h"
#include "navigator.h"
#include "plane_ch_wnd.h"
#include "platform.h"
#include "plot_export.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"

namespace {

// Lets the windows lay out, paint and (for the plots) render their images.
void settle(int ms = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

// A window grab leaves OpenGL widgets empty: paint their frame buffers over it.
QImage grabWithScenes(QWidget *w)
{
    settle();
    QImage shot = w->grab().toImage();
    QPainter p(&shot);
    for (QGLWidget *gl : w->findChildren<QGLWidget *>()) {
        if (!gl->isVisible())
            continue;
        gl->updateGL();
        p.drawImage(gl->mapTo(w, QPoint(0, 0)), gl->grabFrameBuffer());
    }
    return shot;
}

bool save(QWidget *w, const QString &path)
{
    const bool ok = grabWithScenes(w).save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// The plot of a result window as "Сохранить в файл" writes it to an image: 300 dpi, the plot's
// on-screen size in whole inches.
bool saveExport(QWidget *result, const QString &path)
{
    QwtPlot *plot = result->findChild<QwtPlot *>("widget");
    const bool ok = plot && renderPlotDocument(plot, path, exportPageSizeMm(plot->size(), platform::screenDpi()), 300);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// The newest visible top-level window of a class (by its meta-object name).
QWidget *newestVisible(const char *className, const QList<QWidget *> &before = {})
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->inherits(className) && top->isVisible() && !before.contains(top))
            return top;
    return nullptr;
}

QString appDirectory;

// The job folder of the calculation started last: calc, main_max or side_max.
QString runningJob = "calc";

// The "Внимание!" box after a calculation starts: answered once the calculator has written
// calcdone into the running job's folder (or given up after an hour: the default main-maxima scan
// is long).
QMessageBox::StandardButton answer(const platform::Box &box)
{
    if (box.title == QString::fromUtf8(jobfiles::waitTitle) && box.text == QString::fromUtf8(jobfiles::waitText)) {
        const QString marker = appDirectory + "/" + runningJob + "/calcdone";
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(marker) && t.elapsed() < 3600000)
            settle(100);
        std::fprintf(stderr, "%s: calculation %s after %.1f s\n", qPrintable(runningJob),
                     QFile::exists(marker) ? "done" : "NOT done", t.elapsed() / 1000.0);
    } else {
        std::fprintf(stderr, "message \"%s\": %s\n", qPrintable(box.title), qPrintable(box.text));
    }
    return QMessageBox::Ok;
}

// Calculate, then open the result in the chosen result type; returns the result window.
QWidget *calculateAndShow(plane_ch_wnd *w, bool axial, int resultType)
{
    w->findChild<QPushButton *>(axial ? "pushButton_3" : "pushButton_4")->click();
    w->findChild<QComboBox *>(axial ? "comboBox_2" : "comboBox")->setCurrentIndex(resultType);
    const QList<QWidget *> before = QApplication::topLevelWidgets();
    w->findChild<QPushButton *>(axial ? "pushButton_5" : "pushButton_6")->click();
    settle(1000);
    return newestVisible("Result_wnd", before);
}

// Presses a quality window's result button and saves the result window it opens and its export.
bool saveQualityResult(QWidget *quality, const char *button, const char *className, const QString &path,
                       const QString &exportPath)
{
    const QList<QWidget *> before = QApplication::topLevelWidgets();
    quality->findChild<QPushButton *>(button)->click();
    settle(1000);
    QWidget *result = newestVisible(className, before);
    if (!result) {
        std::fprintf(stderr, "no %s after %s\n", className, button);
        return false;
    }
    bool ok = save(result, path);
    ok = saveExport(result, exportPath) && ok;
    result->hide();
    return ok;
}

// The design window beside the main window: random, hexagonal and spiral layouts of 256 elements,
// scored, sorted by the steerable area.
bool saveDesignComparison(MainWindow &main, const QString &path)
{
    main.findChild<QPushButton *>("pushButton_design")->click();
    auto *d = qobject_cast<Design_wnd *>(main.designWindow());
    if (!d) {
        std::fprintf(stderr, "the design window did not open\n");
        return false;
    }
    d->resize(1180, 760);
    for (int kind : {0, 2, 1}) {
        d->findChild<QComboBox *>("comboBox_kind")->setCurrentIndex(kind);
        d->findChild<QLineEdit *>("lineEdit_count")->setText("256");
        d->findChild<QPushButton *>("pushButton_generate")->click();
    }
    bool finished = false;
    QObject::connect(d, &Design_wnd::scoringFinished, [&finished] { finished = true; });
    d->findChild<QPushButton *>("pushButton_score")->click();
    QElapsedTimer t;
    t.start();
    while (!finished && t.elapsed() < 600000)
        settle(100);
    QTableWidget *table = d->findChild<QTableWidget *>("tableWidget");
    table->sortItems(9, Qt::DescendingOrder); // steerable area, best first
    table->selectRow(0);
    settle();
    const bool ok = finished && save(d, path);
    d->close();
    settle();
    return ok;
}

// The axial quality window from the plane window: the default main-maxima and side-maxima scans,
// then the three result windows.
bool qualityRoad(plane_ch_wnd *plane, const QString &out)
{
    plane->findChild<QPushButton *>("pushButton_9")->click();
    QWidget *q = newestVisible("AxialQuality_wnd");
    if (!q) {
        std::fprintf(stderr, "the axial quality window did not open\n");
        return false;
    }
    q->findChild<QPushButton *>("Button_def_main")->click();
    runningJob = "main_max";
    q->findChild<QPushButton *>("pushButton")->click();
    q->findChild<QPushButton *>("Button_def_side")->click();
    runningJob = "side_max";
    q->findChild<QPushButton *>("pushButton_2")->click();
    runningJob = "calc";

    bool ok = saveQualityResult(q, "pushButton_4", "Result_Wnd_qual", out + "/quality_main.png",
                                out + "/export_quality_main.png");
    ok = saveQualityResult(q, "pushButton_7", "Result_Wnd_qual", out + "/quality_side.png",
                           out + "/export_quality_side.png")
         && ok;
    ok = saveQualityResult(q, "pushButton_6", "Result_Main_and_Side_wnd", out + "/quality_main_and_side.png",
                           out + "/export_quality_main_and_side.png")
         && ok;
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
    formfields::useNumberLocale();
    const QString out = QDir(argv[1]).absolutePath();
    appDirectory = QDir(argv[2]).absolutePath();
    platform::setAppDirOverride(appDirectory);
    // The design size at the reference resolution, whatever the virtual screen says.
    platform::setScreenOverride(96, QRect(0, 0, 1280, 1024));
    platform::setBoxHandler(answer);
    platform::setOpenDocumentHandler([](const QString &) { return true; });
    shared::resetEntryFlags();
    navigator::install(); // the windows ask the navigator for their neighbours

    MainWindow main;
    main.show();
    main.findChild<QPushButton *>("pushButton_5")->click(); // example data
    bool ok = save(&main, out + "/main_window.png");
    ok = saveDesignComparison(main, out + "/design_compare.png") && ok;
    if (argc > 3 && QString(argv[3]) == "design")
        return ok ? 0 : 1;

    main.findChild<QPushButton *>("pushButton_2")->click(); // Continue
    Show_Vesk_wnd *array = main.arrayWindow();
    if (!array->isVisible()) {
        std::fprintf(stderr, "the array window did not open (is the example element file there?)\n");
        return 1;
    }
    array->setCurrentIndex(0);
    ok = save(array, out + "/array_front.png") && ok;
    array->setCurrentIndex(1);
    ok = save(array, out + "/array_3d.png") && ok;

    array->findChild<QPushButton *>("pushButton_3")->click(); // "Далее >" on the 3D tab
    auto *w = qobject_cast<plane_ch_wnd *>(newestVisible("plane_ch_wnd"));
    if (!w) {
        std::fprintf(stderr, "the plane window did not open\n");
        return 1;
    }

    // Transverse plane.
    w->findChild<QPushButton *>("Button_def")->click();
    ok = save(w, out + "/plane_window.png") && ok;
    w->findChild<QPushButton *>("Help_Button_Poper")->click();
    if (QWidget *help = newestVisible("HelpWindowPoper")) {
        ok = save(help, out + "/help_transverse.png") && ok;
        help->close();
    } else {
        std::fprintf(stderr, "the transverse help window did not open\n");
        ok = false;
    }
    if (QWidget *result = calculateAndShow(w, false, 1)) { // "Давление"
        ok = save(result, out + "/result_transverse.png") && ok;
        result->hide();
    } else {
        std::fprintf(stderr, "no transverse result window\n");
        ok = false;
    }

    // The focus steered 2 cm off the axis: the dB view with contour lines shows the secondary
    // lobe, then the readings and the line profiles of the same field.
    w->findChild<QLineEdit *>("X_Focus_Poper")->setText("2.0");
    if (QWidget *result = calculateAndShow(w, false, 0)) { // "Безразмерное\nдавление"
        result->findChild<QCheckBox *>("checkBox_dB")->setChecked(true);
        result->findChild<QCheckBox *>("checkBox_contours")->setChecked(true);
        ok = save(result, out + "/result_db_offaxis.png") && ok;
        ok = saveExport(result, out + "/export_db_offaxis.png") && ok;
        const QList<QWidget *> before = QApplication::topLevelWidgets();
        result->findChild<QPushButton *>("pushButton_metrics")->click();
        if (QWidget *metrics = newestVisible("QDialog", before))
            ok = save(metrics, out + "/result_metrics.png") && ok;
        else
            ok = false;
        result->findChild<QPushButton *>("pushButton_profiles")->click();
        if (QWidget *profiles = newestVisible("ProfileWnd", before))
            ok = save(profiles, out + "/result_profiles.png") && ok;
        else
            ok = false;
        result->hide();
    } else {
        std::fprintf(stderr, "no off-axis result window\n");
        ok = false;
    }
    w->findChild<QLineEdit *>("X_Focus_Poper")->setText("0.0");

    // Axial plane.
    w->findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
    w->findChild<QPushButton *>("Button_def_2")->click();
    ok = save(w, out + "/plane_window_axial.png") && ok;
    w->findChild<QPushButton *>("Help_Button_Axial")->click();
    if (QWidget *help = newestVisible("HelpWindowAxial")) {
        ok = save(help, out + "/help_axial.png") && ok;
        help->close();
    } else {
        std::fprintf(stderr, "the axial help window did not open\n");
        ok = false;
    }
    if (QWidget *result = calculateAndShow(w, true, 0)) { // "Безразмерное\nдавление"
        ok = save(result, out + "/result_axial.png") && ok;
        result->hide();
    } else {
        std::fprintf(stderr, "no axial result window\n");
        ok = false;
    }

    ok = qualityRoad(w, out) && ok;
    return ok ? 0 : 1;
}
