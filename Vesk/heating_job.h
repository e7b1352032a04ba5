#ifndef HEATING_JOB_H
#define HEATING_JOB_H

#include <QList>
#include <QString>
#include <vector>

#include "JobProtocol.h"
#include "job_files.h"
#include "shared_params.h"

// The heating job of the heating window: its files in heat/ (written and read by the job files'
// library, JobProtocol.h), the launch and the reading of the results.
namespace heatingjob {

// What a heating window was opened for: the plane of its field result and the run's focus
// (metres, degrees; the focus in the frame of the main window).
struct Plane {
    bool axial = false;
    double zop = 0;   // z of a transverse plane
    double phipr = 0; // angle of an axial plane
    double xF = 0, yF = 0, zF = 0;
};

// The sonication as the window's fields give it (SI units).
struct Sonication {
    bool byPower = false;                    // acoustic power instead of the main window's pressure
    double power = 0;                        // W
    double heatingTime = 0, coolingTime = 0; // s
    double threshold = 240;                  // CEM43 minutes
};

// Dose step of every run, s.
const double doseStep = 0.1;

// The pressure on the elements of a sonication: the main window's, or the one radiating the power.
double sourcePressure(const Sonication &s);

// The focus in the calculator's frame (turned by the plane's angle for an axial plane) and the box
// around it.
kjobs::Point3 jobFocus(const Plane &plane);
kjobs::VolumeGrid box(const Plane &plane);

// First problem with the input (empty or zero times, zero power, a medium without absorption),
// as the text of an "Ошибка!" box; empty when the job may run.
QString check(const Sonication &s);

// Every input file of the job.
QList<jobfiles::JobFile> files(const Plane &plane, const Sonication &s);

QString folder(); // heat/ in the application directory, with trailing slash

// The results of a finished run, read from the folder.
struct Results {
    VDOUB3 temperature, dose; // peak temperature (degC) and dose (CEM43 min) in the map's plane,
                              // [plane][i][j] as read_from_file gives them, coordinates in cm
    std::vector<double> times, focusTemperature;
    kjobs::HeatingSummary summary;
};
// False with a text for the user when a result file is missing or unreadable.
bool readResults(const Plane &plane, Results *results, QString *error);

// The readings as plain text lines (temperatures in degC, lengths in mm, positions in cm, in the
// frame of the map: x, y, z for a transverse plane, z and r for an axial one).
QString readingsText(const kjobs::HeatingSummary &s, bool axial);
// The tissue a job of the shared parameters heats, with the thermal properties it is given (one line):
// "Среда: печень; теплоемкость 3540 Дж/(кг·К), теплопроводность 0.52 Вт/(м·К), перфузия 18.55 кг/(м³·с)".
QString tissueText();

} // namespace heatingjob

#endif // HEATING_JOB_H
