#include "session_jobs.h"

#include "field_job.h"
#include "scan_jobs.h"
#include "session_state.h"
#include "shared_params.h"

namespace sessionjobs {

bool jobFiles(const session::Session &s, const QString &kind, QList<jobfiles::JobFile> *files, QString *error)
{
    *error = sessionstate::check(s);
    if (!error->isEmpty())
        return false;
    sessionstate::apply(s);
    using namespace shared;

    if (kind == "field") {
        const bool axial = s.axialPlane;
        const bool complete =
            axial ? zminpr_is_set && phipr_is_set && Nrpr_is_set && Nzpr_is_set && drpr_is_set && dzpr_is_set
                  : zop_is_set && Nxp_is_set && Nyp_is_set && dxp_is_set && dyp_is_set;
        if (!complete || !xF_is_set || !yF_is_set || !zF_is_set) {
            *error = QString("В сеансе нет полностью заданной ") + (axial ? "аксиальной" : "поперечной")
                     + " плоскости расчета и фокуса: задайте их в окне выбора плоскости и сохраните сеанс.";
            return false;
        }
        *files = jobfiles::arrayAndMediumFiles() + fieldjob::planeFiles(axial);
        return true;
    }
    if (kind != "main_max" && kind != "side_max") {
        *error = "Неизвестный вид расчета \"" + kind + "\": field, main_max или side_max.";
        return false;
    }

    // The quality window of the session: the only one it holds, or that of the current plane.
    QString key = s.axialPlane ? "axial" : "transverse";
    if (!s.quality.contains(key) && s.quality.size() == 1)
        key = s.quality.firstKey();
    if (!s.quality.contains(key)) {
        *error = "В сеансе нет областей оценки качества поля: задайте их в окне оценки качества и сохраните "
                 "сеанс там.";
        return false;
    }
    const QMap<QString, QString> fields = s.quality.value(key);
    const formfields::FieldTexts text = [&fields](const char *name) { return fields.value(name); };
    // As the quality windows write a run: the field region becomes the plane.
    *files = scanjob::jobFiles(key == "axial", text);
    return true;
}

} // namespace sessionjobs
