#include "read_from_file.h"

#include <cmath>

#include <QFile>

#include "JobProtocol.h"

VDOUB3 read_from_file(QString name, int i_size, int j_size)
{
    return kjobs::readFieldResult(QFile::encodeName(name).toStdString(), i_size, j_size);
}

namespace {
// Points of an axis with the header's first coordinate, step and last coordinate (0 when the
// numbers cannot describe an axis). An axis of one point may carry any step, zero included.
long long headerCount(double first, double step, double last)
{
    if (std::isfinite(first) && first == last)
        return 1;
    const double n = (last - first) / step;
    return std::isfinite(n) && step > 0 && n >= 0 && n < 1e9 ? std::llround(n) + 1 : 0;
}

// The header describes the run's axis: as many points, and a start and step that stay within a
// fraction of a step of the run's. The header's digits are the writer's choice, so only a plainly
// different axis (another count, a start shifted by a step or more) is refused.
bool sameAxis(const double *header, double first, double step, int count)
{
    if (headerCount(header[0], header[1], header[2]) != count)
        return false;
    if (count == 1)
        return std::fabs(header[0] - first) <= 1e-6 + 1e-3 * std::fabs(first);
    return std::fabs(header[0] - first) <= 0.5 * step && std::fabs(header[1] - step) <= 0.01 * step;
}
} // namespace

QString fieldResultMismatch(const QString &name, const Grid &grid)
{
    const std::string path = QFile::encodeName(name).toStdString();
    if (!QFile(name).open(QIODevice::ReadOnly | QIODevice::Text))
        return QString("Не удалось открыть файл результата ") + name;
    double header[7];
    if (!kjobs::readFieldResultHeader(path, header))
        return QString("Файл результата ") + name + " поврежден: нет заголовка сетки. Повторите расчет.";
    // Transverse: x, then y; axial: the transverse coordinate (the grid's vertical axis), then z.
    const bool transverse = kjobs::layoutOfName(path) == kjobs::PlaneKind::Transverse;
    const double *horizontal = transverse ? header : header + 3;
    const double *vertical = transverse ? header + 3 : header;
    if (sameAxis(horizontal, grid.Xmin, grid.dX, grid.Nx) && sameAxis(vertical, grid.Ymin, grid.dY, grid.Ny))
        return QString();
    return QString("Результат расчета в файле %1 относится к другой плоскости (%2). "
                   "Повторите расчет и дождитесь его окончания.")
        .arg(name, gridSizeText(headerCount(horizontal[0], horizontal[1], horizontal[2]),
                                headerCount(vertical[0], vertical[1], vertical[2]), grid.Nx, grid.Ny));
}

QString gridSizeText(long long fileNx, long long fileNy, int nx, int ny)
{
    return QString("%1 x %2 точек вместо %3 x %4 заданных").arg(fileNx).arg(fileNy).arg(nx).arg(ny);
}
