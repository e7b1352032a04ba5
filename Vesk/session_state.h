#ifndef SESSION_STATE_H
#define SESSION_STATE_H

#include <QMap>
#include <QString>

#include "session.h"

class QWidget;

// The session of the running application: the shared parameters and the quality windows' fields
// as a session record (session.h), and back. The windows' "Сохранить сеанс" and the main window's
// "Открыть сеанс" go through here.
namespace sessionstate {

// The fields of the quality windows ("axial", "transverse": field name -> text), kept while the
// windows come and go so that a session saved from any window holds them.
extern QMap<QString, QMap<QString, QString>> qualityForms;

// The session of the shared parameters and qualityForms.
session::Session capture();

// The main window's checks of a session's array and element positions: no elements, or the
// geometry checks of Continue. Returns the message for the user, empty when the session is usable.
QString check(const session::Session &s);

// Writes a session into the shared parameters and qualityForms (entry flags of the focus and the
// planes follow the values present).
void apply(const session::Session &s);

// Keeps the texts of every line edit of a quality window under `key`; fills them back into the
// first window of that key built after a session was opened.
void keepForm(const QWidget *window, const QString &key);
void restoreForm(QWidget *window, const QString &key);

// True when `path` names the element file of the session opened last: its positions, carried in
// the session, are in the shared element list and need no file.
bool holdsElementsOf(const QString &path);

// "Сохранить сеанс": asks for a .kormax file and saves capture() there. A session that could not
// be opened again (check) and a failed save are reported ("Ошибка!"); an earlier file stays as it
// was.
void saveAs(QWidget *parent);

// "Открыть сеанс": asks for a .kormax file, reads and checks it and applies it. False, with the
// shared parameters untouched, when the user cancelled or the file was refused ("Ошибка!" with the
// reason).
bool openInto(QWidget *parent);

extern const char *const fileFilter; // "Сеансы Kormax (*.kormax)"
QString softwareName();              // "Kormax <version>"

} // namespace sessionstate

#endif // SESSION_STATE_H
