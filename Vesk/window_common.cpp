#include "window_common.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "del_temp_files.h"
#include "platform.h"

namespace window {

const char *const exitTitle = "Выход из приложения";
const char *const exitQuestion = "Вы уверены, что хотите выйти? Все несохраненные результаты будут потеряны.";

namespace {
// Dynamic properties that carry the lifetime of the working windows.
const char *const ownerProperty = "kormaxOwner";
const char *const freedWhenLeftProperty = "kormaxFreedWhenLeft";

QWidget *ownerOf(QWidget *w)
{
    return qobject_cast<QWidget *>(w->property(ownerProperty).value<QObject *>());
}
} // namespace

QSize scaledSize(const QSize &design, int dpi, const QRect &available, bool clampToScreen)
{
    double width = design.width() * double(dpi) / 96.0;
    double height = design.height() * double(dpi) / 96.0;
    if (clampToScreen) {
        if (width > available.width())
            width = available.width();
        if (height > available.height())
            height = available.height();
    }
    return QSize(int(width), int(height));
}

QSize scaledSize(const QSize &design, bool clampToScreen)
{
    return scaledSize(design, platform::screenDpi(), platform::availableGeometry(), clampToScreen);
}

void moveToCenter(QWidget *w)
{
    const QPoint centre = platform::availableGeometry().center();
    w->move(centre.x() - w->width() / 2, centre.y() - w->height() / 2);
}

void setIconFromAppDir(QWidget *w, const QString &fileName)
{
    const QString path = platform::appDir() + fileName;
    if (QFileInfo::exists(path))
        w->setWindowIcon(QIcon(path));
}

void growToContents(QWidget *w)
{
    w->setMinimumSize(w->minimumSize().expandedTo(w->minimumSizeHint()));
    w->resize(w->size().expandedTo(w->minimumSize()));
}

void moveOn(QWidget *from, QWidget *to)
{
    moveOn(from, to, from->geometry());
}

void moveOn(QWidget *from, QWidget *to, const QRect &geometry)
{
    to->setGeometry(geometry);
    to->show();
    leave(from, to);
}

void leave(QWidget *from, QWidget *to)
{
    from->close();
    QWidget *toOwner = ownerOf(to);
    if (!toOwner)
        to->setProperty(freedWhenLeftProperty, true);
    QWidget *left = ownerOf(from) ? ownerOf(from) : from;
    // deleteLater: the slot that moves on may still be running on `from`.
    if (left != toOwner && left != to && left->property(freedWhenLeftProperty).toBool())
        left->deleteLater();
}

void setOwner(QWidget *owned, QWidget *owner)
{
    owned->setProperty(ownerProperty, QVariant::fromValue<QObject *>(owner));
}

void freeRemaining(const QWidget *keep)
{
    // Collected first and guarded: deleting one window may delete another with it.
    QList<QPointer<QWidget>> remaining;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != keep && !w->parentWidget() && !ownerOf(w))
            remaining << w;
    for (const QPointer<QWidget> &w : remaining)
        delete w.data();
}

void confirmExit(QWidget *w, QCloseEvent *event)
{
    if (!event->spontaneous()) {
        event->accept();
        return;
    }
    if (platform::question(w, exitTitle, exitQuestion) == QMessageBox::Yes) {
        event->accept();
        del_temp_files();
        platform::quitApplication();
    } else {
        event->ignore();
    }
}

void confirmCloseResult(QWidget *w, QCloseEvent *event)
{
    if (!event->spontaneous()) {
        event->accept();
        return;
    }
    if (platform::question(w, exitTitle, exitQuestion) == QMessageBox::Yes)
        event->accept();
    else
        event->ignore();
}

} // namespace window
