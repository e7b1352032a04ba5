#ifndef RESULT_WINDOWS_H
#define RESULT_WINDOWS_H

#include <QApplication>
#include <QList>

#include "result_wnd.h"

namespace testsupport {

// Result windows that are open now.
inline QList<Result_wnd *> openResultWindows()
{
    QList<Result_wnd *> list;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (Result_wnd *r = qobject_cast<Result_wnd *>(w))
            if (r->isVisible())
                list << r;
    return list;
}

// The last visible top-level window of a class (a window just opened by a button), or null.
template <class W> W *shownWindow()
{
    W *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (W *t = qobject_cast<W *>(w))
            if (t->isVisible())
                found = t;
    return found;
}

} // namespace testsupport

#endif // RESULT_WINDOWS_H
