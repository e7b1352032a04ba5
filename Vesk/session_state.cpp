#include "session_state.h"

#include <QFileInfo>
#include <QSet>
#include <QLineEdit>
#include <QWidget>
#include <cmath>

#include "main_params.h"
#include "platform.h"
#include "shared_params.h"

#ifndef KORMAX_VERSION
#define KORMAX_VERSION "unknown"
#endif

namespace sessionstate {

QMap<QString, QMap<QString, QString>> qualityForms;
namespace {
QSet<QString> pendingForms; // opened, not yet filled into a window
QString sessionElementsPath;
} // namespace
const char *const fileFilter = "Сеансы Kormax (*.kormax)";

QString softwareName()
{
    return QString("Kormax " KORMAX_VERSION);
}

namespace {
// A value whose entry flag is not set is written as never entered.
double entered(double v, bool set)
{
    return set ? v : std::nan("");
}
// A number present in the session sets the value and its entry flag.
void restore(double from, double &to, bool &set)
{
    set = std::isfinite(from);
    to = set ? from : 0.0;
}
} // namespace

session::Session capture()
{
    using namespace shared;
    session::Session s;
    s.aperture = A;
    s.curvatureRadius = double(R);
    s.elementRadius = r;
    s.frequency = nu;
    s.holeRadius = rotv;
    s.mediumPreset = medium;
    s.density = ro;
    s.soundSpeed = c;
    s.absorption = double(pvs);
    s.pressure = initpres;
    s.intensity = initintens;
    s.focus[0] = entered(xF, xF_is_set);
    s.focus[1] = entered(yF, yF_is_set);
    s.focus[2] = entered(zF, zF_is_set);
    s.elementsFile = name;
    s.elements = Elem;
    s.axialPlane = is_prodol;
    s.transverse = {entered(zop, zop_is_set), entered(Nxp, Nxp_is_set), entered(Nyp, Nyp_is_set),
                    entered(dxp, dxp_is_set), entered(dyp, dyp_is_set)};
    s.axial = {entered(zminpr, zminpr_is_set), entered(phipr, phipr_is_set), entered(Nzpr, Nzpr_is_set),
               entered(Nrpr, Nrpr_is_set),     entered(dzpr, dzpr_is_set),   entered(drpr, drpr_is_set)};
    s.quality = qualityForms;
    return s;
}

QString check(const session::Session &s)
{
    if (s.elements.empty())
        return mainparams::badElementsText;
    for (double v : {s.aperture, s.curvatureRadius, s.elementRadius, s.frequency, s.holeRadius, s.density, s.soundSpeed,
                     s.pressure})
        if (!std::isfinite(v))
            return "Файл сеанса не содержит всех параметров решетки, среды и источника.";
    for (const std::vector<double> &e : s.elements)
        if (e.size() != 2 || !std::isfinite(e[0]) || !std::isfinite(e[1]))
            return mainparams::badElementsText;
    return mainparams::geometryError(s.aperture, float(s.curvatureRadius), s.elementRadius, s.holeRadius);
}

void apply(const session::Session &s)
{
    using namespace shared;
    A = s.aperture;
    R = float(s.curvatureRadius);
    r = s.elementRadius;
    nu = s.frequency;
    rotv = s.holeRadius;
    medium = s.mediumPreset;
    ro = s.density;
    c = s.soundSpeed;
    pvs = float(std::isfinite(s.absorption) ? s.absorption : 0.0);
    initpres = s.pressure;
    initintens = std::isfinite(s.intensity) ? s.intensity : 0.0;
    restore(s.focus[0], xF, xF_is_set);
    restore(s.focus[1], yF, yF_is_set);
    restore(s.focus[2], zF, zF_is_set);
    name = s.elementsFile;
    Elem = s.elements;
    restore(s.transverse.z, zop, zop_is_set);
    restore(s.transverse.pointsX, Nxp, Nxp_is_set);
    restore(s.transverse.pointsY, Nyp, Nyp_is_set);
    restore(s.transverse.stepX, dxp, dxp_is_set);
    restore(s.transverse.stepY, dyp, dyp_is_set);
    restore(s.axial.zMin, zminpr, zminpr_is_set);
    restore(s.axial.angle, phipr, phipr_is_set);
    restore(s.axial.pointsZ, Nzpr, Nzpr_is_set);
    restore(s.axial.pointsR, Nrpr, Nrpr_is_set);
    restore(s.axial.stepZ, dzpr, dzpr_is_set);
    restore(s.axial.stepR, drpr, drpr_is_set);
    // The derived half-widths and ends, as the plane window derives them.
    rxp = (Nxp - 1) * dxp;
    ryp = (Nyp - 1) * dyp;
    rpr = (Nrpr - 1) * drpr;
    zmaxpr = zminpr + (Nzpr - 1) * dzpr;
    is_prodol = s.axialPlane;
    is_poper = !s.axialPlane;
    qualityForms = s.quality;
    pendingForms = QSet<QString>(s.quality.keyBegin(), s.quality.keyEnd());
    sessionElementsPath = s.elementsFile;
}

bool holdsElementsOf(const QString &path)
{
    return !sessionElementsPath.isNull() && path == sessionElementsPath;
}

void keepForm(const QWidget *window, const QString &key)
{
    QMap<QString, QString> &fields = qualityForms[key];
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        if (!edit->objectName().isEmpty() && !edit->isReadOnly())
            fields[edit->objectName()] = edit->text();
}

void restoreForm(QWidget *window, const QString &key)
{
    const auto fields = qualityForms.constFind(key);
    if (!pendingForms.remove(key) || fields == qualityForms.constEnd())
        return;
    for (QLineEdit *edit : window->findChildren<QLineEdit *>())
        if (fields->contains(edit->objectName()) && !edit->isReadOnly())
            edit->setText(fields->value(edit->objectName()));
}

void saveAs(QWidget *parent)
{
    const session::Session s = capture();
    QString error = check(s);
    if (!error.isEmpty()) {
        platform::information(parent, mainparams::errorTitle, "Сеанс не сохранен. " + error);
        return;
    }
    QString path = platform::getSaveFileName(parent, "Сохранить сеанс", "session.kormax", fileFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".kormax";
    if (!session::save(path, s, softwareName(), &error))
        platform::information(parent, mainparams::errorTitle, error + " Выберите другое место для файла.");
}

bool openInto(QWidget *parent)
{
    const QString path = platform::getOpenFileName(parent, "Открыть сеанс", QString(), fileFilter);
    if (path.isEmpty())
        return false;
    session::Session s;
    QString error;
    if (!session::load(path, &s, &error)) {
        platform::information(parent, mainparams::errorTitle, error);
        return false;
    }
    const QString refused = check(s);
    if (!refused.isEmpty()) {
        platform::information(parent, mainparams::errorTitle, "Сеанс не открыт. " + refused);
        return false;
    }
    apply(s);
    return true;
}

} // namespace sessionstate
