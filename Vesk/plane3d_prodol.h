#ifndef PLANE3D_PRODOL_H
#define PLANE3D_PRODOL_H

#include "scene_widget.h"

// The array with the axial calculation plane turned by phipr about the axis (while is_prodol), the
// outline of the focus-shift region (while is_scan) and the focus marker (while is_foc). The owning
// window sets the values and asks for the redraw.
class plane3d_prodol : public SceneWidget
{
    Q_OBJECT
public:
    explicit plane3d_prodol(QWidget *parent = nullptr);

    // Stores the focus-shift region; the angle is truncated to whole degrees.
    void SetPrPlainParam(double Szminpr_qual, double Sphipr_qual, int SNrpr_qual, int SNzpr_qual, double Sdrpr_qual,
                         double Sdzpr_qual, double Szmaxpr_qual, double Srpr_qual);
    // Zoom to fit the plane and the focus, the plane alone, or the plane and the focus-shift region.
    void ClickOnBut();
    void ClickOnBut_no_foc();
    void ClickOnBut_qual(double Zmaxpr_qual, double Rpr_qual);
    void RescaleToOne();

    // The focus-shift region (metres, degrees), meaningful while is_scan is set.
    double zminpr_qual = 0, zmaxpr_qual = 0;
    int phipr_qual = 0;
    int Nrpr_qual = 0, Nzpr_qual = 0;
    double drpr_qual = 0, dzpr_qual = 0;
    double rpr_qual = 0;

protected:
    void drawOverlay() override;

    void paint_pr_plain(double zminpr, double zmaxpr, double rpr, double phipr);
    // The zoom argument is not needed by the outline; it is kept so the call reads like the others.
    void paint_pr_plain_qual(double zminpr, double zmaxpr, double rpr, double phipr, float scale);
};

#endif // PLANE3D_PRODOL_H
