#ifndef SESSION_H
#define SESSION_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <vector>

// A session file (.kormax): every value a user enters, so that work can be closed and taken up
// again, run without the application (kormax-calc session.kormax field|main_max|side_max) or read
// from scripts. JSON, keys sorted, numbers written to read back exactly:
//
//   "format": "kormax-session", "version": 1, "software": "Kormax <version>"
//   "array":   aperture_m, curvature_radius_m, element_radius_m, frequency_Hz, hole_radius_m
//   "medium":  preset (index of the main window's list, 0 water), density_kg_m3, sound_speed_m_s,
//              absorption_dB_cm_MHz
//   "source":  mode ("pressure" or "intensity"), pressure_Pa, intensity_W_m2
//   "focus_m": [x, y, z]
//   "elements": file (the path it was read from), positions_m ([[x, y], ...], y flipped as the
//              calculator takes it)
//   "plane":   current ("transverse" or "axial"),
//              transverse: z_m, points_x, points_y, step_x_m, step_y_m (points from the centre to
//              the edge inclusive), axial: z_min_m, angle_deg, points_z, points_r, step_z_m, step_r_m
//   "quality": one object per quality window ("axial", "transverse"): the texts of its fields by
//              field name, as typed (regions in cm, counts, contour levels)
//
// A value never entered is null (NaN in memory). Newer versions than formatVersion are refused.
namespace session {

constexpr int formatVersion = 1;

struct TransversePlane {
    double z, pointsX, pointsY, stepX, stepY;
};
struct AxialPlane {
    double zMin, angle, pointsZ, pointsR, stepZ, stepR;
};

struct Session {
    double aperture, curvatureRadius, elementRadius, frequency, holeRadius;
    int mediumPreset = 0;
    double density, soundSpeed, absorption;
    bool intensityMode = false;
    double pressure, intensity;
    double focus[3];
    QString elementsFile;
    std::vector<std::vector<double>> elements; // rows x, y in m
    bool axialPlane = false;                   // the axial plane is the current one
    TransversePlane transverse;
    AxialPlane axial;
    QMap<QString, QMap<QString, QString>> quality; // window -> field name -> text

    Session(); // every number NaN, nothing entered
};

// The file's bytes.
QByteArray toJson(const Session &s, const QString &software);

// Reads a session from the bytes of a file. False with `error` set (a sentence for the user) when
// the bytes are no JSON, not a session, of a newer format version or incomplete; `out` is then
// untouched.
bool fromJson(const QByteArray &bytes, Session *out, QString *error);

// Writes the file through a temporary file renamed into place: a failed save leaves an earlier
// file as it was. False with `error` set.
bool save(const QString &path, const Session &s, const QString &software, QString *error);

// Reads the file (fromJson). False with `error` set; `out` is then untouched.
bool load(const QString &path, Session *out, QString *error);

} // namespace session

#endif // SESSION_H
