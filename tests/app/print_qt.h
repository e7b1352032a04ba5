#ifndef PRINT_QT_H
#define PRINT_QT_H

#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>

// Readable failure messages for the Qt values the application tests compare.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
inline void PrintTo(const QSize &s, std::ostream *os)
{
    *os << "QSize(" << s.width() << " x " << s.height() << ")";
}

#endif // PRINT_QT_H
