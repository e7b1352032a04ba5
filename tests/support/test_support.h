#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform.h"

class QLineEdit;
class QPushButton;

namespace testsupport {

// Every message box the code under test showed, in order.
struct RecordedBox {
    platform::BoxKind kind;
    QString title;
    QString text;
};

// Records message boxes and answers questions with a preset button, so no test ever blocks
// on a modal box. Installed for the whole run by the test main; tests reset it as they need.
class BoxRecorder
{
public:
    static BoxRecorder &instance();
    void clear();
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    const QVector<RecordedBox> &boxes() const { return m_boxes; }
    QStringList texts() const;
    QMessageBox::StandardButton record(const platform::Box &box);

private:
    QVector<RecordedBox> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
};

// A temporary application directory with the job folders (calc, main_max, side_max, heat, score), made current for the test.
class TempAppDir
{
public:
    TempAppDir();
    ~TempAppDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.path() + "/" + relative; }
    // Writes an executable POSIX shell script (the calculator's batch file stand-in).
    void writeScript(const QString &relative, const QByteArray &body) const;

private:
    QTemporaryDir m_dir;
};

// Message boxes recorded, file dialogs cancelled, no document viewer, no detached processes,
// requests to end the application counted instead of carried out, the machine's real memory.
void installDefaultHooks();
int quitRequests();

// Closes a shown top-level window the way the user does (title-bar button: a spontaneous close
// event through the window system); true when the window accepted the close.
bool closeByUser(QWidget *w);

// A named child of a window; a test failure (and null) when there is none.
template <class T> T *child(QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(name);
    if (!found)
        ADD_FAILURE() << "no " << name << " in " << w->metaObject()->className();
    return found;
}
QLineEdit *edit(QWidget *w, const char *name);
QPushButton *button(QWidget *w, const char *name);

// The example array of the main window in the shared parameters with its element file from the
// built application directory (source pressure 0.25 MPa); false when the file does not load.
bool setExampleArray();

QByteArray readAll(const QString &path);
// Waits up to ms milliseconds for a file to appear (a calculator writing its marker).
bool waitForFile(const QString &path, int ms);
void writeAll(const QString &path, const QByteArray &data);
// Waits up to ms milliseconds, handling events, for a process to end (a detached calculator: not
// our child, so there is no exit status to wait on); true when it has ended.
bool waitForExit(qint64 pid, int ms);

} // namespace testsupport

#endif // TEST_SUPPORT_H
