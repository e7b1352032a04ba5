#ifndef HELP_COMMON_H
#define HELP_COMMON_H

#include <QSize>
#include <QString>

class QWidget;

// What the two plane help windows share: a fixed-size, centred window showing one picture from
// the application directory at its own size.
namespace help {

// Icon "/icon.png", title, the fixed size at the current position, then centred on the screen.
void setUpWindow(QWidget *w, const QString &title, const QSize &size);

// Draws the picture (e.g. "/help_poper.png") unscaled at the widget's top-left corner; a missing
// picture leaves the widget blank.
void paintPicture(QWidget *w, const QString &fileName);

} // namespace help

#endif // HELP_COMMON_H
