#include "write_z.h"

#include <QFile>
#include <QTextStream>
#include <cmath>

namespace {
QString fixed6(double value)
{
    return QString::number(value, 'f', 6);
}
} // namespace

bool write_z(QString name, const VDOUB3 &z, QString ax)
{
    Q_UNUSED(ax);
    // Steps are taken from point (1, 1): a smaller array has no grid to describe.
    if (z.size() < 3 || z[0].size() < 2 || z[0][0].size() < 2)
        return false;

    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out.setRealNumberPrecision(6);

    const size_t I = z[0].size() - 1;
    const size_t J = z[0][0].size() - 1;
    out << QStringLiteral("Минимальное значение абциссы: ") << fixed6(z[0][0][0]) << Qt::endl;
    out << QStringLiteral("Шаг абциссы: ") << fixed6(std::abs(z[0][0][0] - z[0][1][1])) << Qt::endl;
    out << QStringLiteral("Максимальное значение абциссы: ") << fixed6(z[0][I][J]) << Qt::endl;
    out << QStringLiteral("Минимальное значение ординаты: ") << fixed6(z[1][0][0]) << Qt::endl;
    out << QStringLiteral("Шаг ординаты: ") << fixed6(std::abs(z[1][0][0] - z[1][1][1])) << Qt::endl;
    out << QStringLiteral("Максимальное значение ординаты: ") << fixed6(z[1][I][J]) << Qt::endl;
    out << QStringLiteral("Далее следует поточечное представление данных в виде") << Qt::endl;
    out << QStringLiteral("\"абцисса\", \"ордината\", \"значение на спектрограмме\": ") << Qt::endl;

    for (size_t i = 0; i <= I; ++i)
        for (size_t j = 0; j <= J; ++j)
            out << fixed6(z[0][i][j]) << "    " << fixed6(z[1][i][j]) << "    " << fixed6(z[2][i][j]) << Qt::endl;

    out.flush();
    const bool ok = out.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}
