#include "job_files.h"

#include <QFile>
#include <cmath>

#include <omp.h>

#include "JobLimits.h"
#include "JobProtocol.h"
#include "media.h"
#include "platform.h"
#include "rotate.h"

namespace jobfiles {

const char *const errorTitle = "Ошибка!";
const char *const waitTitle = "Внимание!";
const char *const waitText = "Нажимте ОК по окончании работы программы расчета";

namespace {

QByteArray bytes(const std::string &text)
{
    return QByteArray(text.data(), int(text.size()));
}

// The numbers of a grid text's lines 2-8 (fixed coordinate, counts, first coordinates, steps) at
// v[1..7], as gridText writes them; false when the text is shorter than eight lines.
bool gridNumbers(const QByteArray &gridText, double v[8], bool *transverse)
{
    const QList<QByteArray> lines = gridText.split('\n');
    if (lines.size() < 8)
        return false;
    for (int k = 1; k < 8; ++k)
        v[k] = lines[k].trimmed().toDouble();
    *transverse = lines[0].trimmed() == "xy";
    return true;
}

QString countNames(bool transverse)
{
    return transverse ? "N_x, N_y" : "N_z, N_r";
}

QString mebibytes(double bytes)
{
    return QString::number(std::round(bytes / 1048576), 'f', 0);
}

} // namespace

double degreesToRadians(double degrees)
{
    return degrees / 180 * 3.14159265;
}

QString folderPath(const QString &job)
{
    return platform::appDir() + "/" + job + "/";
}

QString kindFolder(const char *kind)
{
    return folderPath(QString::fromStdString(kjobs::jobFolder(kind)));
}

Job kindJob(const char *kind)
{
    Job job;
    job.folder = kindFolder(kind);
    job.batchFile = kjobs::findJobKind(kind)->batchFile;
    return job;
}

QByteArray arrayText(double A, float R, double r, double nu, double rotv)
{
    kjobs::ArrayGeometry array;
    array.aperture = A;
    array.curvatureRadius = double(R);
    array.elementRadius = r;
    array.frequency = nu;
    array.holeRadius = rotv;
    return bytes(kjobs::arrayText(array));
}

QByteArray mediumText(double ro, double c, float C, float pvs, const QString &mediumName)
{
    kjobs::Medium medium;
    medium.name = mediumName.toStdString();
    medium.density = ro;
    medium.soundSpeed = c;
    medium.heatCapacity = double(C);
    medium.absorption_dB_cm_MHz = double(pvs);
    return bytes(kjobs::mediumText(medium));
}

QByteArray elementsText(const VDOUB2 &rotatedElements)
{
    std::vector<kjobs::ElementPosition> elements;
    for (const VDOUB &row : rotatedElements) {
        if (row.size() >= 2) // the loader only makes pairs; never read past a short row
            elements.push_back({row[0], row[1]});
    }
    return bytes(kjobs::elementsText(elements));
}

QByteArray transverseFocusText(double xF, double yF, double zF)
{
    return bytes(kjobs::focusText({xF, yF, zF}));
}

void turnFocus(double xF, double yF, double phipr, double *x, double *y)
{
    const double phi = degreesToRadians(phipr);
    // The sine of the negated angle, written out with the same rounded pi as degreesToRadians: it
    // equals -sin(phi) to the last bit, and the files stay as the calculator has always been given.
    *x = xF * std::cos(phi) + yF * std::sin(phipr / 180 * (-3.14159265));
    *y = xF * std::sin(phi) + yF * std::cos(phi);
}

QByteArray axialFocusText(double xF, double yF, double zF, double phipr)
{
    double x = 0, y = 0;
    turnFocus(xF, yF, phipr, &x, &y);
    return bytes(kjobs::focusText({x, y, zF}));
}

QByteArray gridText(const QString &plane, double fixed, double n1, double n2, double first1, double first2,
                    double step1, double step2)
{
    const kjobs::PlaneKind kind = plane == "yz" ? kjobs::PlaneKind::Axial : kjobs::PlaneKind::Transverse;
    return bytes(kjobs::gridText(kind, fixed, n1, n2, first1, first2, step1, step2));
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
    return {{kjobs::names::array, arrayText(A, R, r, nu, rotv)},
            {kjobs::names::medium, mediumText(ro, c, media::heatCapacity(), pvs, mediumName)}};
}

QList<JobFile> elementsAndFocusFiles(bool axial)
{
    using namespace shared;
    const double dPhi = axial ? degreesToRadians(phipr) : 0.0;
    const QByteArray focus = axial ? axialFocusText(xF, yF, zF, phipr) : transverseFocusText(xF, yF, zF);
    return {{kjobs::names::elements, elementsText(rotateEl(Elem, dPhi))}, {kjobs::names::focus, focus}};
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

QString gridRefusal(const QByteArray &gridText, const QString &region)
{
    using kjobs::kMaxGridPoints;
    using kjobs::kMaxLength;
    double v[8] = {};
    bool transverse = false;
    if (!gridNumbers(gridText, v, &transverse))
        return QString();
    const double n1 = v[2], n2 = v[3];
    const QString counts = countNames(transverse);
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
        if (!(std::abs(x) <= kjobs::kMaxLength))
            return "Фокус лежит дальше " + QString::number(kjobs::kMaxLength * 100, 'f', 0)
                   + " см от решетки. Уменьшите координаты фокуса.";
    return QString();
}

QString scanMemoryRefusal(const QByteArray &fieldGrid, const QByteArray &focusGrid, int elements, double physicalBytes)
{
    double field[8] = {}, focus[8] = {};
    bool transverse = false;
    if (!gridNumbers(fieldGrid, field, &transverse) || !gridNumbers(focusGrid, focus, &transverse))
        return QString();
    const double points = field[2] * field[3], positions = focus[2] * focus[3];
    // The calculator runs as many OpenMP threads as this process would: it inherits the environment.
    const double need = kjobs::scanMemoryBytes(std::size_t(points), std::size_t(positions), std::size_t(elements),
                                               omp_get_max_threads());
    if (kjobs::fitsInMemory(need, physicalBytes))
        return QString();
    auto region = [](const double *v) {
        return QString::number(v[2] * v[3], 'f', 0) + " точек (" + QString::number(v[2], 'f', 0) + " × "
               + QString::number(v[3], 'f', 0) + ")";
    };
    return "Оценке качества не хватит памяти: для области расчета поля в " + region(field)
           + ", области смещения фокуса в " + region(focus) + " и " + QString::number(elements)
           + " элементов программе расчета нужно около " + mebibytes(need) + " МиБ, а доступно "
           + mebibytes(kjobs::kMemoryShare * physicalBytes) + " МиБ (" + QString::number(kjobs::kMemoryShare * 100)
           + " % памяти компьютера). Уменьшите число точек " + countNames(transverse)
           + " области расчета поля или области смещения фокуса.";
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
    QFile::remove(folder + kjobs::names::done);
    // A field job's |p(F)| of an earlier run must not be taken for this run's.
    QFile::remove(folder + kjobs::names::focusPressure);
    return platform::startDetached(folder + batchFile, QStringList(), folder);
}

bool isDone(const QString &folder)
{
    QFile marker(folder + kjobs::names::done);
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
