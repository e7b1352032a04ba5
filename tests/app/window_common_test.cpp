#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QPointer>
#include <QWidget>

#include "del_temp_files.h"
#include "test_support.h"
#include "window_common.h"

using testsupport::BoxRecorder;

namespace {
// A working window as the application builds them: its close event asks before quitting.
class WorkingWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { window::confirmExit(this, event); }
};

class ResultWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { window::confirmCloseResult(this, event); }
};

// A window holding another as a member, as the main window holds its array window.
struct OwnerWindow : QWidget {
    QWidget owned;
    OwnerWindow() { window::setOwner(&owned, this); }
};

void touchAllJobFiles(const testsupport::TempAppDir &dir)
{
    for (const QString &f : jobFilesToRemove())
        testsupport::writeAll(dir.path() + f, "x");
}
} // namespace

TEST(WindowSizing, ScalesByDpiAndClampsParameterWindows)
{
    const QRect big(0, 0, 4000, 3000);
    EXPECT_EQ(window::scaledSize(QSize(823, 652), 96, big, true), QSize(823, 652));
    // 823 * 1.25 = 1028.75: the fraction is dropped.
    EXPECT_EQ(window::scaledSize(QSize(823, 652), 120, big, true), QSize(1028, 815));
    const QRect small(0, 30, 800, 600);
    EXPECT_EQ(window::scaledSize(QSize(823, 652), 96, small, true), QSize(800, 600));
    // Result windows are not clamped.
    EXPECT_EQ(window::scaledSize(QSize(535, 593), 120, small, false), QSize(668, 741));
}

TEST(WindowPlacement, CentresOnAvailableArea)
{
    platform::setScreenOverride(96, QRect(0, 20, 1000, 801));
    QWidget w;
    w.resize(301, 200);
    window::moveToCenter(&w);
    // centre (499, 420) minus integer halves (150, 100)
    EXPECT_EQ(w.pos(), QPoint(349, 320));
    platform::setScreenOverride(0, QRect());
}

TEST(DelTempFiles, RemovesEveryJobFileAndNothingElse)
{
    testsupport::TempAppDir dir;
    const QStringList files = jobFilesToRemove();
    ASSERT_EQ(files.size(), 3 + 10 + 12 + 13 + 16 + 8 + 14);
    EXPECT_EQ(files.mid(0, 4), QStringList({"/calc/.calc.lock", "/main_max/.calc.lock", "/side_max/.calc.lock",
                                            "/calc/AbsField_XY.txt"}));
    EXPECT_TRUE(files.contains("/side_max/side_maxes.txt"));
    EXPECT_TRUE(files.contains("/score/scores.txt"));
    EXPECT_EQ(files.last(), QString("/design/search_progress.txt"));
    touchAllJobFiles(dir);
    testsupport::writeAll(dir.file("calc/calc.bat"), "#!/bin/sh\n");
    testsupport::writeAll(dir.file("calc/result.pdf"), "keep");
    del_temp_files();
    for (const QString &f : files)
        EXPECT_FALSE(QFile::exists(dir.path() + f)) << f.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("calc/calc.bat")));
    EXPECT_TRUE(QFile::exists(dir.file("calc/result.pdf")));
    del_temp_files(); // missing files are no error
}

TEST(ExitConfirmation, NoKeepsWindowAndFilesYesRemovesFilesAndQuits)
{
    testsupport::TempAppDir dir;
    touchAllJobFiles(dir);
    WorkingWindow w;
    w.show();
    BoxRecorder::instance().clear();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    const int quitsBefore = testsupport::quitRequests();
    EXPECT_FALSE(testsupport::closeByUser(&w));
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 1);
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].title, QString("Выход из приложения"));
    EXPECT_EQ(BoxRecorder::instance().boxes()[0].text,
              QString("Вы уверены, что хотите выйти? Все несохраненные результаты будут потеряны."));
    EXPECT_TRUE(QFile::exists(dir.file("calc/array.txt")));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);

    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_TRUE(testsupport::closeByUser(&w));
    EXPECT_FALSE(QFile::exists(dir.file("calc/array.txt")));
    EXPECT_FALSE(QFile::exists(dir.file("side_max/side_maxes.txt")));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore + 1);
    BoxRecorder::instance().clear();
}

TEST(MovingOn, HandsOverGeometryWithoutAskingOrQuitting)
{
    testsupport::TempAppDir dir;
    touchAllJobFiles(dir);
    WorkingWindow from, to;
    from.setGeometry(100, 120, 700, 560);
    from.show();
    BoxRecorder::instance().clear();
    const int quitsBefore = testsupport::quitRequests();
    window::moveOn(&from, &to);
    EXPECT_FALSE(from.isVisible());
    EXPECT_TRUE(to.isVisible());
    EXPECT_EQ(to.geometry().size(), QSize(700, 560));
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);
    EXPECT_TRUE(QFile::exists(dir.file("calc/array.txt")));
    // The next close by the user asks again.
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&to));
    EXPECT_EQ(BoxRecorder::instance().boxes().size(), 1);
    BoxRecorder::instance().clear();
}

TEST(ResultWindowClose, YesClosesOnlyThatWindow)
{
    testsupport::TempAppDir dir;
    touchAllJobFiles(dir);
    ResultWindow result;
    result.show();
    BoxRecorder::instance().clear();
    BoxRecorder::instance().setAnswer(QMessageBox::No);
    EXPECT_FALSE(testsupport::closeByUser(&result));
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    const int quitsBefore = testsupport::quitRequests();
    EXPECT_TRUE(testsupport::closeByUser(&result));
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);
    EXPECT_TRUE(QFile::exists(dir.file("calc/array.txt")));
    BoxRecorder::instance().clear();
}

TEST(ProgramClose, PassesWithoutTheQuestion)
{
    testsupport::TempAppDir dir;
    touchAllJobFiles(dir);
    WorkingWindow working;
    ResultWindow result;
    working.show();
    result.show();
    BoxRecorder::instance().clear();
    const int quitsBefore = testsupport::quitRequests();
    EXPECT_TRUE(working.close());
    EXPECT_TRUE(result.close());
    EXPECT_TRUE(BoxRecorder::instance().boxes().isEmpty());
    EXPECT_EQ(testsupport::quitRequests(), quitsBefore);
    EXPECT_TRUE(QFile::exists(dir.file("calc/array.txt")));
}

TEST(ApplicationEnd, FreesEveryRemainingWindowOnce)
{
    QWidget first; // the caller's own, like main()'s first main window
    auto *owner = new OwnerWindow;
    auto *left = new QWidget;
    auto *dialog = new QWidget(left, Qt::Dialog); // goes with its parent
    owner->show();
    owner->owned.show();
    dialog->show();
    const QPointer<QWidget> ownerAlive(owner), ownedAlive(&owner->owned), leftAlive(left), dialogAlive(dialog);
    window::freeRemaining(&first);
    EXPECT_TRUE(ownerAlive.isNull());
    EXPECT_TRUE(ownedAlive.isNull());
    EXPECT_TRUE(leftAlive.isNull());
    EXPECT_TRUE(dialogAlive.isNull());
    EXPECT_EQ(QApplication::topLevelWidgets(), QWidgetList{&first});
}
