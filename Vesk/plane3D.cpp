#include "plane3D.h"

#include "field_metrics.h"
#include "scene_drawing.h"
#include "scene_geometry.h"
#include "shared_params.h"

#include <algorithm>

plane3D::plane3D(QWidget *parent) : SceneWidget(parent) {}

void plane3D::SetPopPlainParam(double Szop_qual, int SNxp_qual, int SNyp_qual, double Sdxp_qual, double Sdyp_qual,
                               double, double)
{
    zop_qual = Szop_qual;
    Nxp_qual = SNxp_qual;
    Nyp_qual = SNyp_qual;
    dxp_qual = Sdxp_qual;
    dyp_qual = Sdyp_qual;
    rxp_qual = (Nxp_qual - 1) * dxp_qual;
    ryp_qual = (Nyp_qual - 1) * dyp_qual;
}

void plane3D::ClickOnBut()
{
    const double d = std::max(scenegeom::transverseReach(shared::zop, shared::rxp, shared::ryp),
                              scenegeom::focusReach(shared::xF, shared::yF, shared::zF));
    nSca = scenegeom::fitZoom(shared::R, d);
}

void plane3D::ClickOnBut_no_foc()
{
    nSca = scenegeom::fitZoom(shared::R, scenegeom::transverseReach(shared::zop, shared::rxp, shared::ryp));
}

void plane3D::ClickOnBut_qual(double Zop_qual, double Rxp_qual, double Ryp_qual)
{
    const double d = std::max(scenegeom::transverseReach(shared::zop, shared::rxp, shared::ryp),
                              scenegeom::transverseReach(Zop_qual, Rxp_qual, Ryp_qual));
    nSca = scenegeom::fitZoom(shared::R, d);
}

void plane3D::RescaleToOne()
{
    nSca = 1;
}

void plane3D::drawOverlay()
{
    if (shared::is_poper)
        paint_p_plain(shared::zop, shared::rxp, shared::ryp);
    if (shared::is_scan)
        paint_pop_plain_qual(zop_qual, rxp_qual, ryp_qual);
    if (shared::is_foc)
        scenegl::drawFocusMarker(shared::is_poper && !currentFocusPlacement(VDOUB3(), false).inPlane);
}

void plane3D::paint_p_plain(double zop, double rxp, double ryp)
{
    const double R = shared::R;
    scenegl::drawTranslucentQuads(scenegeom::transversePlaneQuads(rxp / R, ryp / R, zop / R));
}

void plane3D::paint_pop_plain_qual(double zop, double rxp, double ryp)
{
    const double R = shared::R;
    glColor3f(0, 0, 0);
    scenegl::drawQuads(scenegeom::transverseFrameQuads(rxp / R, ryp / R, zop / R));
}
