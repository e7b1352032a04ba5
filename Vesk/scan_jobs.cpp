#include "scan_jobs.h"

#include <QMap>
#include <vector>

#include "JobProtocol.h"
#include "plane_fields.h"
#include "shared_params.h"

using formfields::FieldTexts;
using formfields::fieldValue;

namespace scanjob {

AxialShift axialShiftFrom(const FieldTexts &text)
{
    AxialShift s;
    s.zmin = fieldValue(text("lineEdit_6")) / 100;
    s.phi = fieldValue(text("lineEdit_9"));
    s.Nr = int(fieldValue(text("lineEdit_11")));
    s.Nz = int(fieldValue(text("lineEdit_10")));
    s.dr = fieldValue(text("lineEdit_8")) / 100;
    s.dz = fieldValue(text("lineEdit_7")) / 100;
    s.zmax = fieldValue(text("lineEdit_12")) / 100;
    s.r = fieldValue(text("lineEdit_13")) / 100;
    return s;
}

TransverseShift transverseShiftFrom(const FieldTexts &text)
{
    TransverseShift s;
    s.z = fieldValue(text("lineEdit")) / 100;
    s.Nx = fieldValue(text("lineEdit_10"));
    s.Ny = fieldValue(text("lineEdit_11"));
    s.dx = fieldValue(text("lineEdit_2")) / 100;
    s.dy = fieldValue(text("lineEdit_3")) / 100;
    s.rx = (s.Nx - 1) * s.dx;
    s.ry = (s.Ny - 1) * s.dy;
    return s;
}

void fieldRegionFrom(bool axial, const FieldTexts &text)
{
    using namespace shared;
    // A plane global and the field it is read from, with the divisor of the field's unit (100 for
    // centimetres).
    struct Reading {
        double *global;
        const char *field;
        double divisor;
    };
    const std::vector<Reading> axialPlane{{&zminpr, "lineEdit_21", 100}, {&phipr, "lineEdit_16", 1},
                                          {&Nrpr, "lineEdit_17", 1},     {&Nzpr, "lineEdit_15", 1},
                                          {&drpr, "lineEdit_19", 100},   {&dzpr, "lineEdit_20", 100},
                                          {&zmaxpr, "lineEdit_18", 100}, {&rpr, "lineEdit_14", 100}};
    const std::vector<Reading> transversePlane{
        {&zop, "lineEdit_4", 100}, {&Nxp, "lineEdit_17", 1},   {&Nyp, "lineEdit_16", 1},  {&dxp, "lineEdit_5", 100},
        {&dyp, "lineEdit_6", 100}, {&rxp, "lineEdit_14", 100}, {&ryp, "lineEdit_15", 100}};
    for (const Reading &r : axial ? axialPlane : transversePlane)
        *r.global = fieldValue(text(r.field)) / r.divisor;
}

QByteArray focusShiftGridText(const AxialShift &s)
{
    // After the rotation of the array the plane is the calculator's x = 0; counts as integers.
    return jobfiles::gridText("yz", 0, 2 * s.Nr - 1, s.Nz, -s.r, s.zmin, s.dr, s.dz);
}

QByteArray focusShiftGridText(const TransverseShift &s)
{
    return jobfiles::transverseGridText(s.z, s.Nx, s.Ny, s.rx, s.ry, s.dx, s.dy);
}

Grid focusShiftGrid(const AxialShift &s)
{
    return Grid(s.Nz, 2 * s.Nr - 1, s.dz, s.dr, s.zmin, s.zmax, (1 - s.Nr) * s.dr, (s.Nr - 1) * s.dr);
}

Grid focusShiftGrid(const TransverseShift &s)
{
    const int nx = int(s.Nx), ny = int(s.Ny);
    return Grid(2 * nx - 1, 2 * ny - 1, s.dx, s.dy, -(nx - 1) * s.dx, (nx - 1) * s.dx, -(ny - 1) * s.dy,
                (ny - 1) * s.dy);
}

QList<jobfiles::JobFile> jobFiles(bool axial, const QByteArray &focusShiftGridText)
{
    QList<jobfiles::JobFile> files = jobfiles::arrayAndMediumFiles() + jobfiles::elementsAndFocusFiles(axial);
    const jobfiles::JobFile focusShift{kjobs::names::gridCalc, focusShiftGridText};
    const jobfiles::JobFile field{kjobs::names::gridScan, jobfiles::planeGridText(axial)};
    if (axial)
        files << focusShift << field;
    else
        files << field << focusShift;
    return files;
}

QList<jobfiles::JobFile> jobFiles(bool axial, const FieldTexts &text)
{
    fieldRegionFrom(axial, text);
    return jobFiles(axial,
                    axial ? focusShiftGridText(axialShiftFrom(text)) : focusShiftGridText(transverseShiftFrom(text)));
}

QList<FieldText> defaultTexts(bool axial, bool side)
{
    using formfields::fieldText; // as a six-character field shows the number
    using formfields::numberText;
    const double Rd = shared::R;
    if (axial) {
        // Focus positions from R/2 to 3R/2 along z and +-A/6 across; the field region reaches a
        // quarter of that length further each way and has half as many points again across, with
        // the same steps.
        const int Nr_f = side ? 6 : 51, Nz_f = side ? 25 : 241;
        const double dr = shared::A / 2 / 3 / (Nr_f - 1);
        const double dz = Rd / (Nz_f - 1);
        return {{"lineEdit_6", fieldText(Rd / 2 * 100)},
                {"lineEdit_9", "0"},
                {"lineEdit_11", fieldText(Nr_f)},
                {"lineEdit_10", fieldText(Nz_f)},
                {"lineEdit_8", fieldText(dr * 100)},
                {"lineEdit_7", fieldText(dz * 100)},
                {"lineEdit_21", fieldText((Rd - 1.25 * Rd / 2) * 100)},
                {"lineEdit_16", "0"},
                {"lineEdit_17", fieldText(int(1.5 * Nr_f))},
                {"lineEdit_15", fieldText(int(1.25 * Nz_f))},
                {"lineEdit_19", fieldText(dr * 100)},
                {"lineEdit_20", fieldText(dz * 100)}};
    }
    // Focus positions over +-A/6 at the centre of curvature; the field region around them has half as
    // many points again each way, with the same steps.
    const int N_f = side ? 6 : 51;
    const double step = shared::A / 2 / 3 / (N_f - 1);
    const int n = int(1.5 * N_f);
    return {{"lineEdit", numberText(Rd * 100)},    {"lineEdit_10", fieldText(N_f)},
            {"lineEdit_11", fieldText(N_f)},       {"lineEdit_2", fieldText(step * 100)},
            {"lineEdit_3", fieldText(step * 100)}, {"lineEdit_4", fieldText(Rd * 100)},
            {"lineEdit_17", fieldText(n)},         {"lineEdit_16", fieldText(n)},
            {"lineEdit_5", fieldText(step * 100)}, {"lineEdit_6", fieldText(step * 100)}};
}

FieldTexts defaultFieldTexts(bool axial, bool side)
{
    QMap<QString, QString> texts;
    for (const FieldText &f : defaultTexts(axial, side))
        texts[f.name] = f.text;
    const auto value = [&texts](const char *name) { return fieldValue(texts.value(name)); };
    using planefields::halfWidthText;
    using planefields::zmaxText;
    // As the windows derive them: the focus-shift counts as whole points.
    if (axial) {
        texts["lineEdit_12"] =
            zmaxText(value("lineEdit_6") / 100, int(value("lineEdit_10")), value("lineEdit_7") / 100);
        texts["lineEdit_13"] = halfWidthText(int(value("lineEdit_11")), value("lineEdit_8") / 100);
        texts["lineEdit_18"] = zmaxText(value("lineEdit_21") / 100, value("lineEdit_15"), value("lineEdit_20") / 100);
        texts["lineEdit_14"] = halfWidthText(value("lineEdit_17"), value("lineEdit_19") / 100);
    } else {
        texts["lineEdit_12"] = halfWidthText(int(value("lineEdit_10")), value("lineEdit_2") / 100);
        texts["lineEdit_13"] = halfWidthText(int(value("lineEdit_11")), value("lineEdit_3") / 100);
        texts["lineEdit_14"] = halfWidthText(value("lineEdit_17"), value("lineEdit_5") / 100);
        texts["lineEdit_15"] = halfWidthText(value("lineEdit_16"), value("lineEdit_6") / 100);
    }
    return [texts](const char *name) { return texts.value(name); };
}

} // namespace scanjob
