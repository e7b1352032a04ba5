#include "plane3d_prodol.h"

#include "field_metrics.h"
#include "scene_drawing.h"
#include "scene_geometry.h"
#include "shared_params.h"

#include <algorithm>

plane3d_prodol::plane3d_prodol(QWidget *parent) : SceneWidget(parent) {}

void plane3d_prodol::SetPrPlainParam(double Szminpr_qual, double Sphipr_qual, int SNrpr_qual, int SNzpr_qual,
                                     double Sdrpr_qual, double Sdzpr_qual, double Szmaxpr_qual, double Srpr_qual)
{
    zminpr_qual = Szminpr_qual;
    phipr_qual = int(Sphipr_qual);
    Nrpr_qual = SNrpr_qual;
    Nzpr_qual = SNzpr_qual;
    drpr_qual = Sdrpr_qual;
    dzpr_qual = Sdzpr_qual;
    zmaxpr_qual = Szmaxpr_qual;
    rpr_qual = Srpr_qual;
}

void plane3d_prodol::ClickOnBut()
{
    const double d = std::max(scenegeom::axialReach(shared::zmaxpr, shared::rpr),
                              scenegeom::focusReach(shared::xF, shared::yF, shared::zF));
    nSca = scenegeom::fitZoom(shared::R, d);
}

void plane3d_prodol::ClickOnBut_no_foc()
{
    nSca = scenegeom::fitZoom(shared::R, scenegeom::axialReach(shared::zmaxpr, shared::rpr));
}

void plane3d_prodol::ClickOnBut_qual(double Zmaxpr_qual, double Rpr_qual)
{
    const double d =
        std::max(scenegeom::axialReach(shared::zmaxpr, shared::rpr), scenegeom::axialReach(Zmaxpr_qual, Rpr_qual));
    nSca = scenegeom::fitZoom(shared::R, d);
}

void plane3d_prodol::RescaleToOne()
{
    nSca = 1;
}

void plane3d_prodol::drawOverlay()
{
    // The opaque outline goes first: it lies a hair behind the translucent plane, which would hide
    // it from the depth test if the plane were drawn before it.
    if (shared::is_scan)
        paint_pr_plain_qual(zminpr_qual, zmaxpr_qual, rpr_qual, phipr_qual, nSca);
    if (shared::is_prodol)
        paint_pr_plain(shared::zminpr, shared::zmaxpr, shared::rpr, shared::phipr);
    if (shared::is_foc)
        scenegl::drawFocusMarker(shared::is_prodol && !currentFocusPlacement(VDOUB3(), true).inPlane);
}

void plane3d_prodol::paint_pr_plain(double zminpr, double zmaxpr, double rpr, double phipr)
{
    const double R = shared::R;
    scenegl::drawTranslucentQuads(scenegeom::axialPlaneQuads(zminpr / R, zmaxpr / R, rpr / R, phipr));
}

void plane3d_prodol::paint_pr_plain_qual(double zminpr, double zmaxpr, double rpr, double phipr, float)
{
    const double R = shared::R;
    glColor3f(0, 0, 0);
    scenegl::drawQuads(scenegeom::axialFrameQuads(zminpr / R, zmaxpr / R, rpr / R, phipr));
}
