// Every caption of every window is shown whole at the window's smallest size: a label or button
// given less room than its text needs would cut the text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest/QTest>
#include <functional>
#include <memory>

#include "axialquality_wnd.h"
#include "field_fixture.h"
#include "main_params.h"
#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "plane_fields.h"
#include "radialquality_wnd.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd.h"
#include "result_wnd_qual.h"
#include "scan_fixture.h"
#include "show_vesk_wnd.h"
#include "test_support.h"

namespace {
// The captions of a shown window that do not fit: "object: text".
QStringList clippedTexts(QWidget *window)
{
    QStringList out;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        QString text;
        bool fits = true;
        if (QLabel *l = qobject_cast<QLabel *>(w)) {
            text = l->text();
            if (text.isEmpty() || !l->pixmap(Qt::ReturnByValue).isNull())
                continue;
            fits = l->wordWrap()
                       ? l->height() >= l->heightForWidth(l->width())
                       : l->width() >= l->minimumSizeHint().width() && l->height() >= l->minimumSizeHint().height();
        } else if (QAbstractButton *b = qobject_cast<QAbstractButton *>(w)) {
            text = b->text();
            if (text.isEmpty())
                continue;
            fits = b->width() >= b->minimumSizeHint().width() && b->height() >= b->minimumSizeHint().height();
        } else {
            continue;
        }
        if (!fits)
            out << w->objectName() + ": " + text.simplified()
                       + QString(" (%1 x %2, needs %3 x %4)")
                             .arg(w->width())
                             .arg(w->height())
                             .arg(w->minimumSizeHint().width())
                             .arg(w->minimumSizeHint().height());
    }
    return out;
}

class ClippedText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        mainparams::setExampleArray();
    }
    void TearDown() override { platform::setScreenOverride(0, QRect()); }

    // Shows the window at its smallest size and lists what it cuts.
    QStringList shownAtMinimum(QWidget *w)
    {
        w->resize(w->minimumSize());
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return clippedTexts(w);
    }

    testsupport::TempAppDir app;
};
} // namespace

TEST_F(ClippedText, WorkingWindowsShowEveryCaptionWhole)
{
    const std::vector<std::pair<const char *, std::function<QWidget *()>>> windows = {
        {"main", [] { return new MainWindow(); }},
        {"array", [] { return new Show_Vesk_wnd(); }},
        {"axial quality", [] { return new AxialQuality_wnd(); }},
        {"transverse quality", [] { return new RadialQuality_wnd(); }},
    };
    for (const auto &w : windows) {
        std::unique_ptr<QWidget> window(w.second());
        EXPECT_EQ(shownAtMinimum(window.get()).join("; ").toStdString(), "") << w.first;
    }

    // The plane window on both tabs, with the note of a plane that misses the focus.
    plane_ch_wnd plane;
    plane.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
    plane.findChild<QAbstractButton *>("Button_def_2")->click();
    plane.findChild<QLineEdit *>("X_Focus_Axial")->setText("2.0");
    EXPECT_EQ(shownAtMinimum(&plane).join("; ").toStdString(), "") << "axial tab";
    plane.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(0);
    plane.findChild<QAbstractButton *>("Button_def")->click();
    plane.findChild<QLineEdit *>("lineEdit")->setText("10.");
    EXPECT_EQ(clippedTexts(&plane).join("; ").toStdString(), "") << "transverse tab";
}

TEST_F(ClippedText, ResultWindowsShowEveryCaptionWhole)
{
    planefields::setResultType(0);
    for (bool axial : {false, true}) {
        if (axial) {
            fieldfixture::setAxialRun(app.path(), 5, 3, 0.1, 0.01, 0.001);
            fieldfixture::writeAxial(shared::file_to_calc, 5, 5, 0.1, 0.01, 0.001, [](double, double) { return 1.0; });
        } else {
            fieldfixture::setTransverseRun(app.path(), 3, 3, 0.001, 0.001, 0.13);
            fieldfixture::writeTransverse(shared::file_to_calc, 5, 5, 0.001, 0.001, [](double, double) { return 1.0; });
        }
        Result_wnd field(nullptr, nullptr);
        field.Axes_Title(QString(), 2, 0, 13); // off the plane: two lines
        EXPECT_EQ(shownAtMinimum(&field).join("; ").toStdString(), "") << "field, axial " << axial;

        shared::is_press_qual = true;
        shared::is_intens_qual = false;
        shared::contourLevels = shared::contourLevels_main = shared::contourLevels_side = {0.9};
        for (bool side : {false, true}) {
            scanfixture::setScanRun(app.path(), axial, side, 5, 3);
            scanfixture::writeScan(
                axial ? (side ? shared::name_of_file_side_max_axial : shared::name_of_file_main_max_axial)
                      : (side ? shared::name_of_file_side_max_poper : shared::name_of_file_main_max_poper),
                axial, 5, 3, 0.1, -0.01, 0.01, 0.01, [](double, double) { return 0.5; });
        }
        shared::is_side = false;
        Result_Wnd_qual single(nullptr, nullptr);
        single.SetType(axial);
        single.Axes_Title(QString(), 9.57243, shared::contourLevels, false);
        EXPECT_EQ(shownAtMinimum(&single).join("; ").toStdString(), "") << "quality map, axial " << axial;
        Result_Main_and_Side_wnd both(nullptr, axial);
        both.SetType(axial);
        both.Axes_Title(9.57243);
        EXPECT_EQ(shownAtMinimum(&both).join("; ").toStdString(), "") << "combined map, axial " << axial;
    }
}
