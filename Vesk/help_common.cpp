#include "help_common.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform.h"
#include "window_common.h"

namespace help {

void setUpWindow(QWidget *w, const QString &title, const QSize &size)
{
    window::setIconFromAppDir(w, "/icon.png");
    w->setWindowTitle(title);
    w->setGeometry(w->x(), w->y(), size.width(), size.height());
    window::moveToCenter(w);
    w->setFixedSize(size);
}

void paintPicture(QWidget *w, const QString &fileName)
{
    const QImage picture(platform::appDir() + fileName);
    if (picture.isNull())
        return;
    QPainter painter(w);
    painter.drawImage(0, 0, picture);
}

} // namespace help
