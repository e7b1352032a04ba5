#include "read_from_file_main_max.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

VDOUB3 read_from_file_main_max(QString name, int i_size, int j_size, bool is_prod)
{
    const int ni = i_size > 0 ? i_size : 0;
    const int nj = j_size > 0 ? j_size : 0;
    VDOUB3 z(3, VDOUB2(ni, VDOUB(nj, 0.0)));

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return z;
    const QByteArray bytes = file.readAll();
    const long long available = bytes.size() / static_cast<long long>(sizeof(double));
    auto value = [&bytes](long long index) {
        double v;
        std::memcpy(&v, bytes.constData() + index * sizeof(double), sizeof(double));
        return v;
    };

    const long long count = static_cast<long long>(ni) * nj;
    int i = 0, j = 0;
    for (long long k = 0; k < count && 4 + 3 * k < available; ++k) {
        const double first = value(2 + 3 * k);
        const double second = value(3 + 3 * k);
        const double quality = value(4 + 3 * k);
        if (is_prod) {
            z[1][i][j] = first;
            z[0][i][j] = second;
            z[2][i][j] = quality;
            if (++i == ni) {
                i = 0;
                ++j;
            }
        } else {
            z[0][i][j] = first;
            z[1][i][j] = second;
            z[2][i][j] = quality;
            if (++j == nj) {
                j = 0;
                ++i;
            }
        }
    }
    return z;
}

QString scanResultMismatch(const QString &name, int i_size, int j_size)
{
    const QString shown = QDir::toNativeSeparators(name);
    const QString again = ". Повторите оценку.";
    if (!QFileInfo(name).isFile())
        return "Не найден файл результата оценки качества поля: " + shown + again;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return "Не удалось открыть файл результата оценки качества поля: " + shown + again;

    // The two leading values are the calculator's own and never read: the length alone tells a
    // result of another region from the last run's.
    const qint64 size = file.size();
    const qint64 needed = (3 * qint64(i_size) * j_size + 2) * qint64(sizeof(double));
    if (size != needed)
        return "Файл результата оценки качества поля " + shown + (size < needed ? " короче" : " длиннее")
               + ", чем нужно для области смещения фокуса последнего расчета (" + QString::number(size)
               + " байт вместо " + QString::number(needed) + ")" + again;
    return QString();
}
