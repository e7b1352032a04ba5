#ifndef PLANE3D_H
#define PLANE3D_H

#include "scene_widget.h"

// The array with the transverse calculation plane (while is_poper), the outline of the focus-shift
// region (while is_scan) and the focus marker (while is_foc). The owning window sets the values and
// asks for the redraw.
class plane3D : public SceneWidget
{
    Q_OBJECT
public:
    explicit plane3D(QWidget *parent = nullptr);

    // Stores the focus-shift grid; its half-widths follow from the counts and steps (the last two
    // arguments are not used).
    void SetPopPlainParam(double Szop_qual, int SNxp_qual, int SNyp_qual, double Sdxp_qual, double Sdyp_qual,
                          double Srxp_qual, double Sryp_qual);
    // Zoom to fit the plane and the focus, the plane alone, or the plane and the focus-shift region.
    void ClickOnBut();
    void ClickOnBut_no_foc();
    void ClickOnBut_qual(double Zop_qual, double Rxp_qual, double Ryp_qual);
    void RescaleToOne();

    // The focus-shift region (metres), meaningful while is_scan is set.
    double zop_qual = 0;
    double dxp_qual = 0, dyp_qual = 0;
    int Nxp_qual = 0, Nyp_qual = 0;
    double rxp_qual = 0, ryp_qual = 0;

protected:
    void drawOverlay() override;

    void paint_p_plain(double zop, double rxp, double ryp);
    void paint_pop_plain_qual(double zop, double rxp, double ryp);
};

#endif // PLANE3D_H
