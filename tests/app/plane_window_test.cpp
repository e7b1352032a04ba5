#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>

#include "form_fields.h"
#include "helpwindowaxial.h"
#include "helpwindowpoper.h"
#include "plane_ch_wnd.h"
#include "plane_fields.h"
#include "plane_test_util.h"
#include "show_vesk_wnd.h"
#include "test_support.h"

using namespace planetest;
using testsupport::BoxRecorder;

namespace {

class PlaneWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetShared();
        BoxRecorder::instance().clear();
    }
};

QStringList slotWarnings;
void recordSlotWarnings(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    if (msg.contains("No matching signal for"))
        slotWarnings << msg;
}

} // namespace

TEST(PlaneWindowForm, EverySlotIsConnectedByName)
{
    resetShared();
    slotWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordSlotWarnings);
    {
        plane_ch_wnd w;
        HelpWindowPoper p;
        HelpWindowAxial a;
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(slotWarnings.isEmpty()) << slotWarnings.join("\n").toStdString();
}

TEST_F(PlaneWindow, FormStartsOnTheTransverseTabWithItsButtonsDisabled)
{
    plane_ch_wnd w;
    EXPECT_EQ(w.windowTitle(), QString("Выбор области расчета поля"));
    EXPECT_EQ(tabs(&w)->currentIndex(), 0);
    EXPECT_EQ(tabs(&w)->tabText(0), QString("Поперечная плоскость"));
    EXPECT_EQ(tabs(&w)->tabText(1), QString("Аксиальная плоскость"));
    for (const char *b :
         {"pushButton_4", "pushButton_3", "pushButton_6", "pushButton_5", "pushButton_7", "pushButton_9"})
        EXPECT_FALSE(button(&w, b)->isEnabled()) << b;
    EXPECT_EQ(button(&w, "pushButton_4")->text(), QString("Рассчитать\nполе"));
    EXPECT_EQ(button(&w, "pushButton_6")->text(), QString("Перейти к\nрезультатам"));
    EXPECT_EQ(button(&w, "pushButton_7")->text(), QString("Далее к оценке качества поля>"));
    EXPECT_EQ(combo(&w, "comboBox")->count(), 4);
    EXPECT_EQ(combo(&w, "comboBox_2")->itemText(3), QString("Безразмерная\nинтенсивность"));
    EXPECT_FALSE(edit(&w, "lineEdit_12")->isEnabled());
    EXPECT_FALSE(edit(&w, "lineEdit_15")->isEnabled());
    EXPECT_EQ(w.currentGrid(), nullptr);
}

TEST_F(PlaneWindow, FieldsAcceptOnlyTheirNumbersAndSixCharacters)
{
    plane_ch_wnd w;
    QLineEdit *z0 = edit(&w, "lineEdit");
    QTest::keyClicks(z0, "12a.3456789");
    EXPECT_EQ(z0->text(), QString("12.345"));
    QLineEdit *nx = edit(&w, "lineEdit_10");
    QTest::keyClicks(nx, "1.2-3");
    EXPECT_EQ(nx->text(), QString("123"));
    QLineEdit *xf = edit(&w, "X_Focus_Poper");
    QTest::keyClicks(xf, "-1.5");
    EXPECT_EQ(xf->text(), QString("-1.5"));
    QLineEdit *zf = edit(&w, "Z_Focus_Axial");
    QTest::keyClicks(zf, "-2.5");
    EXPECT_EQ(zf->text(), QString("2.5"));
    QLineEdit *phi = edit(&w, "lineEdit_7");
    QTest::keyClicks(phi, "-45.5");
    EXPECT_EQ(phi->text(), QString("-45.5"));
    EXPECT_DOUBLE_EQ(shared::phipr, -45.5);
    // A value the program shows is cut to the field's six characters.
    edit(&w, "lineEdit_2")->setText(formfields::numberText(0.0333333));
    EXPECT_EQ(edit(&w, "lineEdit_2")->text(), QString("0.0333"));
    EXPECT_DOUBLE_EQ(shared::dxp, 0.000333);
}

TEST_F(PlaneWindow, HalfWidthDisplaysFollowCountAndStep)
{
    plane_ch_wnd w;
    QLineEdit *step = edit(&w, "lineEdit_2");
    QLineEdit *display = edit(&w, "lineEdit_12");
    QTest::keyClicks(step, "0.1");
    EXPECT_EQ(display->text(), QString(" "));
    QTest::keyClicks(edit(&w, "lineEdit_10"), "25");
    EXPECT_EQ(display->text(), QString("2.4"));
    EXPECT_NEAR(shared::rxp, 0.024, 1e-15);
    EXPECT_DOUBLE_EQ(shared::Nxp, 25);
    EXPECT_TRUE(shared::dxp_is_set);

    // "0." while typing: the display keeps its text, the step is already 0.
    step->setText("0.");
    EXPECT_EQ(display->text(), QString("2.4"));
    EXPECT_EQ(shared::dxp, 0);

    // Clearing the step blanks the display and the plane is incomplete.
    fillTransverse(&w);
    EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
    step->clear();
    EXPECT_EQ(display->text(), QString(" "));
    EXPECT_EQ(shared::dxp, 0);
    EXPECT_FALSE(shared::dxp_is_set);
    EXPECT_FALSE(shared::is_poper);
    EXPECT_FALSE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_7")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());

    // The y pair feeds its own display.
    edit(&w, "lineEdit_11")->setText("11");
    edit(&w, "lineEdit_3")->setText("0.5");
    EXPECT_EQ(edit(&w, "lineEdit_13")->text(), QString("5"));
    EXPECT_NEAR(shared::ryp, 0.05, 1e-15);
}

TEST_F(PlaneWindow, AxialDisplaysFollowTheirFields)
{
    plane_ch_wnd w;
    tabs(&w)->setCurrentIndex(1);
    QLineEdit *zmax = edit(&w, "lineEdit_14");
    edit(&w, "lineEdit_6")->setText("5.");
    edit(&w, "lineEdit_8")->setText("11");
    EXPECT_EQ(zmax->text(), QString(" "));
    edit(&w, "lineEdit_5")->setText("1");
    // Ends in a non-digit: kept.
    EXPECT_EQ(zmax->text(), QString(" "));
    edit(&w, "lineEdit_6")->setText("5.5");
    EXPECT_EQ(zmax->text(), QString("15.5"));
    EXPECT_NEAR(shared::zmaxpr, 0.155, 1e-15);
    edit(&w, "lineEdit_9")->setText("6");
    edit(&w, "lineEdit_4")->setText("0.2");
    EXPECT_EQ(edit(&w, "lineEdit_15")->text(), QString("1"));
    EXPECT_NEAR(shared::rpr, 0.01, 1e-15);
    edit(&w, "lineEdit_8")->clear();
    EXPECT_EQ(zmax->text(), QString(" "));
    EXPECT_FALSE(shared::Nzpr_is_set);
    EXPECT_EQ(shared::Nzpr, 0);
}

TEST_F(PlaneWindow, ModeFlagsAndButtonsFollowTheFields)
{
    plane_ch_wnd w;
    shared::is_scan = true;
    fillTransverse(&w);
    EXPECT_TRUE(shared::is_poper);
    EXPECT_TRUE(shared::is_foc);
    EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_TRUE(button(&w, "pushButton_7")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    EXPECT_NEAR(shared::zF, 0.13, 1e-15);

    edit(&w, "Y_Focus_Poper")->clear();
    EXPECT_TRUE(shared::is_poper);
    EXPECT_FALSE(shared::is_foc);
    EXPECT_FALSE(shared::yF_is_set);
    EXPECT_FALSE(button(&w, "pushButton_4")->isEnabled());
    edit(&w, "Y_Focus_Poper")->setText("0.");

    // The axial tab takes over the current job; its fields clear the scan outline.
    tabs(&w)->setCurrentIndex(1);
    fillAxial(&w);
    EXPECT_TRUE(shared::is_prodol);
    EXPECT_FALSE(shared::is_poper);
    EXPECT_FALSE(shared::is_scan);
    EXPECT_TRUE(button(&w, "pushButton_3")->isEnabled());
    EXPECT_TRUE(button(&w, "pushButton_9")->isEnabled());
    EXPECT_NEAR(shared::xF, 0.01, 1e-15);
    edit(&w, "lineEdit_7")->clear();
    EXPECT_FALSE(shared::is_prodol);
    EXPECT_FALSE(button(&w, "pushButton_3")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_9")->isEnabled());
}

TEST_F(PlaneWindow, TransverseDefaultsForTheSmallArray)
{
    plane_ch_wnd w;
    button(&w, "Button_def")->click();
    EXPECT_EQ(edit(&w, "lineEdit")->text(), QString("13"));
    EXPECT_EQ(edit(&w, "lineEdit_10")->text(), QString("51"));
    EXPECT_EQ(edit(&w, "lineEdit_11")->text(), QString("51"));
    EXPECT_EQ(edit(&w, "lineEdit_2")->text(), QString("0.0333"));
    EXPECT_EQ(edit(&w, "lineEdit_3")->text(), QString("0.0333"));
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString("1.665"));
    EXPECT_EQ(edit(&w, "lineEdit_13")->text(), QString("1.665"));
    EXPECT_EQ(edit(&w, "X_Focus_Poper")->text(), QString("0"));
    EXPECT_EQ(edit(&w, "Y_Focus_Poper")->text(), QString("0"));
    EXPECT_EQ(edit(&w, "Z_Focus_Poper")->text(), QString("13"));
    EXPECT_DOUBLE_EQ(shared::dxp, 0.000333);
    EXPECT_DOUBLE_EQ(shared::dyp, 0.000333);
    EXPECT_DOUBLE_EQ(shared::zop, 0.13);
    EXPECT_TRUE(shared::is_poper);
    EXPECT_TRUE(shared::is_foc);
    EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
}

TEST_F(PlaneWindow, AxialDefaultsForTheSmallArray)
{
    plane_ch_wnd w;
    tabs(&w)->setCurrentIndex(1);
    button(&w, "Button_def_2")->click();
    EXPECT_EQ(edit(&w, "lineEdit_6")->text(), QString("6.5"));
    EXPECT_EQ(edit(&w, "lineEdit_7")->text(), QString("0"));
    EXPECT_EQ(edit(&w, "lineEdit_8")->text(), QString("241"));
    EXPECT_EQ(edit(&w, "lineEdit_5")->text(), QString("0.0541"));
    EXPECT_EQ(edit(&w, "lineEdit_14")->text(), QString("19.484"));
    EXPECT_EQ(edit(&w, "lineEdit_9")->text(), QString("51"));
    EXPECT_EQ(edit(&w, "lineEdit_4")->text(), QString("0.0333"));
    EXPECT_EQ(edit(&w, "lineEdit_15")->text(), QString("1.665"));
    EXPECT_EQ(edit(&w, "X_Focus_Axial")->text(), QString("0"));
    EXPECT_EQ(edit(&w, "Y_Focus_Axial")->text(), QString("0"));
    EXPECT_EQ(edit(&w, "Z_Focus_Axial")->text(), QString("13"));
    EXPECT_DOUBLE_EQ(shared::dzpr, 0.000541);
    EXPECT_DOUBLE_EQ(shared::zminpr, 0.065);
    EXPECT_TRUE(shared::is_prodol);
    EXPECT_TRUE(button(&w, "pushButton_3")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_5")->isEnabled());
}

TEST_F(PlaneWindow, SetFocusDefaultAndCheckDataRefillFromTheSharedValues)
{
    using namespace shared;
    xF = 0.01;
    yF = -0.02;
    zF = R;
    xF_is_set = yF_is_set = zF_is_set = true;
    zop = 0.1;
    Nxp = 21;
    Nyp = 31;
    dxp = 0.0005;
    dyp = 0.0333333 / 100;
    zop_is_set = Nxp_is_set = Nyp_is_set = dxp_is_set = dyp_is_set = true;
    zminpr = 0.05;
    phipr = 30;
    Nrpr = 11;
    zminpr_is_set = phipr_is_set = Nrpr_is_set = true; // axial plane incomplete

    plane_ch_wnd w;
    w.SetFocusDefault();
    w.CheckData();
    EXPECT_EQ(edit(&w, "X_Focus_Poper")->text(), QString("1"));
    EXPECT_EQ(edit(&w, "Y_Focus_Axial")->text(), QString("-2"));
    EXPECT_EQ(edit(&w, "Z_Focus_Poper")->text(), QString("13"));
    EXPECT_EQ(edit(&w, "lineEdit")->text(), QString("10"));
    EXPECT_EQ(edit(&w, "lineEdit_11")->text(), QString("31"));
    EXPECT_EQ(edit(&w, "lineEdit_2")->text(), QString("0.05"));
    EXPECT_EQ(edit(&w, "lineEdit_3")->text(), QString("0.0333"));
    EXPECT_EQ(edit(&w, "lineEdit_12")->text(), QString("1"));
    EXPECT_EQ(edit(&w, "lineEdit_6")->text(), QString("5"));
    EXPECT_EQ(edit(&w, "lineEdit_7")->text(), QString("30"));
    EXPECT_EQ(edit(&w, "lineEdit_9")->text(), QString("11"));
    EXPECT_EQ(edit(&w, "lineEdit_8")->text(), QString());
    // Values are read back from what is shown.
    EXPECT_DOUBLE_EQ(dyp, 0.000333);
    EXPECT_TRUE(is_poper);
    EXPECT_FALSE(is_prodol);
    EXPECT_TRUE(is_foc);
    EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_TRUE(button(&w, "pushButton_7")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());

    // On the axial tab the incomplete plane keeps its buttons disabled.
    tabs(&w)->setCurrentIndex(1);
    w.CheckData();
    EXPECT_FALSE(is_prodol);
    EXPECT_FALSE(is_poper);
    EXPECT_FALSE(button(&w, "pushButton_3")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_9")->isEnabled());
}

TEST_F(PlaneWindow, CheckDataWithoutFocusDisablesTheCalculation)
{
    using namespace shared;
    zop_is_set = Nxp_is_set = Nyp_is_set = dxp_is_set = dyp_is_set = true;
    xF_is_set = zF_is_set = true;
    plane_ch_wnd w;
    w.CheckData();
    EXPECT_TRUE(is_poper);
    EXPECT_FALSE(is_foc);
    EXPECT_FALSE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_7")->isEnabled());
}

TEST_F(PlaneWindow, TabChangeRefillsTheTabAndDisablesBothResultButtons)
{
    plane_ch_wnd w;
    fillTransverse(&w);
    tabs(&w)->setCurrentIndex(1);
    fillAxial(&w);
    button(&w, "pushButton_5")->setEnabled(true);
    button(&w, "pushButton_6")->setEnabled(true);

    // The axial tab changed the focus; the transverse tab shows it when it becomes current.
    tabs(&w)->setCurrentIndex(0);
    EXPECT_TRUE(shared::is_poper);
    EXPECT_FALSE(shared::is_prodol);
    EXPECT_TRUE(shared::is_foc);
    EXPECT_EQ(edit(&w, "X_Focus_Poper")->text(), QString("1"));
    EXPECT_EQ(edit(&w, "Z_Focus_Poper")->text(), QString("8"));
    EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_5")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());

    button(&w, "pushButton_6")->setEnabled(true);
    tabs(&w)->setCurrentIndex(1);
    EXPECT_TRUE(shared::is_prodol);
    EXPECT_FALSE(shared::is_poper);
    EXPECT_TRUE(button(&w, "pushButton_3")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
}

TEST_F(PlaneWindow, NotFirstRefillsThePlaneFieldsOfEnteredValues)
{
    using namespace shared;
    xF_is_set = yF_is_set = zF_is_set = true;
    zF = 0.1;
    zop_is_set = Nxp_is_set = Nyp_is_set = dxp_is_set = dyp_is_set = true;
    {
        plane_ch_wnd w;
        w.NotFirst_poper("12", "21", "31", "0.05", "0.1", "1", "3");
        EXPECT_EQ(tabs(&w)->currentIndex(), 0);
        EXPECT_EQ(edit(&w, "lineEdit")->text(), QString("12"));
        EXPECT_EQ(edit(&w, "lineEdit_10")->text(), QString("21"));
        EXPECT_EQ(edit(&w, "lineEdit_11")->text(), QString("31"));
        EXPECT_EQ(edit(&w, "lineEdit_2")->text(), QString("0.05"));
        EXPECT_EQ(edit(&w, "lineEdit_3")->text(), QString("0.1"));
        EXPECT_EQ(edit(&w, "lineEdit_13")->text(), QString("3"));
        EXPECT_EQ(edit(&w, "Z_Focus_Poper")->text(), QString("10"));
        EXPECT_NEAR(rxp, 0.01, 1e-15);
        EXPECT_TRUE(is_poper);
        EXPECT_TRUE(button(&w, "pushButton_4")->isEnabled());
        EXPECT_FALSE(button(&w, "pushButton_6")->isEnabled());
    }

    zminpr_is_set = phipr_is_set = Nrpr_is_set = Nzpr_is_set = drpr_is_set = true;
    dzpr_is_set = false;
    plane_ch_wnd w;
    w.NotFirst_prodol("5", "45", "6", "11", "0.2", "1", "15", "1");
    EXPECT_EQ(tabs(&w)->currentIndex(), 1);
    EXPECT_EQ(edit(&w, "lineEdit_6")->text(), QString("5"));
    EXPECT_EQ(edit(&w, "lineEdit_7")->text(), QString("45"));
    EXPECT_EQ(edit(&w, "lineEdit_9")->text(), QString("6"));
    EXPECT_EQ(edit(&w, "lineEdit_8")->text(), QString("11"));
    EXPECT_EQ(edit(&w, "lineEdit_4")->text(), QString("0.2"));
    EXPECT_EQ(edit(&w, "lineEdit_5")->text(), QString());
    EXPECT_FALSE(is_prodol);
    EXPECT_FALSE(button(&w, "pushButton_3")->isEnabled());
}

TEST_F(PlaneWindow, ResultSelectorSetsExactlyOneResultType)
{
    testsupport::TempAppDir dir;
    testsupport::writeAll(dir.file("calc/calcdone"), "");
    plane_ch_wnd w;
    struct Case {
        const char *combo;
        const char *button;
        int index;
        bool *flag;
    };
    const Case cases[] = {
        {"comboBox", "pushButton_6", 0, &shared::is_dl_press},
        {"comboBox", "pushButton_6", 1, &shared::is_press},
        {"comboBox", "pushButton_6", 2, &shared::is_intens},
        {"comboBox", "pushButton_6", 3, &shared::is_dl_intens},
        {"comboBox_2", "pushButton_5", 0, &shared::is_dl_press},
        {"comboBox_2", "pushButton_5", 1, &shared::is_press},
        {"comboBox_2", "pushButton_5", 2, &shared::is_intens},
        {"comboBox_2", "pushButton_5", 3, &shared::is_dl_intens},
    };
    for (const Case &c : cases) {
        shared::is_dl_press = shared::is_press = shared::is_intens = shared::is_dl_intens = true;
        combo(&w, c.combo)->setCurrentIndex(c.index);
        button(&w, c.button)->setEnabled(true);
        button(&w, c.button)->click();
        const int set = shared::is_dl_press + shared::is_press + shared::is_intens + shared::is_dl_intens;
        EXPECT_EQ(set, 1) << c.combo << " " << c.index;
        EXPECT_TRUE(*c.flag) << c.combo << " " << c.index;
    }
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    // Any other index counts as the first entry.
    planefields::setResultType(-1);
    EXPECT_TRUE(shared::is_dl_press);
    EXPECT_FALSE(shared::is_press);
}

TEST_F(PlaneWindow, ResultButtonWithoutMarkerReportsAMissingCalculation)
{
    testsupport::TempAppDir dir;
    plane_ch_wnd w;
    button(&w, "pushButton_6")->setEnabled(true);
    button(&w, "pushButton_6")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString("Расчет поля не был произведен. Повторите расчет."));
    // Nothing else happened: the result type was not chosen.
    EXPECT_FALSE(shared::is_dl_press);
}

TEST_F(PlaneWindow, HelpButtonsOpenFixedCentredPictureWindows)
{
    platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
    plane_ch_wnd w;
    button(&w, "Help_Button_Poper")->click();
    button(&w, "Help_Button_Poper")->click();
    button(&w, "Help_Button_Axial")->click();
    QList<HelpWindowPoper *> popers;
    QList<HelpWindowAxial *> axials;
    // Help windows closed earlier wait for the event loop to delete them: count the shown ones.
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        if (auto *p = qobject_cast<HelpWindowPoper *>(top))
            popers << p;
        if (auto *a = qobject_cast<HelpWindowAxial *>(top))
            axials << a;
    }
    ASSERT_EQ(popers.size(), 2);
    ASSERT_EQ(axials.size(), 1);
    for (HelpWindowPoper *p : popers) {
        EXPECT_TRUE(p->isVisible());
        EXPECT_EQ(p->windowTitle(), QString("Справка: выбор поперечной плоскости расчета поля"));
        EXPECT_EQ(p->size(), QSize(612, 544));
        EXPECT_EQ(p->minimumSize(), p->maximumSize());
        // Centre (799, 599) of the available area minus integer halves.
        EXPECT_EQ(p->pos(), QPoint(799 - 306, 599 - 272));
        p->close();
    }
    EXPECT_EQ(axials[0]->windowTitle(), QString("Справка: выбор аксиальной плоскости расчета поля"));
    EXPECT_EQ(axials[0]->size(), QSize(648, 537));
    EXPECT_EQ(axials[0]->pos(), QPoint(799 - 324, 599 - 268));
    axials[0]->close();
    platform::setScreenOverride(0, QRect());
}

TEST(HelpPictures, ShippedPicturesFillTheirWindowsUnscaled)
{
    const QImage poper(QString(KORMAX_APP_DIR) + "/help_poper.png");
    const QImage prodol(QString(KORMAX_APP_DIR) + "/help_prodol.png");
    EXPECT_EQ(poper.size(), QSize(612, 544));
    EXPECT_EQ(prodol.size(), QSize(648, 537));

    platform::setAppDirOverride(KORMAX_APP_DIR);
    HelpWindowAxial window;
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    platform::setAppDirOverride(QString());
    ASSERT_EQ(shown.size(), prodol.size());
    EXPECT_EQ(shown, prodol.convertToFormat(QImage::Format_RGB32));
}

TEST_F(PlaneWindow, SizedForTheScreenAndAsksBeforeTheApplicationEnds)
{
    testsupport::TempAppDir dir;
    testsupport::writeAll(dir.file("calc/grid_calc.txt"), "xy");
    platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
    {
        plane_ch_wnd w;
        EXPECT_EQ(w.minimumSize(), QSize(823, 652));
    }
    platform::setScreenOverride(120, QRect(0, 0, 900, 700));
    plane_ch_wnd w;
    EXPECT_EQ(w.minimumSize(), QSize(900, 700));
    platform::setScreenOverride(0, QRect());

    w.show();
    const int quits = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    testsupport::closeByUser(&w);
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Выход из приложения"));
    EXPECT_TRUE(w.isVisible());
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    testsupport::closeByUser(&w);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(testsupport::quitRequests(), quits + 1);
    // Leaving removes the job files.
    EXPECT_FALSE(QFile::exists(dir.file("calc/grid_calc.txt")));
}

TEST_F(PlaneWindow, BackButtonsOpenANewArrayWindowInItsPlace)
{
    platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
    for (const char *back : {"pushButton_8", "pushButton_10"}) {
        plane_ch_wnd w;
        w.show();
        w.setGeometry(QRect(50, 60, 900, 700));
        button(&w, back)->click();
        EXPECT_FALSE(w.isVisible()) << back;
        EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
        Show_Vesk_wnd *array = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *a = qobject_cast<Show_Vesk_wnd *>(top))
                if (a->isVisible())
                    array = a;
        ASSERT_NE(array, nullptr) << back;
        EXPECT_EQ(array->geometry(), QRect(50, 60, 900, 700));
        delete array;
    }
    platform::setScreenOverride(0, QRect());
}
