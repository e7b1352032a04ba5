// Small main-maxima and side-maxima scans of the example array with the real calculator, started
// from the axial quality window, then its three result buttons: the best focus the label states is
// the largest value of the result file, and the maps draw the contour levels the user asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QtTest/QTest>
#include <cmath>
#include <cstring>
#include <qwt_plot_renderer.h>

#include "axialquality_wnd.h"
#include "build_list_of_elem.h"
#include "main_params.h"
#include "plane_test_util.h"
#include "plot_main_and_side.h"
#include "plot_main_max.h"
#include "recording_device.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd_qual.h"
#include "test_support.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

// The newest shown window of a class.
template <class W> W *newest(const QList<QWidget *> &before)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (W *w = qobject_cast<W *>(top))
            if (w->isVisible() && !before.contains(w))
                return w;
    return nullptr;
}

template <class W> W *press(QWidget *quality, const char *name)
{
    const QList<QWidget *> before = QApplication::topLevelWidgets();
    button(quality, name)->click();
    return newest<W>(before);
}

// The texts of the contour labels a plot draws (bold 8-point Helvetica), rendered as for export.
QStringList contourLabels(QwtPlot *plot)
{
    // At the plot's resolution, so the labels keep the font they are given.
    testsupport::RecordingDevice device(QSize(1000, 600), plot->logicalDpiY());
    QPainter painter(&device);
    QwtPlotRenderer().render(plot, &painter, QRectF(0, 0, 1000, 600));
    painter.end();
    QStringList labels;
    for (const auto &t : device.texts())
        if (t.font.family() == "Helvetica" && t.font.pointSize() == 8 && t.font.bold())
            labels << t.text;
    return labels;
}

// The largest value of an axial binary result (triplets r, z, value with the z index i running
// fastest over nx positions) at the lowest z index, then the lowest r index, that holds it; and
// the smallest value.
struct Best {
    double r = 0, z = 0, value = -1;
    int i = -1, j = -1;
    double low = 1e300;
};
Best bestOfFile(const QString &path, int nx)
{
    const QByteArray bytes = testsupport::readAll(path);
    std::vector<double> v(size_t(bytes.size()) / sizeof(double));
    std::memcpy(v.data(), bytes.constData(), v.size() * sizeof(double));
    Best best;
    for (size_t k = 0; 4 + 3 * k < v.size(); ++k) {
        const double *t = &v[2 + 3 * k];
        const int i = int(k) % nx, j = int(k) / nx;
        best.low = std::min(best.low, t[2]);
        if (t[2] > best.value || (t[2] == best.value && (i < best.i || (i == best.i && j < best.j))))
            best = {t[0], t[1], t[2], i, j, best.low};
    }
    return best;
}

class RealCalculatorQuality : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetShared();
        // The example array of the main window.
        ASSERT_TRUE(testsupport::setExampleArray());
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();

        // The job folders as installed: the shipped batch files beside the real calculator.
        for (const char *job : {"main_max", "side_max"}) {
            const QString bat = app.file(QString(job) + "/Trovane.bat");
            QFile::copy(QString(KORMAX_APP_DIR) + "/" + job + "/Trovane.bat", bat);
            QFile::setPermissions(bat, QFile::permissions(bat) | QFileDevice::ExeOwner);
        }
        ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", app.file("kormax-calc")));
        platform::setStartDetachedHandler([](const QString &program, const QStringList &args, const QString &workDir) {
            return QProcess::startDetached(program, args, workDir);
        });
        // The user presses OK once the calculator of the job just started has finished.
        platform::setBoxHandler([this](const platform::Box &box) {
            if (box.text.startsWith("Нажимте"))
                testsupport::waitForFile(app.file(running + "/calcdone"), 300000);
            return BoxRecorder::instance().record(box);
        });
    }
    void TearDown() override
    {
        testsupport::installDefaultHooks();
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<Result_Wnd_qual *>(w) || qobject_cast<Result_Main_and_Side_wnd *>(w))
                delete w;
    }

    testsupport::TempAppDir app;
    QString running;
};

} // namespace

TEST_F(RealCalculatorQuality, ScansFromTheAxialWindowOpenAllThreeMaps)
{
    AxialQuality_wnd w;
    // Field region z 5..21 cm, r within 5 cm; focus positions z 9..17 cm, r within 4 cm: steered
    // that far off the axis the elements' directivity lets the field peak elsewhere.
    w.SetCalcData(0.05, 0.21, 0.05, 0, 21, 33, 0.0025, 0.005);
    const std::pair<const char *, const char *> shift[] = {
        {"lineEdit_6", "9"}, {"lineEdit_7", "2"}, {"lineEdit_10", "5"}, {"lineEdit_8", "2"}, {"lineEdit_11", "3"}};
    for (const auto &f : shift)
        edit(&w, f.first)->setText(f.second);
    w.show();

    running = "main_max";
    button(&w, "pushButton")->click();
    running = "side_max";
    button(&w, "pushButton_2")->click();
    ASSERT_TRUE(QFile::exists(app.file("main_max/calcdone")))
        << testsupport::readAll(app.file("main_max/log.txt")).toStdString();
    ASSERT_TRUE(QFile::exists(app.file("side_max/calcdone")))
        << testsupport::readAll(app.file("side_max/log.txt")).toStdString();
    EXPECT_TRUE(BoxRecorder::instance().texts().filter("Ошибка").isEmpty())
        << BoxRecorder::instance().texts().join("\n").toStdString();
    for (const char *b : {"pushButton_4", "pushButton_7", "pushButton_6"})
        ASSERT_TRUE(button(&w, b)->isEnabled()) << b;

    // Levels halfway through each scan's values, so that every map has lines to draw.
    const Best main = bestOfFile(app.file("main_max/AbsField_YZ.bin"), shared::Nx_G_qual_main);
    const Best side = bestOfFile(app.file("side_max/AbsField_YZ.bin"), shared::Nx_G_qual_side);
    const double mainLevel = std::round((main.value + main.low) * 50) / 100;
    const double sideLevel = std::round((side.value + side.low) * 50) / 100;
    ASSERT_GT(main.value, mainLevel);
    ASSERT_LT(main.low, mainLevel);
    ASSERT_GT(side.value, sideLevel);
    ASSERT_LT(side.low, sideLevel);
    for (const char *box : {"doubleSpinBox", "doubleSpinBox_2", "doubleSpinBox_3"})
        w.findChild<QDoubleSpinBox *>(box)->setValue(mainLevel);
    for (const char *box : {"doubleSpinBox_4", "doubleSpinBox_5", "doubleSpinBox_6"})
        w.findChild<QDoubleSpinBox *>(box)->setValue(sideLevel);
    const QString mainText = QString::number(mainLevel, 'g', 6);
    const QString sideText = QString::number(sideLevel, 'g', 6);

    // Main maxima: the label names the largest value's position in the result file.
    Result_Wnd_qual *single = press<Result_Wnd_qual>(&w, "pushButton_4");
    ASSERT_NE(single, nullptr);
    // The best-focus sentence; the combined map repeats it without the line on the share of the region.
    const QString label = single->findChild<QLabel *>("Focus_Label")->text().section('\n', 0, 1);
    EXPECT_TRUE(label.endsWith(QString("при фокусировке в точку x = 0 см, y = %1 см, z = %2 см.")
                                   .arg(QString::number(main.r * 100, 'g', 6), QString::number(main.z * 100, 'g', 6))))
        << label.toStdString();
    Plot_main_max *plot = single->findChild<Plot_main_max *>("widget");
    QStringList labels = contourLabels(plot);
    EXPECT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.filter(QRegExp("^" + QRegExp::escape(mainText) + "$")).size(), labels.size())
        << labels.join(" ").toStdString();

    // Side maxima: no label text, its own levels.
    Result_Wnd_qual *sideWindow = press<Result_Wnd_qual>(&w, "pushButton_7");
    ASSERT_NE(sideWindow, nullptr);
    EXPECT_EQ(sideWindow->findChild<QLabel *>("Focus_Label")->text(), QString());
    labels = contourLabels(sideWindow->findChild<Plot_main_max *>("widget"));
    EXPECT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.filter(QRegExp("^" + QRegExp::escape(sideText) + "$")).size(), labels.size());

    // Both: black main lines and red side lines with both levels.
    Result_Main_and_Side_wnd *both = press<Result_Main_and_Side_wnd>(&w, "pushButton_6");
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->size(), QSize(1036, 610).expandedTo(both->minimumSizeHint()));
    EXPECT_EQ(both->findChild<QLabel *>("Focus_Label")->text(), label);
    labels = contourLabels(both->findChild<Plot_Main_and_Side *>("widget"));
    EXPECT_TRUE(labels.contains(mainText));
    EXPECT_TRUE(labels.contains(sideText));
}
