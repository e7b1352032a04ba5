#include "read_from_file.h"

#include <QFile>
#include <QTextStream>

namespace {
bool isTransverseName(const QString &name)
{
    const int n = name.size();
    return n >= 6 && name.at(n - 6) == QLatin1Char('X') && name.at(n - 5) == QLatin1Char('Y');
}

// One number from the stream; false from the first token that is missing or not a number on.
bool readNumber(QTextStream &in, double &value)
{
    double v = 0.0;
    in >> v;
    if (in.status() != QTextStream::Ok)
        return false;
    value = v;
    return true;
}
} // namespace

VDOUB3 read_from_file(QString name, int i_size, int j_size)
{
    const int ni = i_size > 0 ? i_size : 0;
    const int nj = j_size > 0 ? j_size : 0;
    VDOUB3 z(3, VDOUB2(ni, VDOUB(nj, 0.0)));

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return z;
    QTextStream in(&file);

    double header = 0.0;
    for (int k = 0; k < 7; ++k)
        if (!readNumber(in, header))
            return z;

    if (isTransverseName(name)) {
        // x, y, value; the vertical index runs fastest.
        for (int i = 0; i < ni; ++i)
            for (int j = 0; j < nj; ++j)
                if (!readNumber(in, z[0][i][j]) || !readNumber(in, z[1][i][j])
                    || !readNumber(in, z[2][i][j]))
                    return z;
    } else {
        // Transverse coordinate, z, value; the horizontal (z) index runs fastest.
        for (int j = 0; j < nj; ++j)
            for (int i = 0; i < ni; ++i)
                if (!readNumber(in, z[1][i][j]) || !readNumber(in, z[0][i][j])
                    || !readNumber(in, z[2][i][j]))
                    return z;
    }
    return z;
}
