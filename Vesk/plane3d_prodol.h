#ifndef PLANE3D_PRODOL_H
#define PLANE3D_PRODOL_H

#include <QGLWidget>

// The array with the axial calculation plane, the focus and the focus-shift region.
class plane3d_prodol : public QGLWidget
{
    Q_OBJECT
public:
    explicit plane3d_prodol(QWidget *parent = nullptr);

    void SetPrPlainParam(double Szminpr_qual, double Sphipr_qual, int SNrpr_qual, int SNzpr_qual,
                         double Sdrpr_qual, double Sdzpr_qual, double Szmaxpr_qual,
                         double Srpr_qual);
    void ClickOnBut();
    void ClickOnBut_no_foc();
    void ClickOnBut_qual(double Zmaxpr_qual, double Rpr_qual);
    void RescaleToOne();
};

#endif // PLANE3D_PRODOL_H
