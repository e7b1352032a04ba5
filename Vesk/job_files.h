#ifndef JOB_FILES_H
#define JOB_FILES_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

#include "shared_params.h"

class QWidget;

// The input files of the external calculator and the launch protocol shared by every job folder
// (calc/, main_max/, side_max/). Contents are built as bytes first so tests can compare them
// exactly: labels in Windows-1251, numbers in the text stream's default notation (six significant
// digits, C locale), LF line ends, and some files end without a final line end, as the calculator
// expects.
namespace jobfiles {

// Degrees to radians with pi rounded to 3.14159265, the value every turn written into the job files
// uses (element positions, focus, plane angle), so that all of them agree with each other. The
// cosine of 90 degrees is therefore 1.7949e-11, not 0.
double degreesToRadians(double degrees);

// Folder of a job ("calc", "main_max", "side_max") in the application directory, with trailing slash.
QString folderPath(const QString &job);
// The folder of a kind of job ("field", "main_max", "side_max").
QString kindFolder(const char *kind);

// Contents of the individual files.
QByteArray arrayText(double A, float R, double r, double nu, double rotv);
// mediumName goes on line 1 (the calculator reads the numbers of lines 2-5 only).
QByteArray mediumText(double ro, double c, float C, float pvs, const QString &mediumName = QStringLiteral("Water"));
QByteArray elementsText(const VDOUB2 &rotatedElements);
QByteArray transverseFocusText(double xF, double yF, double zF);
QByteArray axialFocusText(double xF, double yF, double zF, double phipr);
// The focus (xF, yF) turned with the elements by phipr degrees, so that the axial plane becomes the
// calculator's plane x = 0: x is then the focus's distance from the plane, y its coordinate across
// the axis in the plane.
void turnFocus(double xF, double yF, double phipr, double *x, double *y);
// The eight-line grid layout: plane name ("xy" or "yz"), fixed coordinate, point counts along the
// first and second axis, first coordinates along each axis, steps.
QByteArray gridText(const QString &plane, double fixed, double n1, double n2, double first1, double first2,
                    double step1, double step2);
QByteArray transverseGridText(double zop, double Nxp, double Nyp, double rxp, double ryp, double dxp, double dyp);
QByteArray axialGridText(double zminpr, double Nrpr, double Nzpr, double rpr, double drpr, double dzpr);

// Writes bytes into path, truncating it. False when the file could not be opened or written.
bool writeFile(const QString &path, const QByteArray &bytes);

// One input file of a job: its name in the job folder and its contents.
struct JobFile {
    QString name;
    QByteArray bytes;
};

// Job files from the shared parameters.
// array.txt and medium.txt.
QList<JobFile> arrayAndMediumFiles();
// array_elements.txt and focus.txt: unrotated for the transverse plane, turned by phipr for the
// axial plane.
QList<JobFile> elementsAndFocusFiles(bool axial);
// The current calculation plane in the eight-line grid layout (grid_calc.txt of a field job,
// grid_scan.txt of a scan job).
QByteArray planeGridText(bool axial);

// Why the calculator would refuse a grid file's text (the eight-line layout), in the user's words
// for the region it describes ("Область расчета поля", "Область смещения фокуса"); empty when the
// grid is within the calculator's limits (too many points, or coordinates too far).
QString gridRefusal(const QByteArray &gridText, const QString &region);
// The same for the focus of a field job (metres).
QString focusRefusal(double xF, double yF, double zF);
// Why the calculator would refuse a quality scan for want of memory: the field region's grid text
// (grid_scan.txt), the focus-shift region's (grid_calc.txt), the number of elements and the
// machine's physical memory in bytes (0: unknown, nothing is refused). Empty when the scan fits.
QString scanMemoryRefusal(const QByteArray &fieldGrid, const QByteArray &focusGrid, int elements, double physicalBytes);

// Writes the files into the folder (with trailing slash) in order. Stops at the first file it
// cannot write, returns false and puts that file's path into failedPath.
bool writeFiles(const QString &folder, const QList<JobFile> &files, QString *failedPath);

// Removes the folder's completion marker (and an earlier run's focus_pressure.txt) and starts its
// batch file detached, with an empty argument list and the folder as working directory. False when the program could not be started.
bool launch(const QString &folder, const QString &batchFile);

// The calculator writes calcdone last; only its existence counts.
bool isDone(const QString &folder);

// One run of a job, as every calculation button makes it: refuse what the calculator would, write the files, note where the results
// will be, check the input, start the batch file and wait for the user's word that the calculator
// has finished. A file that cannot be written and a batch file that cannot be started are reported
// ("Ошибка!"); a failed check shows its text under "Ошибка!" and leaves the files just written and
// the marker of an earlier run alone.
struct Job {
    QString folder;    // with trailing slash
    QString batchFile; // started from the folder
    QList<JobFile> files;
    std::function<void()> written;  // after every file was written (may be empty)
    std::function<QString()> check; // first failing check's text, empty when the run may go on
    // What the calculator would refuse, checked before any file is written (may be empty).
    std::function<QString()> refuse;
};
// A run of a kind of job in its folder with its batch file, files still to add.
Job kindJob(const char *kind);
// True when the calculator was started and the user has closed the "Внимание!" box.
bool run(QWidget *parent, const Job &job);

// The user-facing side of a run.
void reportWriteFailure(QWidget *parent, const QString &path);
void reportStartFailure(QWidget *parent, const QString &program);
// "Внимание!" box; returns when the user says the calculator has finished.
void waitForCalculator(QWidget *parent);

extern const char *const errorTitle;
extern const char *const waitTitle;
extern const char *const waitText;

} // namespace jobfiles

#endif // JOB_FILES_H
