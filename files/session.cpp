#include "session.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>
#include <limits>

namespace session {

namespace {

const char *const formatName = "kormax-session";
const double unset = std::numeric_limits<double>::quiet_NaN();

QJsonValue number(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

// Reads a number or null; anything else is a damaged file.
struct Reader {
    QString error;

    double number(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = o.value(key);
        if (v.isNull())
            return unset;
        if (!v.isDouble()) {
            fail(QString("нет числа \"%1\"").arg(key));
            return unset;
        }
        return v.toDouble();
    }
    QJsonObject object(const QJsonObject &o, const char *key)
    {
        if (!o.value(key).isObject())
            fail(QString("нет раздела \"%1\"").arg(key));
        return o.value(key).toObject();
    }
    void fail(const QString &what)
    {
        if (error.isEmpty())
            error = what;
    }
};

} // namespace

Session::Session() :
    aperture(unset), curvatureRadius(unset), elementRadius(unset), frequency(unset), holeRadius(unset), density(unset),
    soundSpeed(unset), absorption(unset), pressure(unset),
    intensity(unset), focus{unset, unset, unset}, transverse{unset, unset, unset, unset, unset}, axial{unset, unset,
                                                                                                       unset, unset,
                                                                                                       unset, unset}
{}

QByteArray toJson(const Session &s, const QString &software)
{
    QJsonArray positions;
    for (const std::vector<double> &e : s.elements)
        positions.append(QJsonArray{e.at(0), e.at(1)});
    QJsonObject quality;
    for (auto window = s.quality.begin(); window != s.quality.end(); ++window) {
        QJsonObject fields;
        for (auto field = window->begin(); field != window->end(); ++field)
            fields[field.key()] = field.value();
        quality[window.key()] = fields;
    }
    const QJsonObject root{{"format", formatName},
                           {"version", formatVersion},
                           {"software", software},
                           {"array", QJsonObject{{"aperture_m", number(s.aperture)},
                                                 {"curvature_radius_m", number(s.curvatureRadius)},
                                                 {"element_radius_m", number(s.elementRadius)},
                                                 {"frequency_Hz", number(s.frequency)},
                                                 {"hole_radius_m", number(s.holeRadius)}}},
                           {"medium", QJsonObject{{"preset", s.mediumPreset},
                                                  {"density_kg_m3", number(s.density)},
                                                  {"sound_speed_m_s", number(s.soundSpeed)},
                                                  {"absorption_dB_cm_MHz", number(s.absorption)}}},
                           {"source", QJsonObject{{"mode", s.intensityMode ? "intensity" : "pressure"},
                                                  {"pressure_Pa", number(s.pressure)},
                                                  {"intensity_W_m2", number(s.intensity)}}},
                           {"focus_m", QJsonArray{number(s.focus[0]), number(s.focus[1]), number(s.focus[2])}},
                           {"elements", QJsonObject{{"file", s.elementsFile}, {"positions_m", positions}}},
                           {"plane", QJsonObject{{"current", s.axialPlane ? "axial" : "transverse"},
                                                 {"transverse", QJsonObject{{"z_m", number(s.transverse.z)},
                                                                            {"points_x", number(s.transverse.pointsX)},
                                                                            {"points_y", number(s.transverse.pointsY)},
                                                                            {"step_x_m", number(s.transverse.stepX)},
                                                                            {"step_y_m", number(s.transverse.stepY)}}},
                                                 {"axial", QJsonObject{{"z_min_m", number(s.axial.zMin)},
                                                                       {"angle_deg", number(s.axial.angle)},
                                                                       {"points_z", number(s.axial.pointsZ)},
                                                                       {"points_r", number(s.axial.pointsR)},
                                                                       {"step_z_m", number(s.axial.stepZ)},
                                                                       {"step_r_m", number(s.axial.stepR)}}}}},
                           {"quality", quality}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool fromJson(const QByteArray &bytes, Session *out, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (doc.isNull() || !doc.isObject()) {
        *error = "Файл поврежден или не является файлом сеанса Kormax (" + parseError.errorString() + ").";
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != formatName) {
        *error = "Файл не является файлом сеанса Kormax.";
        return false;
    }
    const int version = root.value("version").toInt(0);
    if (version > formatVersion) {
        *error = QString("Файл сеанса записан более новой версией программы (формат %1, эта версия читает формат %2). "
                         "Обновите программу.")
                     .arg(version)
                     .arg(formatVersion);
        return false;
    }
    if (version < 1) {
        *error = "Файл сеанса поврежден: нет версии формата.";
        return false;
    }

    Session s;
    Reader r;
    const QJsonObject array = r.object(root, "array");
    s.aperture = r.number(array, "aperture_m");
    s.curvatureRadius = r.number(array, "curvature_radius_m");
    s.elementRadius = r.number(array, "element_radius_m");
    s.frequency = r.number(array, "frequency_Hz");
    s.holeRadius = r.number(array, "hole_radius_m");
    const QJsonObject medium = r.object(root, "medium");
    s.mediumPreset = medium.value("preset").toInt(0);
    s.density = r.number(medium, "density_kg_m3");
    s.soundSpeed = r.number(medium, "sound_speed_m_s");
    s.absorption = r.number(medium, "absorption_dB_cm_MHz");
    const QJsonObject source = r.object(root, "source");
    s.intensityMode = source.value("mode").toString() == "intensity";
    s.pressure = r.number(source, "pressure_Pa");
    s.intensity = r.number(source, "intensity_W_m2");
    const QJsonArray focus = root.value("focus_m").toArray();
    if (focus.size() != 3)
        r.fail("нет координат фокуса");
    for (int i = 0; i < 3 && i < focus.size(); ++i)
        s.focus[i] = focus[i].isDouble() ? focus[i].toDouble() : unset;
    const QJsonObject elements = r.object(root, "elements");
    s.elementsFile = elements.value("file").toString();
    for (const QJsonValue &row : elements.value("positions_m").toArray()) {
        const QJsonArray xy = row.toArray();
        if (xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble()) {
            r.fail("положения элементов не являются парами чисел");
            break;
        }
        s.elements.push_back({xy[0].toDouble(), xy[1].toDouble()});
    }
    const QJsonObject plane = r.object(root, "plane");
    s.axialPlane = plane.value("current").toString() == "axial";
    const QJsonObject transverse = r.object(plane, "transverse");
    s.transverse = {r.number(transverse, "z_m"), r.number(transverse, "points_x"), r.number(transverse, "points_y"),
                    r.number(transverse, "step_x_m"), r.number(transverse, "step_y_m")};
    const QJsonObject axial = r.object(plane, "axial");
    s.axial = {r.number(axial, "z_min_m"),  r.number(axial, "angle_deg"), r.number(axial, "points_z"),
               r.number(axial, "points_r"), r.number(axial, "step_z_m"),  r.number(axial, "step_r_m")};
    const QJsonObject quality = root.value("quality").toObject();
    for (auto window = quality.begin(); window != quality.end(); ++window) {
        const QJsonObject fields = window.value().toObject();
        for (auto field = fields.begin(); field != fields.end(); ++field)
            s.quality[window.key()][field.key()] = field.value().toString();
    }
    if (!r.error.isEmpty()) {
        *error = "Файл сеанса поврежден: " + r.error + ".";
        return false;
    }
    *out = s;
    return true;
}

bool save(const QString &path, const Session &s, const QString &software, QString *error)
{
    QSaveFile file(path);
    const QByteArray bytes = toJson(s, software);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = "Не удалось сохранить сеанс в файл " + path + ": " + file.errorString();
        return false;
    }
    return true;
}

bool load(const QString &path, Session *out, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "Не удалось открыть файл сеанса " + path + ": " + file.errorString();
        return false;
    }
    return fromJson(file.readAll(), out, error);
}

} // namespace session
