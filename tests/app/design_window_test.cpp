// The design window on the example array: layouts generated, scored by the real calculator,
// compared and used, then the field of the chosen one through the usual road; and the inputs it
// must refuse, each leaving the main window's values as they were.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "design_wnd.h"
#include "mainwindow.h"
#include "plane_ch_wnd.h"
#include "platform.h"
#include "shared_params.h"
#include "road_test.h"
#include "test_support.h"
#include "window_common.h"

namespace {

using testsupport::BoxRecorder;
using testsupport::child;

constexpr int kCalculationTimeoutMs = 300000;
enum { NameColumn = 1, GainColumn = 5, SideColumn = 8 };

QStringList mainFields(MainWindow *w)
{
    QStringList texts;
    for (QLineEdit *e : w->findChildren<QLineEdit *>())
        if (e->window() == w) // not the design window's own fields
            texts << e->objectName() + "=" + e->text();
    return texts;
}

class DesignWindow : public testsupport::RoadTest
{
protected:
    void SetUp() override
    {
        QDir(app.path()).mkpath("design");
        ASSERT_NO_FATAL_FAILURE(copyShipped(
            {"kormax-calc", "calc/calc.bat", "score/score.bat", "design/design.bat", "Elements_Quist_Marvane.txt"}));
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        shared::resetEntryFlags();
        BoxRecorder::instance().clear();
        startForReal();
        // The field calculation's "Внимание!" box is answered once the calculator has finished.
        platform::setBoxHandler([this](const platform::Box &box) {
            if (box.title == "Внимание!" && box.text.startsWith("Нажимте"))
                testsupport::waitForFile(app.file("calc/calcdone"), kCalculationTimeoutMs);
            return BoxRecorder::instance().record(box);
        });
        platform::setFileDialogHandler([this](const platform::FileDialog &) { return dialogAnswer; });
        main = new MainWindow;
        main->show();
        child<QPushButton>(main, "pushButton_5")->click(); // the example
    }

    Design_wnd *openDesign()
    {
        child<QPushButton>(main, "pushButton_design")->click();
        return qobject_cast<Design_wnd *>(main->designWindow());
    }

    void generate(Design_wnd *d, int kind, const QString &count, const QString &gap = "0.5")
    {
        child<QComboBox>(d, "comboBox_kind")->setCurrentIndex(kind);
        child<QLineEdit>(d, "lineEdit_count")->setText(count);
        child<QLineEdit>(d, "lineEdit_gap")->setText(gap);
        child<QPushButton>(d, "pushButton_generate")->click();
    }

    QTemporaryDir exports;
    QString dialogAnswer;
    MainWindow *main = nullptr;
};

TEST_F(DesignWindow, GeneratesScoresComparesAndUsesALayoutWhoseFieldTheRoadThenComputes)
{
    Design_wnd *d = openDesign();
    ASSERT_NE(d, nullptr) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_EQ(d->windowTitle(), "Проектирование решетки");
    const QStringList before = mainFields(main);
    generate(d, 0, "256"); // random
    generate(d, 2, "256"); // hexagonal
    generate(d, 1, "256"); // spiral
    QTableWidget *table = child<QTableWidget>(d, "tableWidget");
    ASSERT_EQ(table->rowCount(), 3) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_TRUE(child<QPlainTextEdit>(d, "plainTextEdit_check")->toPlainText().contains("Расположение допустимо."));

    BoxRecorder::instance().clear();
    QSignalSpy finished(d, &Design_wnd::scoringFinished);
    child<QPushButton>(d, "pushButton_score")->click();
    ASSERT_TRUE(finished.wait(kCalculationTimeoutMs));
    ASSERT_TRUE(BoxRecorder::instance().boxes().isEmpty()) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_FALSE(child<QPushButton>(d, "pushButton_score")->isEnabled()) << "every candidate scored";

    // Sorted by the strongest side maximum: the lattice, with its grating lobes, comes last.
    table->sortItems(SideColumn, Qt::AscendingOrder);
    EXPECT_TRUE(table->item(2, NameColumn)->text().startsWith("Гексагональная"))
        << table->item(2, NameColumn)->text().toStdString();
    for (int row = 0; row < 3; ++row)
        EXPECT_GT(table->item(row, GainColumn)->text().toDouble(), 30) << row;
    EXPECT_LT(table->item(0, SideColumn)->data(Qt::UserRole).toDouble(),
              table->item(2, SideColumn)->data(Qt::UserRole).toDouble());

    // The best one, as an element file of the application, into the main window.
    table->selectRow(0);
    const double gain = table->item(0, GainColumn)->data(Qt::UserRole).toDouble();
    dialogAnswer = exports.filePath("chosen");
    child<QPushButton>(d, "pushButton_use")->click();
    const QString path = exports.filePath("chosen.txt");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(child<QLineEdit>(main, "lineEdit_8")->text(), path);
    QStringList expected = before;
    expected.replaceInStrings(QRegularExpression("^lineEdit_8=.*"), "lineEdit_8=" + path);
    EXPECT_EQ(mainFields(main).join(' ').toStdString(), expected.join(' ').toStdString());

    // The usual road: Continue, the array window, the default transverse plane, the field.
    child<QPushButton>(main, "pushButton_2")->click();
    ASSERT_TRUE(main->arrayWindow()->isVisible()) << BoxRecorder::instance().texts().join("\n").toStdString();
    EXPECT_EQ(shared::Elem.size(), 256u);
    child<QPushButton>(main->arrayWindow(), "pushButton_4")->click();
    plane_ch_wnd *plane = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<plane_ch_wnd *>(w); p && p->isVisible())
            plane = p;
    ASSERT_NE(plane, nullptr);
    child<QPushButton>(plane, "Button_def")->click();
    child<QPushButton>(plane, "pushButton_4")->click();
    ASSERT_TRUE(QFile::exists(app.file("calc/calcdone")))
        << testsupport::readAll(app.file("calc/log.txt")).toStdString();
    // The field job's |p(F)|/p0 at the focus (0, 0, R) is the gain the design window showed.
    const double focus = testsupport::readAll(app.file("calc/focus_pressure.txt")).trimmed().toDouble();
    EXPECT_NEAR(focus, gain, 1e-3 * gain);
}

TEST_F(DesignWindow, RefusesImpossibleInputAndLeavesTheMainWindowAlone)
{
    const QStringList before = mainFields(main);
    // Elements larger than the aperture: the main window's own check, no design window.
    child<QLineEdit>(main, "lineEdit_5")->setText("20");
    BoxRecorder::instance().clear();
    EXPECT_EQ(openDesign(), nullptr);
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes().last().title, "Ошибка!");
    EXPECT_TRUE(BoxRecorder::instance().boxes().last().text.contains("Радиус элемента"));
    child<QLineEdit>(main, "lineEdit_5")->setText("0.35");

    Design_wnd *d = openDesign();
    ASSERT_NE(d, nullptr);
    const struct {
        int kind;
        const char *count, *gap, *says;
    } refused[] = {{0, "256", "200", "помещается: 1"},
                   {2, "0", "0.5", "больше нуля"},
                   {1, "900", "0.5", "Запрошено элементов: 900"},
                   {3, "5000", "0.5", "помещается"}};
    for (const auto &r : refused) {
        BoxRecorder::instance().clear();
        generate(d, r.kind, r.count, r.gap);
        ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1) << r.count;
        EXPECT_EQ(BoxRecorder::instance().boxes().last().title, "Ошибка!");
        EXPECT_TRUE(BoxRecorder::instance().boxes().last().text.contains(QString::fromUtf8(r.says)))
            << BoxRecorder::instance().boxes().last().text.toStdString();
    }
    EXPECT_EQ(child<QTableWidget>(d, "tableWidget")->rowCount(), 0);

    // A folder that cannot be written.
    generate(d, 0, "100");
    BoxRecorder::instance().clear();
    dialogAnswer = "/proc/kormax_elements.txt";
    child<QPushButton>(d, "pushButton_use")->click();
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_TRUE(BoxRecorder::instance().boxes().last().text.contains("доступную для записи"));

    // A scoring job stopped by the user.
    BoxRecorder::instance().clear();
    QSignalSpy finished(d, &Design_wnd::scoringFinished);
    child<QPushButton>(d, "pushButton_score")->click();
    child<QPushButton>(d, "pushButton_stop")->click();
    ASSERT_TRUE(finished.wait(kCalculationTimeoutMs));
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_TRUE(BoxRecorder::instance().boxes().last().text.startsWith("Оценка прервана"));
    EXPECT_TRUE(child<QPushButton>(d, "pushButton_score")->isEnabled());

    EXPECT_EQ(mainFields(main).join(' ').toStdString(), before.join(' ').toStdString());
}

} // namespace

TEST_F(DesignWindow, SearchFillsTheTableEnsembleShowsItsSpreadAndAStoppedSearchKeepsItsBest)
{
    Design_wnd *d = openDesign();
    ASSERT_NE(d, nullptr);
    child<QComboBox>(d, "comboBox_kind")->setCurrentIndex(0); // random
    child<QLineEdit>(d, "lineEdit_count")->setText("48");
    QSignalSpy finished(d, &Design_wnd::scoringFinished);
    QTableWidget *table = child<QTableWidget>(d, "tableWidget");

    child<QLineEdit>(d, "lineEdit_budget")->setText("5");
    BoxRecorder::instance().clear();
    child<QPushButton>(d, "pushButton_optimise")->click();
    ASSERT_TRUE(finished.wait(kCalculationTimeoutMs));
    ASSERT_TRUE(BoxRecorder::instance().boxes().isEmpty()) << BoxRecorder::instance().texts().join("\n").toStdString();
    ASSERT_EQ(table->rowCount(), 3); // the search's three best, scored
    for (int row = 0; row < 3; ++row)
        EXPECT_GT(table->item(row, GainColumn)->data(Qt::UserRole).toDouble(), 1) << row;
    // The window's search is the batch of its job folder: run by hand there, the same table.
    {
        const QByteArray table = testsupport::readAll(app.file("design/design_scores.txt"));
        ASSERT_FALSE(table.isEmpty());
        QFile::remove(app.file("design/design_scores.txt"));
        QProcess batch;
        batch.setWorkingDirectory(app.file("design"));
        batch.start(app.file("kormax-calc"), {"design", "--no-gui"});
        ASSERT_TRUE(batch.waitForFinished(kCalculationTimeoutMs));
        EXPECT_EQ(batch.exitCode(), 0);
        EXPECT_EQ(testsupport::readAll(app.file("design/design_scores.txt")), table);
    }

    child<QLineEdit>(d, "lineEdit_seeds")->setText("3");
    child<QPushButton>(d, "pushButton_ensemble")->click();
    ASSERT_TRUE(finished.wait(kCalculationTimeoutMs));
    const QString report = child<QPlainTextEdit>(d, "plainTextEdit_check")->toPlainText();
    EXPECT_TRUE(report.startsWith("Ансамбль из 3 зерен.")) << report.toStdString();
    EXPECT_EQ(report.count("медиана"), 5);

    // Stopped once it has a best so far: that layout joins the table, unscored.
    child<QLineEdit>(d, "lineEdit_budget")->setText("100");
    child<QPushButton>(d, "pushButton_optimise")->click();
    ASSERT_TRUE(testsupport::waitForFile(app.file("design/search_progress.txt"), kCalculationTimeoutMs));
    child<QPushButton>(d, "pushButton_stop")->click();
    ASSERT_TRUE(finished.wait(kCalculationTimeoutMs));
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_FALSE(table->findItems("Поиск: лучший до остановки", Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(child<QPushButton>(d, "pushButton_score")->isEnabled());
}
