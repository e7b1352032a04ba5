#include "read_maximum.h"

#include <QFile>
#include <QTextStream>

double read_maximum(QString name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0.0;
    QTextStream in(&file);
    double value = 0.0;
    for (int k = 0; k < 7; ++k) {
        in >> value;
        if (in.status() != QTextStream::Ok)
            return 0.0;
    }
    return value;
}
