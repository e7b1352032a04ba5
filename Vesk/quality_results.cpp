#include "quality_results.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "RectIntersection.h"
#include "platform.h"
#include "read_from_file_main_max.h"
#include "read_maximum.h"
#include "result_common.h"
#include "result_main_and_side_wnd.h"
#include "result_wnd_qual.h"

namespace qualityresult {

namespace {
QString jobFolder(bool side)
{
    return platform::appDir() + (side ? "/side_max/" : "/main_max/");
}

QString binaryPath(bool side, bool axial)
{
    if (side)
        return axial ? shared::name_of_file_side_max_axial : shared::name_of_file_side_max_poper;
    return axial ? shared::name_of_file_main_max_axial : shared::name_of_file_main_max_poper;
}

void setResultType(int index)
{
    shared::is_press_qual = index == 0;
    shared::is_intens_qual = index == 1;
}

// The rectangle (zmin, zmax, rmin, rmax) of an axial region.
struct Rect {
    double zmin, zmax, rmin, rmax;
};
Rect axialRect(const PlaneSet &s)
{
    return {s.zminpr, s.zminpr + (s.nzpr - 1) * s.dzpr, (1 - s.nrpr) * s.drpr, (s.nrpr - 1) * s.drpr};
}

// Finds the best main maximum of the last main run and stores it for the label.
void storeBestFocus(bool axial)
{
    const BestFocus best = bestMainMaximum(
        read_from_file_main_max(binaryPath(false, axial), shared::Nx_G_qual_main, shared::Ny_G_qual_main, axial));
    shared::XF_max_pos = best.x;
    shared::YF_max_pos = best.y;
}

void error(const QString &text)
{
    platform::information(nullptr, "Ошибка!", text);
}
} // namespace

bool jobDone(bool side)
{
    QFile marker(jobFolder(side) + "calcdone");
    return marker.open(QIODevice::ReadOnly | QIODevice::Text);
}

QString notDoneText(bool side)
{
    return side ? "Оценка качества поля по побочным максимумам не была произведена! Повторите оценку."
                : "Оценка качества поля по главным максимумам не была произведена! Повторите оценку.";
}

QString combinedProblem(bool mainDone, bool sideDone, bool samePlane, bool overlap)
{
    if (!mainDone && sideDone)
        return notDoneText(false);
    if (mainDone && !sideDone)
        return notDoneText(true);
    if (!mainDone && !sideDone)
        return "Оценка качества поля по главным и побочным максимумам не была произведена! "
               "Повторите оценку.";
    if (!samePlane)
        return "Невозможно совместить контуры для главных и побочных максимумов, полученые в "
               "разных плоскостях!";
    if (!overlap)
        return "Области оценки качества поля для главных и побочных максимумов не имеют общих точек!";
    return QString();
}

QString resultFileProblem(bool side, bool axial)
{
    const QString binary = binaryPath(side, axial);
    const int nx = side ? shared::Nx_G_qual_side : shared::Nx_G_qual_main;
    const int ny = side ? shared::Ny_G_qual_side : shared::Ny_G_qual_main;
    const QString mismatch = scanResultMismatch(binary, nx, ny);
    if (!mismatch.isEmpty())
        return mismatch;
    if (!side) {
        const QString text = jobFolder(false) + shared::file_to_calc_field_in_max;
        if (!QFileInfo(text).isFile())
            return "Не найден файл результата оценки качества поля: " + QDir::toNativeSeparators(text)
                   + ". Повторите оценку.";
    }
    return QString();
}

BestFocus bestMainMaximum(const VDOUB3 &v)
{
    BestFocus best;
    if (v.size() < 3 || v[2].empty())
        return best;
    // max_element keeps the first of equal values: the earlier row, then the earlier column.
    VDOUB rowMax;
    for (const VDOUB &row : v[2])
        rowMax.push_back(row.empty() ? 0.0 : *std::max_element(row.begin(), row.end()));
    best.ix = int(std::max_element(rowMax.begin(), rowMax.end()) - rowMax.begin());
    const VDOUB &row = v[2][best.ix];
    if (row.empty())
        return BestFocus();
    best.iy = int(std::max_element(row.begin(), row.end()) - row.begin());
    best.x = v[0][best.ix][best.iy];
    best.y = v[1][best.ix][best.iy];
    return best;
}

double scaleMaximum(bool intensity)
{
    const double maximum = read_maximum(jobFolder(false) + shared::file_to_calc_field_in_max);
    return intensity ? maximum * maximum : maximum;
}

Result_Wnd_qual *showSingle(bool side, const Request &r)
{
    if (!jobDone(side)) {
        error(notDoneText(side));
        return nullptr;
    }
    const QString problem = resultFileProblem(side, r.axial);
    if (!problem.isEmpty()) {
        error(problem);
        return nullptr;
    }

    setResultType(r.resultType);
    shared::is_side = side;
    shared::contourLevels = side ? r.levelsSide : r.levelsMain;
    (side ? shared::contourLevels_side : shared::contourLevels_main) = shared::contourLevels;

    Result_Wnd_qual *w = new Result_Wnd_qual(nullptr, r.G);
    w->SetType(r.axial);
    const PlaneSet &p = r.plane;
    const PlaneSet &q = side ? r.side : r.main;
    w->SetData(p.zminpr, p.phipr, p.nzpr, p.nrpr, p.drpr, p.dzpr, p.zop, p.rxp, p.ryp, p.nxp, p.nyp, p.dxp, p.dyp,
               q.zminpr, q.phipr, q.nzpr, q.nrpr, q.drpr, q.dzpr, q.zop, q.rxp, q.ryp, q.nxp, q.nyp, q.dxp, q.dyp);
    resultwindow::place(w);

    if (side) {
        w->Axes_Title(QString(), 0, shared::contourLevels, true);
    } else {
        storeBestFocus(r.axial);
        w->Axes_Title(shared::file_to_calc_qual, scaleMaximum(shared::is_intens_qual), shared::contourLevels, false);
    }
    w->show();
    return w;
}

Result_Main_and_Side_wnd *showMainAndSide(const Request &r)
{
    const bool mainDone = jobDone(false);
    const bool sideDone = jobDone(true);
    // Exact comparison: both regions come from the same typed text.
    const bool samePlane = r.axial ? r.main.phipr == r.side.phipr : r.main.zop == r.side.zop;
    bool overlap = true;
    if (r.axial) {
        const Rect m = axialRect(r.main), s = axialRect(r.side);
        overlap = RectIntersection(m.zmin, m.zmax, m.rmin, m.rmax, s.zmin, s.zmax, s.rmin, s.rmax);
    }
    QString problem = combinedProblem(mainDone, sideDone, samePlane, overlap);
    if (problem.isEmpty())
        problem = resultFileProblem(false, r.axial);
    if (problem.isEmpty())
        problem = resultFileProblem(true, r.axial);
    if (!problem.isEmpty()) {
        error(problem);
        return nullptr;
    }

    setResultType(r.resultType);
    shared::contourLevels_main = r.levelsMain;
    shared::contourLevels_side = r.levelsSide;

    Result_Main_and_Side_wnd *w = new Result_Main_and_Side_wnd(nullptr, r.axial);
    w->SetType(r.axial);
    const PlaneSet &p = r.plane, &m = r.main, &s = r.side;
    if (r.axial)
        w->SetData_prodol(p.zminpr, p.phipr, p.nzpr, p.nrpr, p.drpr, p.dzpr, m.zminpr, m.phipr, m.nzpr, m.nrpr, m.drpr,
                          m.dzpr, s.zminpr, s.phipr, s.nzpr, s.nrpr, s.drpr, s.dzpr);
    else
        w->SetData_poper(p.zop, p.rxp, p.ryp, p.nxp, p.nyp, p.dxp, p.dyp, m.zop, m.rxp, m.ryp, m.nxp, m.nyp, m.dxp,
                         m.dyp, s.zop, s.rxp, s.ryp, s.nxp, s.nyp, s.dxp, s.dyp);
    storeBestFocus(r.axial);
    w->Axes_Title(scaleMaximum(shared::is_intens_qual));
    resultwindow::place(w);
    w->show();
    return w;
}

} // namespace qualityresult
