// Every caption of every window shows whole at the window's smallest size, whatever this machine's
// fonts: a label or button given less room than its text needs would cut the text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
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
// "object: text" of each label or button of the window, shown at its smallest size, that has less
// room than its text needs.
QStringList clippedTexts(QWidget *window)
{
    window->resize(window->minimumSize());
    window->show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        QLabel *l = qobject_cast<QLabel *>(w);
        QAbstractButton *b = qobject_cast<QAbstractButton *>(w);
        const QString text = l ? l->text() : b ? b->text() : QString();
        const QSize need = w->minimumSizeHint();
        const bool cut = l && l->wordWrap() ? w->height() < l->heightForWidth(w->width())
                                            : w->width() < need.width() || w->height() < need.height();
        if (w->isVisible() && !text.isEmpty() && cut)
            out << w->objectName() + ": " + text.simplified();
    }
    return out;
}
} // namespace

TEST(ClippedText, EveryWindowShowsItsCaptionsWhole)
{
    platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
    testsupport::TempAppDir app;
    mainparams::setExampleArray();
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new MainWindow());
    windows.emplace_back(new Show_Vesk_wnd());
    windows.emplace_back(new AxialQuality_wnd());
    windows.emplace_back(new RadialQuality_wnd());
    plane_ch_wnd *plane = new plane_ch_wnd();
    windows.emplace_back(plane);
    plane->findChild<QAbstractButton *>("Button_def")->click();
    plane->findChild<QLineEdit *>("lineEdit")->setText("10."); // the note of a plane missing the focus

    // Result windows of both planes over a field run and both scans, the labels at their longest.
    planefields::setResultType(0);
    shared::is_press_qual = true;
    shared::contourLevels = shared::contourLevels_main = shared::contourLevels_side = {0.9};
    for (bool axial : {false, true}) {
        auto half = [](double, double) { return 0.5; };
        if (axial) {
            fieldfixture::setAxialRun(app.path(), 5, 3, 0.1, 0.01, 0.001);
            fieldfixture::writeAxial(shared::file_to_calc, 5, 5, 0.1, 0.01, 0.001, half);
        } else {
            fieldfixture::setTransverseRun(app.path(), 3, 3, 0.001, 0.001, 0.13);
            fieldfixture::writeTransverse(shared::file_to_calc, 5, 5, 0.001, 0.001, half);
        }
        for (bool side : {false, true}) {
            scanfixture::setScanRun(app.path(), axial, side, 5, 3);
            scanfixture::writeScan(app.path() + (side ? "/side_max/" : "/main_max/") + shared::file_to_calc_qual, axial,
                                   5, 3, 0.1, -0.01, 0.01, 0.01, half);
        }
        Result_wnd *field = new Result_wnd(nullptr, nullptr);
        field->Axes_Title(QString(), 2, 0, 13);
        shared::is_side = false;
        Result_Wnd_qual *single = new Result_Wnd_qual(nullptr, nullptr);
        single->Axes_Title(QString(), 9.57243, shared::contourLevels, false);
        Result_Main_and_Side_wnd *both = new Result_Main_and_Side_wnd(nullptr, axial);
        both->Axes_Title(9.57243);
        windows.emplace_back(field);
        windows.emplace_back(single);
        windows.emplace_back(both);
    }
    for (const auto &w : windows)
        EXPECT_EQ(clippedTexts(w.get()).join("; ").toStdString(), "") << w->metaObject()->className();
    platform::setScreenOverride(0, QRect());
}
