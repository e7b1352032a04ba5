// The whole field road as a new user walks it, in one process with the real windows and the real
// field calculator: kormax-calc is started through calc/calc.bat in a temporary application
// directory, and the "Внимание!" box is answered only once the calculator has written calcdone.
// Checked is what the user sees: the windows and their titles and sizes, where the plotted
// maximum lies, the exported files, the way back through "< Назад" and the clean-up at exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cmath>
#include <iostream>
#include <qwt_plot_spectrogram.h>
#include <qwt_scale_div.h>

#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "platform.h"
#include "plot.h"
#include "print_qt.h"
#include "result_wnd.h"
#include "road_test.h"
#include "shared_params.h"
#include "show_vesk_wnd.h"
#include "test_support.h"
#include "window_common.h"

namespace {

using testsupport::BoxRecorder;

// The longest a calculation may take before the test gives up on it (a loaded machine is slow).
constexpr int kCalculationTimeoutMs = 300000;

void processEventsFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

using testsupport::button;
using testsupport::child;
using testsupport::edit;

// What a user types into a field: clear it, then the keys.
void type(QWidget *w, const char *name, const QString &text)
{
    QLineEdit *field = edit(w, name);
    field->clear();
    QTest::keyClicks(field, text);
    EXPECT_EQ(field->text(), text) << name;
}

// The visible top-level windows of a class that were not there before.
template <class T> QList<T *> newWindows(const QList<QWidget *> &before)
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (T *t = qobject_cast<T *>(w))
            if (t->isVisible() && !before.contains(w))
                found << t;
    return found;
}

template <class T> T *theVisible()
{
    T *found = nullptr;
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (T *t = qobject_cast<T *>(w))
            if (t->isVisible()) {
                found = t;
                ++count;
            }
    EXPECT_EQ(count, 1) << "visible " << T::staticMetaObject.className();
    return found;
}

int visibleWorkingWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible()
            && (qobject_cast<MainWindow *>(w) || qobject_cast<Show_Vesk_wnd *>(w) || qobject_cast<plane_ch_wnd *>(w)))
            ++n;
    return n;
}

// The plotted field: maximum, where it lies (plot coordinates, cm) and the colour bar's top.
struct PlottedMaximum {
    double value = -1, x = 0, y = 0, colourBarTop = 0, rasterTop = 0;
    int points = 0;
};

PlottedMaximum plottedMaximum(Result_wnd *w)
{
    PlottedMaximum m;
    Plot *plot = w->findChild<Plot *>("widget");
    if (!plot) {
        ADD_FAILURE() << "no plot in the result window";
        return m;
    }
    const VDOUB3 z = plot->GetZ();
    for (size_t i = 0; i < z[2].size(); ++i)
        for (size_t j = 0; j < z[2][i].size(); ++j) {
            ++m.points;
            if (z[2][i][j] > m.value) {
                m.value = z[2][i][j];
                m.x = z[0][i][j];
                m.y = z[1][i][j];
            }
        }
    std::cout << "[ road ] " << plot->title().text().toStdString() << ": maximum " << m.value << " at (" << m.x << ", "
              << m.y << ") cm" << std::endl;
    m.colourBarTop = plot->axisScaleDiv(QwtPlot::yRight).upperBound();
    const QwtPlotItemList items = plot->itemList(QwtPlotItem::Rtti_PlotSpectrogram);
    if (items.size() == 1)
        m.rasterTop = static_cast<QwtPlotSpectrogram *>(items.first())->data()->interval(Qt::ZAxis).maxValue();
    else
        ADD_FAILURE() << "the plot holds " << items.size() << " spectrograms";
    return m;
}

// The text export: its numbers from the ninth line on, three per line.
struct ExportedText {
    int lines = 0, points = 0;
    double max = -1, x = 0, y = 0;
    bool wellFormed = true;
};

ExportedText readExportedText(const QString &path)
{
    ExportedText t;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        t.wellFormed = false;
        return t;
    }
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (int i = 8; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.simplified().split(' ');
        bool ok[3] = {false, false, false};
        if (parts.size() != 3) {
            t.wellFormed = false;
            continue;
        }
        const double x = parts[0].toDouble(&ok[0]), y = parts[1].toDouble(&ok[1]), v = parts[2].toDouble(&ok[2]);
        t.wellFormed = t.wellFormed && ok[0] && ok[1] && ok[2];
        ++t.points;
        if (v > t.max) {
            t.max = v;
            t.x = x;
            t.y = y;
        }
    }
    t.lines = lines.size();
    return t;
}

class RoadE2E : public testsupport::RoadTest
{
protected:
    void SetUp() override
    {
        timer.start();
        // The application directory as it ships: calculator, batch file, shipped files.
        ASSERT_NO_FATAL_FAILURE(
            copyShipped({"kormax-calc", "calc/calc.bat", "Elements_Quist_Marvane.txt", "logo_png.png", "icon.png"}));

        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        shared::resetEntryFlags();
        BoxRecorder::instance().clear();

        // The calculator really starts, detached, like on a user's desktop.
        startForReal();
        // The user presses OK in "Внимание!" only once the calculator has finished.
        platform::setBoxHandler([this](const platform::Box &box) {
            if (box.title == "Внимание!")
                waitForCalculator();
            return BoxRecorder::instance().record(box);
        });
        platform::setFileDialogHandler([this](const platform::FileDialog &d) {
            dialogs << d;
            return dialogAnswer;
        });
    }

    void TearDown() override
    {
        RoadTest::TearDown();
        std::cout << "[ road ] " << ::testing::UnitTest::GetInstance()->current_test_info()->name() << ": "
                  << timer.elapsed() / 1000.0 << " s in all, " << calculationMs / 1000.0 << " s waiting for "
                  << calculations << " calculation(s)" << std::endl;
    }

    void waitForCalculator()
    {
        QElapsedTimer t;
        t.start();
        const QString marker = app.file("calc/calcdone");
        while (!QFile::exists(marker) && t.elapsed() < kCalculationTimeoutMs)
            processEventsFor(20);
        calculationMs += t.elapsed();
        ++calculations;
        if (!QFile::exists(marker))
            ADD_FAILURE() << "no calcdone after " << t.elapsed() / 1000 << " s; log.txt:\n"
                          << testsupport::readAll(app.file("calc/log.txt")).toStdString();
    }

    // "Рассчитать\nполе" on a tab; the run must get through to the result button.
    void calculate(plane_ch_wnd *w, bool axial)
    {
        const int before = BoxRecorder::instance().boxes().size();
        QPushButton *calc = button(w, axial ? "pushButton_3" : "pushButton_4");
        ASSERT_TRUE(calc->isEnabled());
        EXPECT_EQ(calc->text(), "Рассчитать\nполе");
        calc->click();
        const auto &boxes = BoxRecorder::instance().boxes();
        ASSERT_EQ(boxes.size(), before + 1) << BoxRecorder::instance().texts().join("\n").toStdString();
        EXPECT_EQ(boxes.last().title, "Внимание!");
        EXPECT_EQ(boxes.last().text, "Нажимте ОК по окончании работы программы расчета");
        ASSERT_FALSE(starts.isEmpty());
        EXPECT_EQ(starts.last(), (QStringList{app.file("calc/calc.bat"), app.file("calc/")}));
        ASSERT_TRUE(QFile::exists(app.file("calc/calcdone")));
        EXPECT_TRUE(QFile::exists(app.file(axial ? "calc/AbsField_YZ.txt" : "calc/AbsField_XY.txt")));
        EXPECT_TRUE(button(w, axial ? "pushButton_5" : "pushButton_6")->isEnabled());
    }

    // "Перейти к\nрезультатам" with a result type; returns the one new result window.
    Result_wnd *openResult(plane_ch_wnd *w, bool axial, int resultType)
    {
        child<QComboBox>(w, axial ? "comboBox_2" : "comboBox")->setCurrentIndex(resultType);
        QPushButton *results = button(w, axial ? "pushButton_5" : "pushButton_6");
        EXPECT_EQ(results->text(), "Перейти к\nрезультатам");
        const QList<QWidget *> before = QApplication::topLevelWidgets();
        results->click();
        const QList<Result_wnd *> opened = newWindows<Result_wnd>(before);
        if (opened.size() != 1) {
            ADD_FAILURE() << opened.size() << " result windows opened; boxes: "
                          << BoxRecorder::instance().texts().join(" | ").toStdString();
            return nullptr;
        }
        Result_wnd *r = opened.first();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(r));
        EXPECT_EQ(r->windowTitle(), "Результат расчета поля");
        // 96 dpi: the transverse window at its design size, the axial one twice as wide.
        EXPECT_EQ(r->size(), axial ? QSize(1070, 593) : QSize(535, 593));
        EXPECT_EQ(r->minimumSize(), QSize(535, 593));
        return r;
    }

    // "Сохранить в файл" to a name; the first bytes of what was written.
    QByteArray exportTo(Result_wnd *r, const QString &name)
    {
        dialogAnswer = exports.filePath(name);
        button(r, "pushButton")->click();
        dialogAnswer.clear();
        return testsupport::readAll(exports.filePath(name));
    }

    // A user's close of a result window, answered Yes: only that window goes.
    void closeResult(Result_wnd *r)
    {
        const int quits = testsupport::quitRequests();
        QPointer<Result_wnd> guard(r);
        BoxRecorder::instance().setAnswer(QMessageBox::Yes);
        testsupport::closeByUser(r);
        BoxRecorder::instance().setAnswer(QMessageBox::No);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
        EXPECT_EQ(BoxRecorder::instance().boxes().last().title, "Выход из приложения");
        EXPECT_EQ(testsupport::quitRequests(), quits);
    }

    void waitForCalculatorsToExit()
    {
        for (qint64 pid : pids)
            EXPECT_TRUE(testsupport::waitForExit(pid, 30000)) << "calculator " << pid << " still running";
    }

    QTemporaryDir exports;
    QList<platform::FileDialog> dialogs;
    QString dialogAnswer;
    QElapsedTimer timer;
    qint64 calculationMs = 0;
    int calculations = 0;
};

// The plot titles of the four result types, in the selector's order.
const char *const kTitles[4] = {"Давление в фокусе, нормированное на давление на элементе", "Давление в фокусе, МПа",
                                "Интенсивность в фокусе, Вт/см<sup>2</sup>",
                                "Интенсивность в фокусе, нормированная на интенсивность на элементе"};

} // namespace

// Example data, default planes through the centre of curvature, all four result types, every
// export, the way back to the main window and out again, and the exit.
TEST_F(RoadE2E, ExampleArrayFocusedAtItsCentreOfCurvature)
{
    // Main window: the example, then Continue.
    auto *main = new MainWindow;
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    EXPECT_EQ(main->windowTitle(), "Ввод параметров");
    QPushButton *example = button(main, "pushButton_5");
    EXPECT_EQ(example->text(), "Ввести данные для примера");
    example->click();
    EXPECT_EQ(BoxRecorder::instance().boxes().last().title, "Параметры по умолчанию ");
    QPushButton *next = button(main, "pushButton_2");
    ASSERT_TRUE(next->isEnabled());
    EXPECT_EQ(next->text(), "Продолжить");
    const QRect mainGeometry = main->geometry();
    next->click();

    // Array window in the main window's place.
    Show_Vesk_wnd *array = main->arrayWindow();
    ASSERT_TRUE(array->isVisible()) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(array->windowTitle(), "Моделирование решетки");
    EXPECT_EQ(array->geometry(), mainGeometry);
    EXPECT_EQ(shared::Elem.size(), 256u);
    EXPECT_EQ(visibleWorkingWindows(), 1);

    // Plane window, default transverse plane.
    QPushButton *further = button(array, "pushButton_4");
    EXPECT_EQ(further->text(), "Далее >");
    further->click();
    plane_ch_wnd *plane = theVisible<plane_ch_wnd>();
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane->windowTitle(), "Выбор области расчета поля");
    EXPECT_EQ(plane->geometry(), mainGeometry);
    EXPECT_EQ(visibleWorkingWindows(), 1);
    EXPECT_FALSE(button(plane, "pushButton_4")->isEnabled()) << "nothing entered yet";
    button(plane, "Button_def")->click();
    EXPECT_EQ(edit(plane, "lineEdit")->text(), "13");
    EXPECT_EQ(edit(plane, "lineEdit_10")->text(), "51");
    EXPECT_EQ(edit(plane, "lineEdit_2")->text(), "0.0566");
    EXPECT_EQ(edit(plane, "Z_Focus_Poper")->text(), "13");

    ASSERT_NO_FATAL_FAILURE(calculate(plane, false));
    EXPECT_TRUE(testsupport::readAll(app.file("calc/grid_calc.txt")).startsWith("xy\n0.13\n101\n101\n"));
    const QByteArray firstLine = testsupport::readAll(app.file("calc/AbsField_XY.txt")).left(200);

    // The four result types. The dimensionless pressure M at the focus fixes the others:
    // p = M * 0.25 MPa, I = (M * 0.25e6 Pa)^2 / (2 * 1000 * 1500) / 1e4 W/cm^2, I/I0 = M^2.
    double M = 0;
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(kTitles[type]);
        Result_wnd *r = openResult(plane, false, type);
        ASSERT_NE(r, nullptr);
        Plot *plot = r->findChild<Plot *>("widget");
        EXPECT_EQ(plot->title().text(), QString(kTitles[type]));
        EXPECT_EQ(child<QLabel>(r, "Focus_Label")->text(), "Фокус: x= 0 см, y= 0 см, z= 13 см.");
        const PlottedMaximum m = plottedMaximum(r);
        EXPECT_EQ(m.points, 101 * 101);
        // The focus is a grid point: the maximum lies there, and the colour bar ends at it.
        EXPECT_NEAR(m.x, 0.0, 1e-9);
        EXPECT_NEAR(m.y, 0.0, 1e-9);
        EXPECT_DOUBLE_EQ(m.colourBarTop, m.value);
        EXPECT_DOUBLE_EQ(m.rasterTop, m.value);
        const double expected[4] = {M, M * 0.25, std::pow(M * 0.25e6, 2) / 3e6 / 1e4, M * M};
        if (type == 0) {
            M = m.value;
            // 256 elements of 3.5 mm radius at 13 cm, 1 MHz: about 50 times the element pressure.
            EXPECT_GT(M, 40);
            EXPECT_LT(M, 60);
        } else {
            EXPECT_NEAR(m.value, expected[type], 1e-9 * expected[type]);
        }

        if (type == 1) {
            // Export in every kind a user would pick.
            const QByteArray pdf = exportTo(r, "field.pdf");
            EXPECT_TRUE(pdf.startsWith("%PDF-")) << pdf.left(16).toStdString();
            EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
            const QByteArray svg = exportTo(r, "field.svg");
            EXPECT_TRUE(svg.startsWith("<?xml")) << svg.left(16).toStdString();
            EXPECT_TRUE(svg.contains("<svg"));
            EXPECT_TRUE(svg.trimmed().endsWith("</svg>"));
            const QByteArray png = exportTo(r, "field.png");
            EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
            const QImage image = QImage::fromData(png, "PNG");
            EXPECT_FALSE(image.isNull());
            EXPECT_GT(image.width(), 1000) << "rendered at 300 dpi";
            exportTo(r, "field.txt");
            const ExportedText text = readExportedText(exports.filePath("field.txt"));
            EXPECT_TRUE(text.wellFormed);
            EXPECT_EQ(text.points, 101 * 101);
            EXPECT_NEAR(text.max, m.value, 1e-6);
            EXPECT_NEAR(text.x, 0.0, 1e-6);
            EXPECT_NEAR(text.y, 0.0, 1e-6);
            EXPECT_EQ(dialogs.size(), 4);
            EXPECT_EQ(dialogs.last().caption, "Export File Name");
            EXPECT_EQ(dialogs.last().dir, "result.pdf");
            for (const auto &b : BoxRecorder::instance().boxes())
                EXPECT_NE(b.title, "Ошибка!") << b.text.toStdString();
        }
        closeResult(r);
    }

    // Axial plane at phi = 0 through the focus: the maximum on the axis, at the focus.
    child<QTabWidget>(plane, "tabWidget")->setCurrentIndex(1);
    button(plane, "Button_def_2")->click();
    EXPECT_EQ(edit(plane, "lineEdit_6")->text(), "6.5");
    EXPECT_EQ(edit(plane, "lineEdit_8")->text(), "241");
    ASSERT_NO_FATAL_FAILURE(calculate(plane, true));
    EXPECT_TRUE(testsupport::readAll(app.file("calc/grid_calc.txt")).startsWith("yz\n0\n101\n241\n"));
    // The transverse result of the earlier run is still there (the calculator overwrites, the
    // application does not remove).
    EXPECT_EQ(testsupport::readAll(app.file("calc/AbsField_XY.txt")).left(200), firstLine);
    Result_wnd *axial = openResult(plane, true, 0);
    ASSERT_NE(axial, nullptr);
    const PlottedMaximum am = plottedMaximum(axial);
    EXPECT_EQ(am.points, 241 * 101);
    EXPECT_NEAR(am.x, 13.0, 0.11) << "z of the maximum";
    EXPECT_NEAR(am.y, 0.0, 1e-9) << "r of the maximum";
    EXPECT_NEAR(am.value, M, 0.02 * M);
    EXPECT_DOUBLE_EQ(am.colourBarTop, am.value);
    exportTo(axial, "axial.txt");
    const ExportedText axialText = readExportedText(exports.filePath("axial.txt"));
    EXPECT_EQ(axialText.points, 241 * 101);
    EXPECT_NEAR(axialText.max, am.value, 1e-6);
    EXPECT_NEAR(axialText.x, am.x, 1e-6);
    closeResult(axial);

    // Back: plane window -> a new array window -> a new main window, refilled.
    const QRect planeGeometry = plane->geometry();
    const QPointer<plane_ch_wnd> firstPlane(plane);
    button(plane, "pushButton_8")->click();
    EXPECT_FALSE(plane->isVisible());
    Show_Vesk_wnd *array2 = theVisible<Show_Vesk_wnd>();
    ASSERT_NE(array2, nullptr);
    EXPECT_NE(array2, array);
    EXPECT_EQ(array2->geometry(), planeGeometry);
    button(array2, "pushButton_2")->click(); // "< Назад" on the front view
    MainWindow *main2 = theVisible<MainWindow>();
    ASSERT_NE(main2, nullptr);
    EXPECT_NE(main2, main);
    EXPECT_EQ(main2->windowTitle(), "Выбор начальных параметров");
    EXPECT_EQ(main2->geometry(), planeGeometry);
    const QList<QPair<const char *, QString>> kept = {
        {"lineEdit", "17"},     {"lineEdit_2", "13"},    {"lineEdit_4", "1"},
        {"lineEdit_5", "0.35"}, {"lineEdit_9", "2"},     {"lineEdit_7", "1000"},
        {"lineEdit_6", "1500"}, {"lineEdit_3", "0"},     {"lineEdit_11", "0"},
        {"lineEdit_12", "13"},  {"lineEdit_10", "0.25"}, {"lineEdit_8", app.file("Elements_Quist_Marvane.txt")}};
    for (const auto &f : kept)
        EXPECT_EQ(edit(main2, f.first)->text(), f.second) << f.first;
    ASSERT_TRUE(button(main2, "pushButton_2")->isEnabled());

    // And forward again: the plane window shows both planes as they were.
    button(main2, "pushButton_2")->click();
    ASSERT_TRUE(main2->arrayWindow()->isVisible()) << BoxRecorder::instance().texts().join("\n").toStdString();
    button(main2->arrayWindow(), "pushButton_4")->click();
    plane_ch_wnd *plane2 = theVisible<plane_ch_wnd>();
    ASSERT_NE(plane2, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstPlane.isNull()) << "the plane window left behind is freed";
    EXPECT_EQ(edit(plane2, "lineEdit")->text(), "13");
    EXPECT_EQ(edit(plane2, "lineEdit_10")->text(), "51");
    EXPECT_EQ(edit(plane2, "lineEdit_2")->text(), "0.0566");
    EXPECT_TRUE(button(plane2, "pushButton_4")->isEnabled());
    EXPECT_FALSE(button(plane2, "pushButton_6")->isEnabled()) << "no result without a new calculation";
    child<QTabWidget>(plane2, "tabWidget")->setCurrentIndex(1);
    EXPECT_EQ(edit(plane2, "lineEdit_6")->text(), "6.5");
    EXPECT_EQ(edit(plane2, "lineEdit_7")->text(), "0");
    EXPECT_EQ(edit(plane2, "lineEdit_8")->text(), "241");
    EXPECT_EQ(edit(plane2, "lineEdit_9")->text(), "51");
    EXPECT_TRUE(button(plane2, "pushButton_3")->isEnabled());

    // Leaving: No keeps everything, Yes removes the job files and ends the application.
    waitForCalculatorsToExit();
    const int quits = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    testsupport::closeByUser(plane2);
    EXPECT_TRUE(plane2->isVisible());
    EXPECT_TRUE(QFile::exists(app.file("calc/AbsField_YZ.txt")));
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    testsupport::closeByUser(plane2);
    EXPECT_FALSE(plane2->isVisible());
    EXPECT_EQ(testsupport::quitRequests(), quits + 1);
    EXPECT_EQ(QDir(app.file("calc")).entryList(QDir::Files), QStringList{"calc.bat"});
}

// A user's own small array from a file chosen with "Обзор", focus steered off the axis; the
// transverse plane and the axial plane turned by 90 degrees must both show the maximum there.
TEST_F(RoadE2E, OwnElementFileSteeredFocusTransverseAndAxialAt90Degrees)
{
    // Hexagonal lattice of 5 mm pitch inside a 2.5 cm radius, hole of 0.5 cm radius kept free.
    QByteArray elements = "x y\n";
    int count = 0;
    for (int row = -6; row <= 6; ++row)
        for (int col = -6; col <= 6; ++col) {
            const double x = 0.5 * (col + 0.5 * (row & 1)), y = 0.5 * 0.8660254 * row;
            const double rho = std::hypot(x, y);
            if (rho > 2.5 || rho < 0.75)
                continue;
            elements += QByteArray::number(x, 'f', 4) + " " + QByteArray::number(y, 'f', 4) + "\n";
            ++count;
        }
    const QString elementFile = app.file("my_array.txt");
    testsupport::writeAll(elementFile, elements);

    auto *main = new MainWindow;
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    type(main, "lineEdit", "6");     // aperture, cm
    type(main, "lineEdit_2", "8");   // radius of curvature, cm
    type(main, "lineEdit_4", "1");   // MHz
    type(main, "lineEdit_5", "0.2"); // element radius, cm
    type(main, "lineEdit_9", "0.5"); // hole radius, cm
    type(main, "lineEdit_7", "1000");
    type(main, "lineEdit_6", "1500");
    type(main, "lineEdit_3", "0");
    type(main, "lineEdit_11", "0");
    type(main, "lineEdit_12", "8");
    type(main, "lineEdit_10", "0.1"); // MPa
    EXPECT_EQ(edit(main, "lineEdit_13")->text(), "0.3333") << "intensity derived from the pressure";
    EXPECT_FALSE(button(main, "pushButton_2")->isEnabled()) << "no element file yet";
    dialogAnswer = elementFile;
    button(main, "pushButton")->click(); // "Обзор"
    dialogAnswer.clear();
    EXPECT_EQ(edit(main, "lineEdit_8")->text(), elementFile);
    ASSERT_TRUE(button(main, "pushButton_2")->isEnabled());
    button(main, "pushButton_2")->click();
    ASSERT_TRUE(main->arrayWindow()->isVisible()) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_EQ(static_cast<int>(shared::Elem.size()), count);

    button(main->arrayWindow(), "pushButton_3")->click(); // "Далее >" on the 3D tab
    plane_ch_wnd *plane = theVisible<plane_ch_wnd>();
    ASSERT_NE(plane, nullptr);

    // Transverse plane at the focal distance, focus at (0.5, 0.3, 8) cm.
    button(plane, "Button_def")->click();
    EXPECT_EQ(edit(plane, "lineEdit_2")->text(), "0.02");
    type(plane, "X_Focus_Poper", "0.5");
    type(plane, "Y_Focus_Poper", "0.3");
    ASSERT_NO_FATAL_FAILURE(calculate(plane, false));
    Result_wnd *r = openResult(plane, false, 2); // intensity
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(child<QLabel>(r, "Focus_Label")->text(), "Фокус: x= 0.5 см, y= 0.3 см, z= 8 см.");
    const PlottedMaximum m = plottedMaximum(r);
    EXPECT_NEAR(m.x, 0.5, 0.041) << "x of the maximum, cm";
    EXPECT_NEAR(m.y, 0.3, 0.041) << "y of the maximum, cm";
    exportTo(r, "own.txt");
    const ExportedText text = readExportedText(exports.filePath("own.txt"));
    EXPECT_NEAR(text.max, m.value, 1e-6);
    EXPECT_NEAR(text.x, m.x, 1e-6);
    EXPECT_NEAR(text.y, m.y, 1e-6);
    closeResult(r);

    // Axial plane turned by 90 degrees: it holds the x axis, so the focus at x = 0.5 cm lies in
    // it, 0.5 cm off the array axis.
    child<QTabWidget>(plane, "tabWidget")->setCurrentIndex(1);
    EXPECT_EQ(edit(plane, "X_Focus_Axial")->text(), "0.5") << "the focus is shared by both tabs";
    EXPECT_EQ(edit(plane, "Y_Focus_Axial")->text(), "0.3") << "the focus is shared by both tabs";
    button(plane, "Button_def_2")->click(); // also puts the focus back to the centre of curvature
    EXPECT_EQ(edit(plane, "Y_Focus_Axial")->text(), "0");
    type(plane, "lineEdit_7", "90");
    type(plane, "X_Focus_Axial", "0.5");
    ASSERT_NO_FATAL_FAILURE(calculate(plane, true));
    Result_wnd *a = openResult(plane, true, 3); // dimensionless intensity
    ASSERT_NE(a, nullptr);
    const PlottedMaximum am = plottedMaximum(a);
    EXPECT_NEAR(am.y, 0.5, 0.041) << "r of the maximum, cm";
    EXPECT_NEAR(am.x, 8.0, 0.5) << "z of the maximum, cm";
    closeResult(a);

    // The same plane with the focus on the y axis instead: out of this plane, so the plane only
    // grazes the focal spot and its maximum is far below.
    type(plane, "X_Focus_Axial", "0");
    type(plane, "Y_Focus_Axial", "0.5");
    ASSERT_NO_FATAL_FAILURE(calculate(plane, true));
    Result_wnd *off = openResult(plane, true, 3);
    ASSERT_NE(off, nullptr);
    EXPECT_LT(plottedMaximum(off).value, 0.7 * am.value);
    closeResult(off);

    // Back from the axial tab and the 3D tab to the main window, which keeps the user's array,
    // and forward again to the axial plane as it was left.
    button(plane, "pushButton_10")->click();
    Show_Vesk_wnd *array = theVisible<Show_Vesk_wnd>();
    ASSERT_NE(array, nullptr);
    array->setCurrentIndex(1);
    button(array, "pushButton")->click(); // "< Назад" on the 3D tab
    MainWindow *again = theVisible<MainWindow>();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->windowTitle(), "Ввод параметров");
    EXPECT_EQ(edit(again, "lineEdit")->text(), "6");
    EXPECT_EQ(edit(again, "lineEdit_5")->text(), "0.2");
    EXPECT_EQ(edit(again, "lineEdit_10")->text(), "0.1");
    EXPECT_EQ(edit(again, "lineEdit_8")->text(), elementFile);
    button(again, "pushButton_2")->click();
    ASSERT_TRUE(again->arrayWindow()->isVisible()) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_EQ(static_cast<int>(shared::Elem.size()), count);
    button(again->arrayWindow(), "pushButton_4")->click();
    plane_ch_wnd *plane2 = theVisible<plane_ch_wnd>();
    ASSERT_NE(plane2, nullptr);
    child<QTabWidget>(plane2, "tabWidget")->setCurrentIndex(1);
    EXPECT_EQ(edit(plane2, "lineEdit_7")->text(), "90");
    EXPECT_EQ(edit(plane2, "Y_Focus_Axial")->text(), "0.5");
    EXPECT_TRUE(button(plane2, "pushButton_3")->isEnabled());

    waitForCalculatorsToExit();
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    testsupport::closeByUser(plane2);
    EXPECT_FALSE(plane2->isVisible());
    EXPECT_EQ(QDir(app.file("calc")).entryList(QDir::Files), QStringList{"calc.bat"});
}
