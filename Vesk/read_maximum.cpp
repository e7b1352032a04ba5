#include "read_maximum.h"

#include <QFile>

#include "JobProtocol.h"

double read_maximum(QString name)
{
    return kjobs::readMaximum(QFile::encodeName(name).toStdString());
}
