#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTextCodec>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>

#include "form_fields.h"
#include "job_files.h"
#include "main_params.h"
#include "mainwindow.h"
#include "shared_params.h"
#include "print_qt.h"
#include "test_support.h"

using testsupport::BoxRecorder;

namespace {

using testsupport::button;
QLineEdit *field(QWidget *w, const char *name)
{
    return testsupport::edit(w, name);
}

// Types into a field key by key, through its validator and length limit.
QString typed(QWidget *w, const char *name, const QString &keys)
{
    QLineEdit *e = field(w, name);
    e->clear();
    QTest::keyClicks(e, keys);
    return e->text();
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        BoxRecorder::instance().clear();
        testsupport::writeAll(app.file("Elements_Quist_Marvane.txt"), "0 0\n3 4\n-5 2.5\n");
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        platform::setFileDialogHandler([](const platform::FileDialog &) { return QString(); });
        platform::setOpenDocumentHandler([](const QString &) { return false; });
        BoxRecorder::instance().clear();
        shared::medium = 0;
        shared::pvs = 0;
    }

    // Fills every input with a valid array (the example's numbers, typed by hand).
    void fillValid(MainWindow &w, const QString &elementFile)
    {
        const std::pair<const char *, const char *> values[] = {
            {"lineEdit", "17"},   {"lineEdit_2", "13"},   {"lineEdit_4", "1"},    {"lineEdit_5", "0.35"},
            {"lineEdit_9", "2"},  {"lineEdit_7", "1000"}, {"lineEdit_6", "1500"}, {"lineEdit_3", "0"},
            {"lineEdit_11", "0"}, {"lineEdit_12", "13"},  {"lineEdit_10", "0.25"}};
        for (const auto &v : values)
            field(&w, v.first)->setText(v.second);
        field(&w, "lineEdit_8")->setText(elementFile);
    }
    QStringList boxTexts() const { return BoxRecorder::instance().texts(); }

    testsupport::TempAppDir app;
};

} // namespace

// ---- Form --------------------------------------------------------------------------------------

TEST_F(MainWindowTest, StartsEmptyInPressureModeWithContinueDisabled)
{
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), QString("Ввод параметров"));
    EXPECT_EQ(shared::CH.size(), 13);
    EXPECT_EQ(std::count(shared::CH.begin(), shared::CH.end(), true), 0);
    EXPECT_TRUE(w.findChild<QRadioButton *>("radioButton")->isChecked());
    EXPECT_TRUE(field(&w, "lineEdit_10")->isEnabled());
    EXPECT_FALSE(field(&w, "lineEdit_13")->isEnabled());
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
    EXPECT_TRUE(button(&w, "pushButton_5")->isEnabled());
    EXPECT_EQ(button(&w, "pushButton_2")->text(), QString("Продолжить"));
    EXPECT_EQ(button(&w, "pushButton_5")->text(), QString("Ввести данные для примера"));
    EXPECT_EQ(w.findChild<QRadioButton *>("radioButton")->text(), QString(" Давление на \n элементе:"));
    EXPECT_EQ(w.findChild<QRadioButton *>("radioButton_2")->text(), QString(" Интенсивность\n на элементе:"));
    // 823 x 652 at 96 dpi, centred on the available area.
    EXPECT_EQ(w.minimumSize(), QSize(823, 652));
    EXPECT_EQ(w.geometry(), QRect(388, 273, 823, 652));
}

TEST_F(MainWindowTest, ParameterWindowsTakeTheWholeSmallScreen)
{
    platform::setScreenOverride(120, QRect(0, 0, 1000, 700));
    MainWindow w;
    EXPECT_EQ(w.minimumSize(), QSize(1000, 700));
    EXPECT_EQ(w.arrayWindow()->minimumSize(), QSize(1000, 700));
}

TEST_F(MainWindowTest, TabOrderFollowsTheForm)
{
    MainWindow w;
    const char *order[] = {"lineEdit",    "lineEdit_2",  "lineEdit_4",  "lineEdit_5",   "lineEdit_9",
                           "comboBox",    "lineEdit_7",  "lineEdit_6",  "lineEdit_14",  "lineEdit_3",
                           "lineEdit_11", "lineEdit_12", "radioButton", "lineEdit_10",  "radioButton_2",
                           "lineEdit_13", "lineEdit_8",  "pushButton",  "pushButton_2", "pushButton_3"};
    for (size_t i = 0; i + 1 < sizeof order / sizeof *order; ++i) {
        QWidget *a = w.findChild<QWidget *>(order[i]);
        ASSERT_NE(a, nullptr) << order[i];
        // The next widget that tab reaches (labels sit in the chain but take no focus).
        QWidget *next = a->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next->objectName(), QString(order[i + 1])) << order[i];
    }
}

TEST_F(MainWindowTest, ValidatorsAndTheSixCharacterCut)
{
    MainWindow w;
    w.show();
    EXPECT_EQ(typed(&w, "lineEdit", "17"), QString("17"));      // no point yet: intermediate, kept
    EXPECT_EQ(typed(&w, "lineEdit", "-17"), QString("17"));     // no sign in the aperture
    EXPECT_EQ(typed(&w, "lineEdit", "1.2.3"), QString("1.23")); // one point only
    EXPECT_EQ(typed(&w, "lineEdit", "1,5e3"), QString("1.53")); // the comma is the point; no letters
    EXPECT_EQ(typed(&w, "lineEdit", "1234567"), QString("123456"));
    EXPECT_EQ(typed(&w, "lineEdit_3", "-3.5"), QString("-3.5"));
    EXPECT_EQ(typed(&w, "lineEdit_11", "-3.5"), QString("-3.5"));
    EXPECT_EQ(typed(&w, "lineEdit_11", "3-.5"), QString("3.5"));
    EXPECT_EQ(typed(&w, "lineEdit_12", "-3.5"), QString("3.5"));
    for (const char *name : {"lineEdit_2", "lineEdit_4", "lineEdit_5", "lineEdit_6", "lineEdit_7", "lineEdit_9",
                             "lineEdit_10", "lineEdit_12", "lineEdit_14"}) {
        EXPECT_EQ(field(&w, name)->maxLength(), 6) << name;
        EXPECT_EQ(typed(&w, name, "-0.5x"), QString("0.5")) << name;
    }
    EXPECT_EQ(field(&w, "lineEdit_13")->maxLength(), 6);
    // The file field takes any path of any length.
    const QString longPath = "/a/b/c/d/e/f/elements file.txt";
    EXPECT_EQ(typed(&w, "lineEdit_8", longPath), longPath);
}

TEST(FormFields, NumbersArePrintedWithSixDigitsAndCutToTheField)
{
    using formfields::fieldText;
    EXPECT_EQ(fieldText(2.0833333), QString("2.0833"));
    EXPECT_EQ(fieldText(0.249998), QString("0.2499"));
    EXPECT_EQ(fieldText(0.13f * 100.0), QString("13"));
    EXPECT_EQ(fieldText(0.0035 * 100), QString("0.35"));
    EXPECT_EQ(fieldText(0.25), QString("0.25"));
    EXPECT_EQ(fieldText(1500), QString("1500"));
    EXPECT_EQ(fieldText(1234567), QString("1.2345")); // 1.23457e+06 cut
    EXPECT_EQ(formfields::fieldValue(" "), 0.0);
    EXPECT_EQ(formfields::fieldValue("."), 0.0);
    EXPECT_EQ(formfields::fieldValue("17"), 17.0);
}

// ---- Pressure and intensity --------------------------------------------------------------------

TEST_F(MainWindowTest, PressureModeDerivesTheIntensity)
{
    MainWindow w;
    w.show();
    typed(&w, "lineEdit_7", "1000");
    typed(&w, "lineEdit_6", "1500");
    EXPECT_EQ(field(&w, "lineEdit_13")->text(), QString(" ")); // pressure missing
    typed(&w, "lineEdit_10", "0.25");
    EXPECT_EQ(field(&w, "lineEdit_13")->text(), QString("2.0833"));
    EXPECT_DOUBLE_EQ(shared::initpres, 250000);
    EXPECT_NEAR(shared::initintens, 20833.33, 0.01);

    // Clearing the density marks the intensity as not computable and keeps Continue off.
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
    field(&w, "lineEdit_7")->clear();
    EXPECT_EQ(field(&w, "lineEdit_13")->text(), QString(" "));
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
}

TEST_F(MainWindowTest, IntensityModeDerivesThePressureAndContinueReadsTheShownText)
{
    MainWindow w;
    w.show();
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    QTest::mouseClick(w.findChild<QRadioButton *>("radioButton_2"), Qt::LeftButton);
    EXPECT_FALSE(field(&w, "lineEdit_10")->isEnabled());
    EXPECT_TRUE(field(&w, "lineEdit_13")->isEnabled());

    typed(&w, "lineEdit_13", "2");
    EXPECT_EQ(field(&w, "lineEdit_10")->text(), QString("0.2449")); // 0.244949 cut
    EXPECT_NEAR(shared::initpres, 244949, 1);
    button(&w, "pushButton_2")->click();
    EXPECT_NEAR(shared::initpres, 244900, 1e-6);

    MainWindow w2;
    w2.show();
    fillValid(w2, app.file("Elements_Quist_Marvane.txt"));
    QTest::mouseClick(w2.findChild<QRadioButton *>("radioButton_2"), Qt::LeftButton);
    typed(&w2, "lineEdit_13", "2.08333"); // six characters: 2.0833
    EXPECT_EQ(field(&w2, "lineEdit_13")->text(), QString("2.0833"));
    EXPECT_NEAR(shared::initintens, 20833, 1e-6);
    EXPECT_EQ(field(&w2, "lineEdit_10")->text(), QString("0.2499")); // 249998 Pa
    button(&w2, "pushButton_2")->click();
    EXPECT_NEAR(shared::initpres, 249900, 1e-6);

    // Back to pressure mode: the pressure field is editable again, nothing is recomputed.
    QTest::mouseClick(w2.findChild<QRadioButton *>("radioButton"), Qt::LeftButton);
    EXPECT_TRUE(field(&w2, "lineEdit_10")->isEnabled());
    EXPECT_FALSE(field(&w2, "lineEdit_13")->isEnabled());
    EXPECT_EQ(field(&w2, "lineEdit_13")->text(), QString("2.0833"));
}

// ---- Completion --------------------------------------------------------------------------------

TEST_F(MainWindowTest, ContinueIsEnabledOnlyWhenAllThirteenInputsAreComplete)
{
    MainWindow w;
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    EXPECT_EQ(shared::k, 13);
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
    EXPECT_EQ(shared::name, app.file("Elements_Quist_Marvane.txt"));

    // Every plain input on its own disables Continue when emptied.
    for (const char *name : {"lineEdit", "lineEdit_2", "lineEdit_4", "lineEdit_5", "lineEdit_9", "lineEdit_3",
                             "lineEdit_11", "lineEdit_12", "lineEdit_6", "lineEdit_7"}) {
        QLineEdit *e = field(&w, name);
        const QString before = e->text();
        e->clear();
        EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled()) << name;
        EXPECT_EQ(shared::k, 12) << name;
        e->setText(before);
        EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled()) << name;
    }

    // The file must end in ".txt", case-sensitively; name keeps the last good path.
    field(&w, "lineEdit_8")->setText(app.file("elements.TXT"));
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
    EXPECT_EQ(shared::name, app.file("Elements_Quist_Marvane.txt"));
    field(&w, "lineEdit_8")->setText(".tx");
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
    field(&w, "lineEdit_8")->setText(app.file("elements.dat"));
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
    field(&w, "lineEdit_8")->setText(app.file("a.txt"));
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
}

TEST_F(MainWindowTest, BrowseTakesTheChosenFileAndCancellingKeepsATypedPath)
{
    MainWindow w;
    fillValid(w, app.file("typed.txt"));
    shared::Elem = VDOUB2{{0.01, 0.02}};

    // Cancelled: the typed path stays, and so does its completion.
    button(&w, "pushButton")->click();
    EXPECT_TRUE(shared::Elem.empty());
    EXPECT_EQ(shared::name, app.file("typed.txt"));
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());

    QString dialogCaption = "unset";
    platform::setFileDialogHandler([&](const platform::FileDialog &d) {
        dialogCaption = d.caption + d.dir + d.filter;
        return app.file("chosen.dat");
    });
    button(&w, "pushButton")->click();
    EXPECT_TRUE(dialogCaption.isEmpty()); // no caption, directory or filter
    EXPECT_EQ(field(&w, "lineEdit_8")->text(), app.file("chosen.dat"));
    EXPECT_EQ(shared::name, app.file("chosen.dat"));
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());

    platform::setFileDialogHandler([&](const platform::FileDialog &) { return app.file("chosen.txt"); });
    button(&w, "pushButton")->click();
    EXPECT_EQ(shared::name, app.file("chosen.txt"));
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());

    // Cancelled with an empty field: incomplete.
    platform::setFileDialogHandler([](const platform::FileDialog &) { return QString(); });
    field(&w, "lineEdit_8")->clear();
    button(&w, "pushButton")->click();
    EXPECT_TRUE(shared::name.isEmpty());
    EXPECT_FALSE(button(&w, "pushButton_2")->isEnabled());
}

// ---- Continue ----------------------------------------------------------------------------------

TEST_F(MainWindowTest, ContinueWithAMissingFileReportsItAndWritesOnlyTheName)
{
    MainWindow w;
    w.show();
    shared::A = 0.5;
    fillValid(w, app.file("missing.txt"));
    button(&w, "pushButton_2")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    EXPECT_EQ(boxTexts(), QStringList{"Такого файла не существует! Выберете другой файл."});
    EXPECT_EQ(shared::name, app.file("missing.txt"));
    EXPECT_DOUBLE_EQ(shared::A, 0.5);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, ContinueWithABadElementFileWritesTheParametersAndReports)
{
    MainWindow w;
    w.show();
    testsupport::writeAll(app.file("words.txt"), "no numbers at all\n");
    fillValid(w, app.file("words.txt"));
    shared::xF_is_set = shared::yF_is_set = shared::zF_is_set = false;
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(boxTexts(), QStringList{"Ошибка при чтении массива элементов. Проверьте текстовый файл!"});
    EXPECT_DOUBLE_EQ(shared::A, 0.17);
    EXPECT_DOUBLE_EQ(shared::r, 0.0035);
    EXPECT_FLOAT_EQ(shared::R, 0.13f);
    EXPECT_DOUBLE_EQ(shared::nu, 1e6);
    EXPECT_DOUBLE_EQ(shared::c, 1500);
    EXPECT_DOUBLE_EQ(shared::ro, 1000);
    EXPECT_DOUBLE_EQ(shared::rotv, 0.02);
    EXPECT_DOUBLE_EQ(shared::zF, 0.13);
    EXPECT_DOUBLE_EQ(shared::initpres, 250000);
    EXPECT_TRUE(shared::xF_is_set && shared::yF_is_set && shared::zF_is_set);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, GeometryChecksInOrderWithTheSinglePrecisionRadius)
{
    MainWindow w;
    w.show();
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    struct Case {
        const char *aperture, *curvature, *element, *hole;
        const char *message; // empty: passes
    } cases[] = {
        // 13 cm held in single precision is 0.129999995 m: twice it is below 0.26 m.
        {"26", "13", "0.35", "2", mainparams::apertureText},
        {"26.1", "13", "20", "20", mainparams::apertureText},
        {"17", "13", "8.6", "8.6", mainparams::elementText},
        {"17", "13", "0.35", "8.5", mainparams::holeText},
        {"17", "13", "0.35", "9", mainparams::holeText},
        {"17", "13", "8.5", "2", ""}, // element radius equal to half the aperture passes
        {"25.9", "13", "0.35", "2", ""},
        {"17.", "13.", "0.35", "2.", ""}, // numbers typed with or without the point
    };
    for (const Case &c : cases) {
        BoxRecorder::instance().clear();
        w.show();
        field(&w, "lineEdit")->setText(c.aperture);
        field(&w, "lineEdit_2")->setText(c.curvature);
        field(&w, "lineEdit_5")->setText(c.element);
        field(&w, "lineEdit_9")->setText(c.hole);
        button(&w, "pushButton_2")->click();
        if (*c.message) {
            EXPECT_EQ(boxTexts(), QStringList{QString(c.message)}) << c.aperture << " " << c.hole;
            EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
            EXPECT_TRUE(w.isVisible());
            EXPECT_FALSE(w.arrayWindow()->isVisible());
            EXPECT_EQ(shared::Elem.size(), 3u); // loaded before the checks, left in place
        } else {
            EXPECT_TRUE(boxTexts().isEmpty()) << c.aperture << " " << boxTexts().join("|").toStdString();
            EXPECT_FALSE(w.isVisible());
            EXPECT_TRUE(w.arrayWindow()->isVisible());
            w.arrayWindow()->hide();
        }
    }
    EXPECT_EQ(mainparams::geometryError(0.26, 0.13f, 0.0035, 0.02), QString(mainparams::apertureText));
    EXPECT_TRUE(mainparams::geometryError(0.26, 0.130001f, 0.0035, 0.02).isEmpty());
}

TEST_F(MainWindowTest, ContinueMovesToTheArrayWindowInPlaceWithoutAskingOrQuitting)
{
    testsupport::writeAll(app.file("calc/array.txt"), "x");
    MainWindow w;
    w.show();
    w.setGeometry(50, 60, 900, 700);
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    const int quitsBefore = testsupport::quitRequests();
    button(&w, "pushButton_2")->click();
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    EXPECT_FALSE(w.isVisible());
    ASSERT_TRUE(w.arrayWindow()->isVisible());
    EXPECT_EQ(w.arrayWindow()->geometry(), QRect(50, 60, 900, 700));
    EXPECT_EQ(w.arrayWindow()->windowTitle(), QString("Моделирование решетки"));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);
    EXPECT_TRUE(QFile::exists(app.file("calc/array.txt")));
    ASSERT_EQ(shared::Elem.size(), 3u);
    EXPECT_DOUBLE_EQ(shared::Elem[1][0], 0.03);
    EXPECT_DOUBLE_EQ(shared::Elem[1][1], -0.04);
    w.arrayWindow()->hide();
}

// ---- Medium -------------------------------------------------------------------------------------

namespace {
// The medium file every job writes from the shared parameters (field and scan jobs alike).
QByteArray writtenMediumFile(const testsupport::TempAppDir &app)
{
    QString failed;
    EXPECT_TRUE(jobfiles::writeFiles(jobfiles::folderPath("calc"), jobfiles::arrayAndMediumFiles(), &failed))
        << failed.toStdString();
    return testsupport::readAll(app.file("calc/medium.txt"));
}
QByteArray cp1251(const char *text)
{
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(QString::fromUtf8(text));
}
} // namespace

TEST_F(MainWindowTest, WaterByDefaultWritesTheMediumFileAsBefore)
{
    const QByteArray water = cp1251("Название среды:\t\t\tWater\n"
                                    "Плотность, кг/м3:\t\t1000\n"
                                    "Скорость звука в среде, м/с:\t1500\n"
                                    "Теплоемкость, Дж/кг/К:\t\t4200\n"
                                    "Поглощение в среде, дБ/см/МГц:\t0");
    // Typed by hand, the absorption left empty (its placeholder says 0).
    MainWindow w;
    w.show();
    EXPECT_EQ(w.findChild<QComboBox *>("comboBox")->currentText(), QString("Вода"));
    EXPECT_TRUE(field(&w, "lineEdit_14")->text().isEmpty());
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    button(&w, "pushButton_2")->click();
    EXPECT_EQ(writtenMediumFile(app), water);

    // The example is water too, whatever medium was chosen before.
    MainWindow w2;
    w2.show();
    emit w2.findChild<QComboBox *>("comboBox")->activated(3);
    button(&w2, "pushButton_5")->click();
    EXPECT_EQ(field(&w2, "lineEdit_14")->text(), QString("0"));
    EXPECT_EQ(w2.findChild<QComboBox *>("comboBox")->currentIndex(), 0);
    BoxRecorder::instance().clear();
    button(&w2, "pushButton_2")->click();
    EXPECT_EQ(writtenMediumFile(app), water);
    w2.arrayWindow()->hide();
}

TEST_F(MainWindowTest, TissuePresetFillsTheMediumAndUserEditsAreKept)
{
    MainWindow w;
    w.show();
    fillValid(w, app.file("Elements_Quist_Marvane.txt"));
    QComboBox *medium = w.findChild<QComboBox *>("comboBox");
    medium->setCurrentIndex(2);
    emit medium->activated(2);
    EXPECT_EQ(medium->currentText(), QString("Печень"));
    EXPECT_EQ(field(&w, "lineEdit_7")->text(), QString("1060"));
    EXPECT_EQ(field(&w, "lineEdit_6")->text(), QString("1595"));
    EXPECT_EQ(field(&w, "lineEdit_14")->text(), QString("0.5"));
    // The intensity follows the new impedance: 0.25 MPa -> 250000^2 / (2 * 1060 * 1595) W/m^2.
    EXPECT_EQ(field(&w, "lineEdit_13")->text(), QString("1.8483"));

    // Edited after the choice: the user's values go into the job.
    EXPECT_EQ(typed(&w, "lineEdit_14", "-0.7x"), QString("0.7"));
    typed(&w, "lineEdit_7", "1050");
    button(&w, "pushButton_2")->click();
    ASSERT_TRUE(w.arrayWindow()->isVisible());
    EXPECT_FLOAT_EQ(shared::pvs, 0.7f);
    EXPECT_DOUBLE_EQ(shared::ro, 1050);
    EXPECT_EQ(writtenMediumFile(app), cp1251("Название среды:\t\t\tLiver\n"
                                             "Плотность, кг/м3:\t\t1050\n"
                                             "Скорость звука в среде, м/с:\t1595\n"
                                             "Теплоемкость, Дж/кг/К:\t\t4200\n"
                                             "Поглощение в среде, дБ/см/МГц:\t0.7"));
    w.arrayWindow()->hide();

    // Coming back shows the same medium and values.
    MainWindow back;
    back.not_first();
    EXPECT_EQ(back.findChild<QComboBox *>("comboBox")->currentText(), QString("Печень"));
    EXPECT_EQ(field(&back, "lineEdit_7")->text(), QString("1050"));
    EXPECT_EQ(field(&back, "lineEdit_14")->text(), QString("0.7"));
}

// ---- Example data, help and about ---------------------------------------------------------------

TEST_F(MainWindowTest, ExampleFillsTheFormAndIntroducesTheArray)
{
    MainWindow w;
    w.show();
    shared::Elem = VDOUB2{{0.5, 0.5}};
    button(&w, "pushButton_5")->click();
    const char *expected[][2] = {{"lineEdit", "17"},     {"lineEdit_2", "13"},    {"lineEdit_4", "1"},
                                 {"lineEdit_5", "0.35"}, {"lineEdit_6", "1500"},  {"lineEdit_7", "1000"},
                                 {"lineEdit_9", "2"},    {"lineEdit_10", "0.25"}, {"lineEdit_13", "2.0833"},
                                 {"lineEdit_3", "0"},    {"lineEdit_11", "0"},    {"lineEdit_12", "13"}};
    for (const auto &e : expected)
        EXPECT_EQ(field(&w, e[0])->text(), QString(e[1])) << e[0];
    EXPECT_EQ(field(&w, "lineEdit_8")->text(), app.path() + "/Elements_Quist_Marvane.txt");
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
    EXPECT_EQ(std::count(shared::CH.begin(), shared::CH.end(), true), 13);
    EXPECT_FLOAT_EQ(shared::R, 0.13f);
    EXPECT_EQ(shared::zF, double(0.13f));
    EXPECT_EQ(shared::Elem, (VDOUB2{{0.5, 0.5}})); // the example does not load the file itself

    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    const testsupport::RecordedBox box = BoxRecorder::instance().boxes()[0];
    EXPECT_EQ(box.title, QString("Параметры по умолчанию "));
    EXPECT_TRUE(box.text.startsWith(
        "В качестве примера рассмотрена типичная решетка для ультразвуковой хирургии:<br /><br />"));
    for (const char *fact : {"256", "7 мм", "17 см", "13 см", "4 см", "1 МГц"})
        EXPECT_TRUE(box.text.contains(QString::fromUtf8(fact))) << fact;
    EXPECT_TRUE(Qt::mightBeRichText(box.text));

    // Continue with the example goes on when the element file ships, and reports it otherwise.
    BoxRecorder::instance().clear();
    button(&w, "pushButton_2")->click();
    EXPECT_TRUE(w.arrayWindow()->isVisible());
    EXPECT_EQ(shared::Elem.size(), 3u);
    w.arrayWindow()->hide();

    MainWindow w2;
    w2.show();
    button(&w2, "pushButton_5")->click();
    QFile::remove(app.file("Elements_Quist_Marvane.txt"));
    BoxRecorder::instance().clear();
    button(&w2, "pushButton_2")->click();
    EXPECT_EQ(boxTexts(), QStringList{"Такого файла не существует! Выберете другой файл."});
}

TEST_F(MainWindowTest, ExampleInIntensityModeDerivesThePressure)
{
    MainWindow w;
    w.show();
    shared::initpres = 0;
    QTest::mouseClick(w.findChild<QRadioButton *>("radioButton_2"), Qt::LeftButton);
    button(&w, "pushButton_5")->click();
    EXPECT_EQ(field(&w, "lineEdit_10")->text(), QString("0.2499"));
    EXPECT_EQ(field(&w, "lineEdit_13")->text(), QString("2.0833"));
    EXPECT_NEAR(shared::initintens, 20833, 1e-6);
    EXPECT_TRUE(button(&w, "pushButton_2")->isEnabled());
}

TEST_F(MainWindowTest, HelpOpensTheManualOrSaysItCannot)
{
    MainWindow w;
    QString opened;
    platform::setOpenDocumentHandler([&](const QString &path) {
        opened = path;
        return true;
    });
    button(&w, "pushButton_3")->click();
    EXPECT_EQ(opened, app.path() + "/help.pdf");
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());

    platform::setOpenDocumentHandler([](const QString &) { return false; });
    button(&w, "pushButton_3")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Ошибка!"));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text, QString("Невозможно открыть pdf файл!"));
}

TEST_F(MainWindowTest, AboutBoxStartsWithTheProductLine)
{
    MainWindow w;
    button(&w, "pushButton_4")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    const QString text = BoxRecorder::instance().boxes()[0].text;
    EXPECT_TRUE(Qt::mightBeRichText(text));
    const QStringList blocks = text.split("<br /><br />");
    ASSERT_GE(blocks.size(), 3);
    EXPECT_TRUE(blocks[0].contains("Kormax"));
    for (const QString &b : blocks)
        EXPECT_FALSE(b.trimmed().isEmpty());
}

// ---- Leaving ----------------------------------------------------------------------------------

TEST_F(MainWindowTest, ExitConfirmationNoKeepsEverythingYesRemovesJobFilesAndQuits)
{
    testsupport::writeAll(app.file("calc/array.txt"), "x");
    testsupport::writeAll(app.file("main_max/grid_scan.txt"), "x");
    MainWindow w;
    w.show();
    const int quitsBefore = testsupport::quitRequests();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&w));
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Выход из приложения"));
    EXPECT_TRUE(QFile::exists(app.file("calc/array.txt")));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);

    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(&w));
    EXPECT_FALSE(QFile::exists(app.file("calc/array.txt")));
    EXPECT_FALSE(QFile::exists(app.file("main_max/grid_scan.txt")));
    EXPECT_TRUE(QFile::exists(app.file("Elements_Quist_Marvane.txt")));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore + 1);
}
