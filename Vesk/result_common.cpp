#include "result_common.h"

#include <QWidget>
#include <cstdlib>

#include "shared_params.h"
#include "window_common.h"

namespace resultwindow {

bool axialByPlaneFlags()
{
    return shared::is_prodol && !shared::is_poper;
}

void setUp(QWidget *w, const QSize &transverseDesign, bool axial, const QString &title)
{
    // The axial plane is long along z: its window is twice as wide.
    const QSize transverse = window::scaledSize(transverseDesign, false);
    const QSize size =
        axial ? window::scaledSize(QSize(2 * transverseDesign.width(), transverseDesign.height()), false) : transverse;
    window::setIconFromAppDir(w);
    w->setWindowTitle(title);
    w->setGeometry(w->x(), w->y(), size.width(), size.height());
    w->setMinimumSize(transverse);
    window::growToContents(w);
}

void place(QWidget *w)
{
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setGeometry(100 + rand() % 10, 100 + rand() % 10, w->width(), w->height());
}

} // namespace resultwindow
