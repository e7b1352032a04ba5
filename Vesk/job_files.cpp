#include "job_files.h"

#include <QFile>
#include <QTextCodec>
#include <QTextStream>
#include <cmath>

#include "media.h"
#include "params/GridLimits.h"
#include "platform.h"
#include "rotate.h"

namespace jobfiles {

const char *const errorTitle = "Ошибка!";
const char *const waitTitle = "Внимание!";
const char *const waitText = "Нажимте ОК по окончании работы программы расчета";

namespace {

// A text stream over a byte buffer with the job files' encoding; number formatting is the stream's
// default (smart notation, precision 6, C locale).
class JobText
{
public:
    JobText() : m_stream(&m_bytes, QIODevice::WriteOnly)
    {
        m_stream.setCodec(QTextCodec::codecForName("Windows-1251"));
    }
    QTextStream &stream() { return m_stream; }
    QByteArray bytes()
    {
        m_stream.flush();
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    QTextStream m_stream;
};

} // namespace

double degreesToRadians(double degrees)
{
    return degrees / 180 * 3.14159265;
}

QString folderPath(const QString &job)
{
    return platform::appDir() + "/" + job + "/";
}

QByteArray arrayText(double A, float R, double r, double nu, double rotv)
{
    JobText t;
    QTextStream &s = t.stream();
    // The array's name is the example array's for every array the calculator is given.
    s << QString("Название решетки:    Quist-Marvane") << "\n";
    s << QString("Апертура решетки, м:") << "     " << A << "\n";
    s << QString("Радиус кривизны решетки, м:") << "     " << double(R) << "\n";
    s << QString("Радиус элементов решетки, м:") << "     " << r << "\n";
    s << QString("Рабочая частота решетки, Гц:") << "    " << nu << "\n";
    s << QString("Радиус отверстия, м:") << "     " << rotv;
    return t.bytes();
}

QByteArray mediumText(double ro, double c, float C, float pvs, const QString &mediumName)
{
    JobText t;
    QTextStream &s = t.stream();
    s << QString("Название среды:\t\t\t") << mediumName << "\n";
    s << QString("Плотность, кг/м3:") << "\t\t" << ro << "\n";
    s << QString("Скорость звука в среде, м/с:") << "\t" << c << "\n";
    s << QString("Теплоемкость, Дж/кг/К:") << "\t\t" << double(C) << "\n";
    s << QString("Поглощение в среде, дБ/см/МГц:") << "\t" << double(pvs);
    return t.bytes();
}

QByteArray elementsText(const VDOUB2 &rotatedElements)
{
    JobText t;
    QTextStream &s = t.stream();
    for (const VDOUB &row : rotatedElements) {
        if (row.size() >= 2) // the loader only makes pairs; never read past a short row
            s << row[0] << " " << row[1] << "\n";
    }
    return t.bytes();
}

QByteArray transverseFocusText(double xF, double yF, double zF)
{
    JobText t;
    t.stream() << xF << "\n" << yF << "\n" << zF;
    return t.bytes();
}

void turnFocus(double xF, double yF, double phipr, double *x, double *y)
{
    const double phi = degreesToRadians(phipr);
    *x = xF * std::cos(phi) + yF * std::sin(phipr / 180 * (-3.14159265));
    *y = xF * std::sin(phi) + yF * std::cos(phi);
}

QByteArray axialFocusText(double xF, double yF, double zF, double phipr)
{
    double x = 0, y = 0;
    turnFocus(xF, yF, phipr, &x, &y);
    JobText t;
    t.stream() << x << "\n" << y << "\n" << zF;
    return t.bytes();
}

QByteArray gridText(const QString &plane, double fixed, double n1, double n2, double first1, double first2,
                    double step1, double step2)
{
    JobText t;
    t.stream() << plane << "\n"
               << fixed << "\n"
               << n1 << "\n"
               << n2 << "\n"
               << first1 << "\n"
               << first2 << "\n"
               << step1 << "\n"
               << step2;
    return t.bytes();
}

QByteArray transverseGridText(double zop, double Nxp, double Nyp, double rxp, double ryp, double dxp, double dyp)
{
    return gridText("xy", zop, 2 * Nxp - 1, 2 * Nyp - 1, -rxp, -ryp, dxp, dyp);
}

QByteArray axialGridText(double zminpr, double Nrpr, double Nzpr, double rpr, double drpr, double dzpr)
{
    // After the rotation of the array the axial plane is the calculator's plane x = 0.
    return gridText("yz", 0, 2 * Nrpr - 1, Nzpr, -rpr, zminpr, drpr, dzpr);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const bool written = f.write(bytes) == bytes.size();
    f.close();
    return written && f.error() == QFileDevice::NoError;
}

QList<JobFile> arrayAndMediumFiles()
{
    using namespace shared;
    const QString mediumName = QString::fromUtf8(media::preset(medium).fileName);
    return {{"array.txt", arrayText(A, R, r, nu, rotv)}, {"medium.txt", mediumText(ro, c, C, pvs, mediumName)}};
}

QList<JobFile> elementsAndFocusFiles(bool axial)
{
    using namespace shared;
    const double dPhi = axial ? degreesToRadians(phipr) : 0.0;
    const QByteArray focus = axial ? axialFocusText(xF, yF, zF, phipr) : transverseFocusText(xF, yF, zF);
    return {{"array_elements.txt", elementsText(rotateEl(Elem, dPhi))}, {"focus.txt", focus}};
}

QByteArray planeGridText(bool axial)
{
    using namespace shared;
    return axial ? axialGridText(zminpr, Nrpr, Nzpr, rpr, drpr, dzpr)
                 : transverseGridText(zop, Nxp, Nyp, rxp, ryp, dxp, dyp);
}

bool writeFiles(const QString &folder, const QList<JobFile> &files, QString *failedPath)
{
    for (const JobFile &f : files) {
        if (!writeFile(folder + f.name, f.bytes)) {
            if (failedPath)
                *failedPath = folder + f.name;
            return false;
        }
    }
    return true;
}

bool writeArrayAndMedium(const QString &folder, QString *failedPath)
{
    return writeFiles(folder, arrayAndMediumFiles(), failedPath);
}

bool writeElementsAndFocus(const QString &folder, bool axial, QString *failedPath)
{
    return writeFiles(folder, elementsAndFocusFiles(axial), failedPath);
}

bool writePlaneGrid(const QString &path, bool axial)
{
    return writeFile(path, planeGridText(axial));
}

QString gridRefusal(const QByteArray &gridText, const QString &region)
{
    using kcalc::kMaxGridPoints;
    using kcalc::kMaxLength;
    // plane, fixed coordinate, counts, first coordinates, steps: as gridText writes them.
    const QList<QByteArray> lines = gridText.split('\n');
    if (lines.size() < 8)
        return QString();
    double v[8] = {};
    for (int k = 1; k < 8; ++k)
        v[k] = lines[k].trimmed().toDouble();
    const double n1 = v[2], n2 = v[3];
    const bool transverse = lines[0].trimmed() == "xy";
    const QString counts = transverse ? "N_x, N_y" : "N_z, N_r";
    if (n1 * n2 > kMaxGridPoints)
        return region + " слишком велика: " + QString::number(n1, 'f', 0) + " × " + QString::number(n2, 'f', 0)
               + " точек, а программа расчета принимает не более " + QString::number(kMaxGridPoints, 'f', 0)
               + ". Уменьшите число точек " + counts + ".";
    const double reach[] = {v[1], v[4], v[5], v[4] + (n1 - 1) * v[6], v[5] + (n2 - 1) * v[7], v[6], v[7]};
    for (double x : reach)
        if (!(std::abs(x) <= kMaxLength))
            return region + " уходит дальше " + QString::number(kMaxLength * 100, 'f', 0)
                   + " см от решетки. Уменьшите расстояние до плоскости, шаги или число точек " + counts + ".";
    return QString();
}

QString focusRefusal(double xF, double yF, double zF)
{
    for (double x : {xF, yF, zF})
        if (!(std::abs(x) <= kcalc::kMaxLength))
            return "Фокус лежит дальше " + QString::number(kcalc::kMaxLength * 100, 'f', 0)
                   + " см от решетки. Уменьшите координаты фокуса.";
    return QString();
}

bool run(QWidget *parent, const Job &job)
{
    const QString refusal = job.refuse ? job.refuse() : QString();
    if (!refusal.isEmpty()) {
        platform::information(parent, errorTitle, refusal);
        return false;
    }

    QString failedPath;
    if (!writeFiles(job.folder, job.files, &failedPath)) {
        reportWriteFailure(parent, failedPath);
        return false;
    }
    if (job.written)
        job.written();

    const QString problem = job.check ? job.check() : QString();
    if (!problem.isEmpty()) {
        platform::information(parent, errorTitle, problem);
        return false;
    }

    if (!launch(job.folder, job.batchFile)) {
        reportStartFailure(parent, job.folder + job.batchFile);
        return false;
    }
    waitForCalculator(parent);
    return true;
}

bool launch(const QString &folder, const QString &batchFile)
{
    QFile::remove(folder + "calcdone");
    // A field job's |p(F)| of an earlier run must not be taken for this run's.
    QFile::remove(folder + "focus_pressure.txt");
    return platform::startDetached(folder + batchFile, QStringList(), folder);
}

bool isDone(const QString &folder)
{
    QFile marker(folder + "calcdone");
    return marker.open(QIODevice::ReadOnly | QIODevice::Text);
}

void reportWriteFailure(QWidget *parent, const QString &path)
{
    platform::information(parent, errorTitle, QString("Не удалось записать файл задания: ") + path);
}

void reportStartFailure(QWidget *parent, const QString &program)
{
    platform::information(parent, errorTitle, QString("Не удалось запустить программу расчета: ") + program);
}

void waitForCalculator(QWidget *parent)
{
    platform::information(parent, waitTitle, waitText);
}

} // namespace jobfiles
