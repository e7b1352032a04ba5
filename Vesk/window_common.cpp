#include "window_common.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "del_temp_files.h"
#include "platform.h"

namespace window {

const char *const exitTitle = "Выход из приложения";
const char *const exitQuestion = "Вы уверены, что хотите выйти? Все несохраненные результаты будут потеряны.";

namespace {
// What leave() knows of a working window's lifetime. A child object of the window, so it goes with it.
class Lifetime : public QObject
{
public:
    explicit Lifetime(QWidget *w) : QObject(w) {}
    QPointer<QWidget> owner;    // the window that holds this one as a member (setOwner), if any
    bool freedWhenLeft = false; // taken over by leave(): deleted when it is left in its turn
};

// The window's lifetime record; null when it has none and make is false.
Lifetime *lifetimeOf(QWidget *w, bool make)
{
    for (QObject *child : w->children())
        if (Lifetime *l = dynamic_cast<Lifetime *>(child))
            return l;
    return make ? new Lifetime(w) : nullptr;
}

QWidget *ownerOf(QWidget *w)
{
    const Lifetime *l = lifetimeOf(w, false);
    return l ? l->owner.data() : nullptr;
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
        lifetimeOf(to, true)->freedWhenLeft = true;
    QWidget *left = ownerOf(from) ? ownerOf(from) : from;
    const Lifetime *leftLifetime = lifetimeOf(left, false);
    // deleteLater: the slot that moves on may still be running on `from`.
    if (left != toOwner && left != to && leftLifetime && leftLifetime->freedWhenLeft)
        left->deleteLater();
}

void setOwner(QWidget *owned, QWidget *owner)
{
    lifetimeOf(owned, true)->owner = owner;
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
