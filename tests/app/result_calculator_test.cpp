// The whole road of a field result with the real calculator: the plane window writes the job,
// the shipped batch file runs kormax-calc, the result button opens a result window whose plot
// reads the calculator's file. The focus must come out where the array was steered.
// On screen the peak must be drawn in the top colours. With KORMAX_SCREENSHOT_DIR set the result
// windows are saved there, for looking at them by eye (the documentation's screenshots come from
// scripts/screenshots.sh).
#include <gtest/gtest.h>

#include <QApplication>
#include <array>
#include <cmath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QCheckBox>
#include <QLabel>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <qwt_plot_spectrogram.h>
#include <qwt_scale_widget.h>

#include "build_list_of_elem.h"
#include "field_metrics.h"
#include "main_params.h"
#include "plane_ch_wnd.h"
#include "plane_test_util.h"
#include "plot.h"
#include "profile_wnd.h"
#include "result_wnd.h"
#include "result_windows.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

// Colour on screen of a plot position in a window's picture.
QColor colourAt(const QImage &shot, Result_wnd *w, double x, double y)
{
    Plot *plot = w->findChild<Plot *>("widget");
    const QPoint onCanvas(qRound(plot->transform(QwtPlot::xBottom, x)), qRound(plot->transform(QwtPlot::yLeft, y)));
    return shot.pixelColor(plot->canvas()->mapTo(w, onCanvas));
}

// Position (i, j) of the largest value of a plot's arrays.
std::pair<size_t, size_t> argmax(const VDOUB3 &z)
{
    std::pair<size_t, size_t> best{0, 0};
    for (size_t i = 0; i < z[2].size(); ++i)
        for (size_t j = 0; j < z[2][i].size(); ++j)
            if (z[2][i][j] > z[2][best.first][best.second])
                best = {i, j};
    return best;
}

class RealCalculatorResult : public ::testing::Test
{
protected:
    void SetUp() override
    {
        planetest::resetShared();
        // The example array of the main window.
        mainparams::setExampleArray();
        shared::initpres = 250000;
        ASSERT_TRUE(build_list_of_elem(QString(KORMAX_APP_DIR) + "/Elements_Quist_Marvane.txt"));
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();

        // The job folder as installed: the shipped batch file beside the real calculator.
        QFile::copy(QString(KORMAX_APP_DIR) + "/calc/calc.bat", app.file("calc/calc.bat"));
        QFile::setPermissions(app.file("calc/calc.bat"),
                              QFile::permissions(app.file("calc/calc.bat")) | QFileDevice::ExeOwner);
        ASSERT_TRUE(QFile::link(QString(KORMAX_APP_DIR) + "/kormax-calc", app.file("kormax-calc")));
        platform::setStartDetachedHandler([](const QString &program, const QStringList &args, const QString &workDir) {
            return QProcess::startDetached(program, args, workDir);
        });
        // The user presses OK once the calculator has finished.
        const QString marker = app.file("calc/calcdone");
        platform::setBoxHandler([marker](const platform::Box &box) {
            if (box.title == QString("Внимание!"))
                testsupport::waitForFile(marker, 120000);
            return BoxRecorder::instance().record(box);
        });
    }
    void TearDown() override
    {
        testsupport::installDefaultHooks();
        platform::setScreenOverride(0, QRect());
        BoxRecorder::instance().clear();
    }

    // Default plane of a tab, calculate, then the result button with the given result type.
    Result_wnd *calculateAndShow(plane_ch_wnd &plane, bool axial, int resultType)
    {
        planetest::tabs(&plane)->setCurrentIndex(axial ? 1 : 0);
        planetest::button(&plane, axial ? "Button_def_2" : "Button_def")->click();
        planetest::button(&plane, axial ? "pushButton_3" : "pushButton_4")->click();
        EXPECT_TRUE(QFile::exists(app.file("calc/calcdone")))
            << testsupport::readAll(app.file("calc/log.txt")).toStdString();
        planetest::combo(&plane, axial ? "comboBox_2" : "comboBox")->setCurrentIndex(resultType);
        const QList<Result_wnd *> before = testsupport::openResultWindows();
        planetest::button(&plane, axial ? "pushButton_5" : "pushButton_6")->click();
        Result_wnd *w = nullptr;
        for (Result_wnd *r : testsupport::openResultWindows())
            if (!before.contains(r))
                w = r;
        if (w) {
            w->move(0, 0);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        return w;
    }

    // The window's picture: the peak in the top colours (dark red), a far corner in the bottom ones.
    static void checkAndSaveShot(Result_wnd *w, const VDOUB3 &z, std::pair<size_t, size_t> peak, const QString &name)
    {
        const QImage shot = w->grab().toImage();
        const QColor top = colourAt(shot, w, z[0][peak.first][peak.second], z[1][peak.first][peak.second]);
        EXPECT_GT(top.red(), 100);
        EXPECT_LT(top.green(), 60);
        EXPECT_LT(top.blue(), 60);
        const QColor corner = colourAt(shot, w, z[0][2][2], z[1][2][2]);
        EXPECT_LT(corner.red(), 60);
        EXPECT_GT(corner.blue(), 120);

        const QString dir = qEnvironmentVariable("KORMAX_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        EXPECT_TRUE(shot.save(dir + "/" + name));
    }

    static void closeResult(Result_wnd *w)
    {
        BoxRecorder::instance().setAnswer(QMessageBox::Yes);
        testsupport::closeByUser(w);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    testsupport::TempAppDir app;
};
} // namespace

TEST_F(RealCalculatorResult, TransverseFieldPeaksAtTheFocus)
{
    plane_ch_wnd plane;
    plane.show();
    Result_wnd *w = calculateAndShow(plane, false, 1); // pressure, MPa
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(BoxRecorder::instance().texts().filter("Ошибка").isEmpty())
        << BoxRecorder::instance().texts().join("\n").toStdString();

    const VDOUB3 z = w->findChild<Plot *>("widget")->GetZ();
    ASSERT_EQ(z[0].size(), 101u);
    ASSERT_EQ(z[0][0].size(), 101u);
    // The default plane spans +-A/6 = +-2.8333 cm at the focal distance.
    // (The step shows as 0.0283 cm: fields keep six characters.)
    EXPECT_NEAR(z[0][0][0], -2.83, 1e-9);
    EXPECT_NEAR(z[1][100][100], 2.83, 1e-9);
    const auto peak = argmax(z);
    EXPECT_NEAR(z[0][peak.first][peak.second], 0.0, 0.06);
    EXPECT_NEAR(z[1][peak.first][peak.second], 0.0, 0.06);
    // Several MPa at the focus from 0.25 MPa on the elements.
    EXPECT_GT(z[2][peak.first][peak.second], 1.0);
    checkAndSaveShot(w, z, peak, "result_transverse.png");
    closeResult(w);
}

TEST_F(RealCalculatorResult, AxialFieldPeaksOnTheAxisNearTheFocus)
{
    plane_ch_wnd plane;
    plane.show();
    Result_wnd *w = calculateAndShow(plane, true, 0); // normalised pressure
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->width(), 1070);

    const VDOUB3 z = w->findChild<Plot *>("widget")->GetZ();
    ASSERT_EQ(z[0].size(), 241u); // z along the horizontal axis
    ASSERT_EQ(z[0][0].size(), 101u);
    EXPECT_NEAR(z[0][0][0], 6.5, 1e-3);
    EXPECT_NEAR(z[0][240][0], 19.484, 1e-9); // dz shows as 0.0541 cm
    EXPECT_NEAR(z[1][0][0], -2.83, 1e-9);
    const auto peak = argmax(z);
    EXPECT_NEAR(z[1][peak.first][peak.second], 0.0, 0.06); // on the axis
    EXPECT_NEAR(z[0][peak.first][peak.second], 13.0, 1.0); // near the focal distance
    checkAndSaveShot(w, z, peak, "result_axial.png");
    closeResult(w);
}

namespace {
// The number after `label` in a text (NaN when missing).
double numberAfter(const QString &text, const QString &label)
{
    const QRegularExpression re(QRegularExpression::escape(label) + "\\s*(-?[0-9.]+)");
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : NAN;
}

// The -6 dB width (mm) across the row through the largest value of a text export, measured on the
// exported numbers alone: the crossings of half the peak pressure, interpolated linearly.
double halfPressureWidthFromExport(const QString &path)
{
    QStringList lines = QString::fromLocal8Bit(testsupport::readAll(path)).split('\n');
    std::vector<std::array<double, 3>> points;
    for (const QString &line : lines.mid(8)) {
        const QStringList f = line.split(' ', Qt::SkipEmptyParts);
        if (f.size() == 3)
            points.push_back({f[0].toDouble(), f[1].toDouble(), f[2].toDouble()});
    }
    size_t top = 0;
    for (size_t k = 0; k < points.size(); ++k)
        if (points[k][2] > points[top][2])
            top = k;
    std::vector<std::array<double, 3>> row; // the same ordinate, abscissa ascending
    for (const auto &p : points)
        if (std::abs(p[1] - points[top][1]) < 1e-9)
            row.push_back(p);
    const double half = points[top][2] * std::pow(10.0, -6.0 / 20.0);
    double low = NAN, high = NAN;
    for (size_t k = 0; k + 1 < row.size(); ++k) {
        const double a = row[k][2], b = row[k + 1][2];
        const double x = row[k][0] + (half - a) / (b - a) * (row[k + 1][0] - row[k][0]);
        if (a < half && b >= half && row[k + 1][0] <= points[top][0])
            low = x;
        if (a >= half && b < half && row[k][0] >= points[top][0] && std::isnan(high))
            high = x;
    }
    return (high - low) * 10.0;
}
} // namespace

TEST_F(RealCalculatorResult, ReadingsOfTheExampleFocusedAtItsCentreOfCurvature)
{
    plane_ch_wnd plane;
    plane.show();
    Result_wnd *w = calculateAndShow(plane, false, 0); // normalised pressure
    ASSERT_NE(w, nullptr);
    Plot *plot = w->findChild<Plot *>("widget");
    ASSERT_TRUE(QFile::exists(app.file("calc/focus_pressure.txt")));

    // The readings, as the window shows them in its text window.
    w->findChild<QPushButton *>("pushButton_metrics")->click();
    QPlainTextEdit *shown = w->findChild<QPlainTextEdit *>("metricsText");
    ASSERT_NE(shown, nullptr);
    const QString text = shown->toPlainText();
    EXPECT_EQ(text, w->metricsText());
    EXPECT_NEAR(numberAfter(text, "Усиление |p(F)|/p0:"), 50.43, 0.05) << text.toStdString();
    // The focus is a grid point of the plane: its peak is |p(F)|.
    EXPECT_NEAR(numberAfter(text, "относительно |p(F)|):"), 0.0, 0.01) << text.toStdString();
    EXPECT_TRUE(text.contains("Фокус лежит в плоскости, в точке x = 0.000 см, y = 0.000 см")) << text.toStdString();

    // Against the -6 dB width measured on the text export of the same window.
    testsupport::BoxRecorder::instance().clear();
    const QString exported = app.file("field.txt");
    platform::setFileDialogHandler([exported](const platform::FileDialog &) { return exported; });
    w->findChild<QPushButton *>("pushButton")->click();
    const double measured = halfPressureWidthFromExport(exported);
    const double reported = numberAfter(text, "Ширина на уровне -6 дБ: по x");
    EXPECT_NEAR(measured, 1.6, 0.2);
    EXPECT_NEAR(reported, measured, 0.05 * measured) << text.toStdString();

    // dB scale: colour bar from the floor to 0, the tracker's value in dB, the export still linear.
    QCheckBox *db = w->findChild<QCheckBox *>("checkBox_dB");
    QDoubleSpinBox *floor = w->findChild<QDoubleSpinBox *>("doubleSpinBox_floor");
    EXPECT_FALSE(floor->isEnabled());
    db->setChecked(true);
    EXPECT_TRUE(floor->isEnabled());
    const VDOUB3 z = plot->GetZ();
    const FieldPoint peak = fieldPeak(z);
    EXPECT_NEAR(peak.value, 50.43, 0.1);
    const QwtInterval bar = plot->axisWidget(QwtPlot::yRight)->colorBarInterval();
    EXPECT_DOUBLE_EQ(bar.minValue(), -40.0);
    EXPECT_DOUBLE_EQ(bar.maxValue(), 0.0);
    floor->setValue(-60);
    EXPECT_DOUBLE_EQ(plot->axisWidget(QwtPlot::yRight)->colorBarInterval().minValue(), -60.0);
    const QPointF corner(z[0][3][3], z[1][3][3]);
    const double cornerDb = toDecibels(z[2][3][3], peak.value, 20, -60);
    // The tracker shows the interpolated value in dB (six decimals and the unit in parentheses).
    const MyZoomer *zoomer = plot->canvas()->findChild<MyZoomer *>();
    ASSERT_NE(zoomer, nullptr);
    const QString tracker = zoomer->trackerTextF(corner).text();
    EXPECT_TRUE(tracker.contains(QString::asprintf("(%f дБ)", cornerDb))) << tracker.toStdString();
    EXPECT_NEAR(fieldPeak(plot->GetZ()).value, peak.value, 1e-12);

    // Contour levels follow the scale: in dB while it is on, as fractions of the maximum when off.
    w->findChild<QCheckBox *>("checkBox_contours")->setChecked(true);
    EXPECT_EQ(plot->contourLevels(), QList<double>({-20, -6, -3}));
    db->setChecked(false);
    ASSERT_EQ(plot->contourLevels().size(), 3);
    EXPECT_NEAR(plot->contourLevels()[1], peak.value * std::pow(10, -6 / 20.0), 1e-9);
    EXPECT_DOUBLE_EQ(plot->axisWidget(QwtPlot::yRight)->colorBarInterval().minValue(), 0.0);

    // The profiles through the peak cross it, and in dB peak at 0.
    w->findChild<QPushButton *>("pushButton_profiles")->click();
    ProfileWnd *profiles = w->findChild<ProfileWnd *>();
    ASSERT_NE(profiles, nullptr);
    EXPECT_NEAR(profiles->profiles().x, peak.x, 1e-12);
    EXPECT_NEAR(*std::max_element(profiles->profiles().alongX.value.begin(), profiles->profiles().alongX.value.end()),
                peak.value, 1e-12);
    profiles->setDecibels(true);
    EXPECT_NEAR(*std::max_element(profiles->profiles().alongY.value.begin(), profiles->profiles().alongY.value.end()),
                0.0, 1e-12);

    // Equal scale: a centimetre takes as many pixels across as up.
    w->findChild<QCheckBox *>("checkBox_equal")->setChecked(true);
    w->resize(900, 600);
    QApplication::sendPostedEvents();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    const double perCmX = plot->transform(QwtPlot::xBottom, 1) - plot->transform(QwtPlot::xBottom, 0);
    const double perCmY = plot->transform(QwtPlot::yLeft, 0) - plot->transform(QwtPlot::yLeft, 1);
    EXPECT_NEAR(perCmX / perCmY, 1.0, 0.02);
    closeResult(w);
}

TEST_F(RealCalculatorResult, AxialPlaneThatMissesTheFocusSaysSo)
{
    // Focus 1 cm off the axis along x, axial plane turned by 30 degrees: the plane passes
    // 0.866 cm from the focus and its peak is far below |p(F)|.
    plane_ch_wnd plane;
    plane.show();
    planetest::tabs(&plane)->setCurrentIndex(1);
    planetest::button(&plane, "Button_def_2")->click();
    planetest::edit(&plane, "lineEdit_7")->setText("30.0");
    planetest::edit(&plane, "X_Focus_Axial")->setText("1.0");
    planetest::button(&plane, "pushButton_3")->click();
    planetest::combo(&plane, "comboBox_2")->setCurrentIndex(0);
    planetest::button(&plane, "pushButton_5")->click();
    Result_wnd *w = testsupport::openResultWindows().value(0);
    ASSERT_NE(w, nullptr);
    const QString text = w->metricsText();
    EXPECT_TRUE(text.contains("Плоскость не содержит фокус: расстояние от фокуса до плоскости 0.866 см"))
        << text.toStdString();
    const double gain = numberAfter(text, "Усиление |p(F)|/p0:");
    EXPECT_GT(gain, 40.0);
    // The plane's maximum is not the focal spot's: no steering loss is made of it.
    EXPECT_TRUE(text.contains("Потери при отклонении не определены: плоскость не проходит через фокус"))
        << text.toStdString();
    EXPECT_TRUE(std::isnan(numberAfter(text, "относительно |p(F)|):"))) << text.toStdString();
    EXPECT_TRUE(w->findChild<QLabel *>("Focus_Label")
                    ->text()
                    .endsWith("\nПлоскость не проходит через фокус: он в 0.866 см от нее."));
    closeResult(w);
}

TEST_F(RealCalculatorResult, AxialPlaneIsTurnedThroughAnOffAxisFocus)
{
    // The focus 2 cm off the axis along x misses the default axial plane (phi = 0, the y-z plane);
    // one click turns the plane through it, and the focal spot comes out 2 cm from the axis.
    plane_ch_wnd plane;
    plane.show();
    planetest::tabs(&plane)->setCurrentIndex(1);
    planetest::button(&plane, "Button_def_2")->click();
    planetest::edit(&plane, "X_Focus_Axial")->setText("2.0");
    QLabel *note = plane.findChild<QLabel *>("Focus_Note_Axial");
    EXPECT_EQ(note->isVisible() ? note->text() : QString(), "Плоскость не проходит через фокус: он в 2.000 см от нее.");
    planetest::button(&plane, "Focus_Button_Axial")->click();
    EXPECT_EQ(planetest::edit(&plane, "lineEdit_7")->text(), QString("90"));
    EXPECT_FALSE(note->isVisible());

    planetest::button(&plane, "pushButton_3")->click();
    planetest::button(&plane, "pushButton_5")->click();
    Result_wnd *w = testsupport::openResultWindows().value(0);
    ASSERT_NE(w, nullptr);
    const VDOUB3 z = w->findChild<Plot *>("widget")->GetZ();
    const auto peak = argmax(z);
    EXPECT_NEAR(z[1][peak.first][peak.second], 2.0, 0.1);
    EXPECT_NEAR(z[0][peak.first][peak.second], 13.0, 1.0);
    EXPECT_TRUE(w->metricsText().contains("Фокус лежит в плоскости")) << w->metricsText().toStdString();
    closeResult(w);
}
