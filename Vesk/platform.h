#ifndef PLATFORM_H
#define PLATFORM_H

#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The few places where Kormax touches the desktop: its own directory, the screen, the memory, message boxes,
// file dialogs, the PDF viewer and starting the calculator. Each has a hook so tests can stand in
// for the user or the desktop.
namespace platform {

// Directory of the executable: root of the shipped files and the job folders.
QString appDir();
void setAppDirOverride(const QString &dir); // empty: back to the executable's directory

// Physical horizontal resolution (dots per inch) and available geometry of the primary screen.
int screenDpi();
QRect availableGeometry();
void setScreenOverride(int dpi, const QRect &available); // dpi <= 0: back to the real screen

// Physical memory of the machine in bytes (0: unknown), which bounds the jobs the calculator takes.
double physicalMemory();
void setPhysicalMemoryOverride(double bytes); // 0 or less: back to the real memory

// Message boxes. Without a handler they are the toolkit's modal boxes.
enum class BoxKind { Information, Question };
struct Box {
    BoxKind kind;
    QString title;
    QString text;
};
// Returns the button the user pressed (Ok for information boxes).
typedef std::function<QMessageBox::StandardButton(const Box &)> BoxHandler;
void setBoxHandler(BoxHandler handler); // empty: real boxes

void information(QWidget *parent, const QString &title, const QString &text);
QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No);

// File dialogs. The handler gets the caption, directory and filter and returns the chosen path
// (empty: cancelled). selectedFilter may be written by the handler like the real dialog does.
struct FileDialog {
    bool save;
    QString caption;
    QString dir;
    QString filter;
    QString *selectedFilter = nullptr; // the filter the user chose, when the caller asks for it
};
typedef std::function<QString(const FileDialog &)> FileDialogHandler;
void setFileDialogHandler(FileDialogHandler handler); // empty: real dialogs

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                        QString *selectedFilter = nullptr, bool confirmOverwrite = true);

// Opens a document with the desktop's default viewer; false when that failed.
typedef std::function<bool(const QString &path)> OpenDocumentHandler;
void setOpenDocumentHandler(OpenDocumentHandler handler);
bool openDocument(const QString &path);

// Starts a program detached with a working directory; false when it could not be started.
typedef std::function<bool(const QString &program, const QStringList &args, const QString &workDir)>
    StartDetachedHandler;
void setStartDetachedHandler(StartDetachedHandler handler);
bool startDetached(const QString &program, const QStringList &args, const QString &workDir);

// Ends the application (after the user confirmed leaving it). Tests record the request instead.
typedef std::function<void()> QuitHandler;
void setQuitHandler(QuitHandler handler);
void quitApplication();

} // namespace platform

#endif // PLATFORM_H
