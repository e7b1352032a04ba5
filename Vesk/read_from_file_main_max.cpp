#include "read_from_file_main_max.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "JobProtocol.h"

VDOUB3 read_from_file_main_max(QString name, int i_size, int j_size, bool is_prod)
{
    return kjobs::readScanResult(QFile::encodeName(name).toStdString(), i_size, j_size, is_prod);
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
    const qint64 needed = kjobs::scanResultSize(i_size, j_size);
    if (size != needed)
        return "Файл результата оценки качества поля " + shown + (size < needed ? " короче" : " длиннее")
               + ", чем нужно для области смещения фокуса последнего расчета (" + QString::number(size)
               + " байт вместо " + QString::number(needed) + ")" + again;
    return QString();
}
