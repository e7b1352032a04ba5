#include "hdf5_export.h"

#include <QTextDocumentFragment>

#include "media.h"

#ifndef KORMAX_VERSION
#define KORMAX_VERSION "unknown"
#endif

QList<QPair<QString, QVariant>> sessionAttributes()
{
    using namespace shared;
    QList<QPair<QString, QVariant>> a;
    const auto add = [&a](const char *name, const QVariant &value) { a << qMakePair(QString(name), value); };
    add("software", QString("Kormax " KORMAX_VERSION));
    add("aperture_m", A);
    add("curvature_radius_m", double(R));
    add("element_radius_m", r);
    add("frequency_Hz", nu);
    add("hole_radius_m", rotv);
    add("medium", QString::fromUtf8(media::preset(medium).label));
    add("density_kg_m3", ro);
    add("sound_speed_m_s", c);
    add("heat_capacity_J_kg_K", double(C));
    add("absorption_dB_cm_MHz", double(pvs));
    add("element_pressure_Pa", initpres);
    add("element_intensity_W_m2", initintens);
    add("focus_m", QVariantList{xF, yF, zF});
    add("elements_file", name);
    add("transverse_plane_z_m", zop);
    add("transverse_points_x", Nxp);
    add("transverse_points_y", Nyp);
    add("transverse_step_x_m", dxp);
    add("transverse_step_y_m", dyp);
    add("axial_plane_z_min_m", zminpr);
    add("axial_plane_angle_deg", phipr);
    add("axial_points_z", Nzpr);
    add("axial_points_r", Nrpr);
    add("axial_step_z_m", dzpr);
    add("axial_step_r_m", drpr);
    return a;
}

Hdf5Result plotHdf5(const VDOUB3 &z, const QString &ax, const QString &title)
{
    Hdf5Result r;
    r.quantity = QTextDocumentFragment::fromHtml(title).toPlainText();
    const int comma = r.quantity.lastIndexOf(", ");
    r.unit = comma < 0 ? QString("1") : r.quantity.mid(comma + 2);
    const bool axial = ax == "zr";
    r.axis1.name = axial ? "z" : "x";
    r.axis2.name = axial ? "r" : "y";
    r.axis1.unit = r.axis2.unit = "m";
    if (z.size() < 3 || z[2].empty())
        return r;
    const std::size_t n1 = z[2].size(), n2 = z[2][0].size();
    for (std::size_t i = 0; i < n1; ++i)
        r.axis1.values.push_back(z[0][i][0] / 100);
    for (std::size_t j = 0; j < n2; ++j)
        r.axis2.values.push_back(z[1][0][j] / 100);
    for (const VDOUB &row : z[2])
        r.values.insert(r.values.end(), row.begin(), row.end());
    return r;
}

bool writePlotHdf5(const QString &path, const VDOUB3 &z, const QString &ax, const QString &title, QString *error)
{
    Hdf5Result r = plotHdf5(z, ax, title);
    r.attributes = sessionAttributes();
    r.elements = shared::Elem;
    return writeResultHdf5(path, r, error);
}
