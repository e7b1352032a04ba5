#include "platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDesktopWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include "JobLimits.h"

namespace platform {

namespace {
QString appDirOverride;
int dpiOverride = 0;
QRect availableOverride;
double memoryOverride = 0;
BoxHandler boxHandler;
FileDialogHandler fileDialogHandler;
OpenDocumentHandler openDocumentHandler;
StartDetachedHandler startDetachedHandler;
QuitHandler quitHandler;
} // namespace

QString appDir()
{
    if (!appDirOverride.isEmpty())
        return appDirOverride;
    return QCoreApplication::applicationDirPath();
}

void setAppDirOverride(const QString &dir)
{
    appDirOverride = dir;
}

int screenDpi()
{
    if (dpiOverride > 0)
        return dpiOverride;
    return QApplication::desktop()->physicalDpiX();
}

QRect availableGeometry()
{
    if (dpiOverride > 0)
        return availableOverride;
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void setScreenOverride(int dpi, const QRect &available)
{
    dpiOverride = dpi;
    availableOverride = available;
}

double physicalMemory()
{
    return memoryOverride > 0 ? memoryOverride : kjobs::physicalMemoryBytes();
}

void setPhysicalMemoryOverride(double bytes)
{
    memoryOverride = bytes;
}

void setBoxHandler(BoxHandler handler)
{
    boxHandler = std::move(handler);
}

void information(QWidget *parent, const QString &title, const QString &text)
{
    if (boxHandler) {
        boxHandler(Box{BoxKind::Information, title, text});
        return;
    }
    QMessageBox::information(parent, title, text);
}

QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons)
{
    if (boxHandler)
        return boxHandler(Box{BoxKind::Question, title, text});
    return QMessageBox::question(parent, title, text, buttons);
}

void setFileDialogHandler(FileDialogHandler handler)
{
    fileDialogHandler = std::move(handler);
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    if (fileDialogHandler)
        return fileDialogHandler(FileDialog{false, caption, dir, filter});
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                        QString *selectedFilter, bool confirmOverwrite)
{
    if (fileDialogHandler)
        return fileDialogHandler(FileDialog{true, caption, dir, filter, selectedFilter});
    QFileDialog::Options options;
    if (!confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
}

void setOpenDocumentHandler(OpenDocumentHandler handler)
{
    openDocumentHandler = std::move(handler);
}

bool openDocument(const QString &path)
{
    if (openDocumentHandler)
        return openDocumentHandler(path);
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setStartDetachedHandler(StartDetachedHandler handler)
{
    startDetachedHandler = std::move(handler);
}

bool startDetached(const QString &program, const QStringList &args, const QString &workDir)
{
    if (startDetachedHandler)
        return startDetachedHandler(program, args, workDir);
    return QProcess::startDetached(program, args, workDir);
}

void setQuitHandler(QuitHandler handler)
{
    quitHandler = std::move(handler);
}

void quitApplication()
{
    if (quitHandler)
        quitHandler();
    else
        QCoreApplication::quit();
}

} // namespace platform
