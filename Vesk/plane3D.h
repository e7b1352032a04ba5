#ifndef PLANE3D_H
#define PLANE3D_H

#include <QGLWidget>

// The array with the transverse calculation plane, the focus and the focus-shift region.
class plane3D : public QGLWidget
{
    Q_OBJECT
public:
    explicit plane3D(QWidget *parent = nullptr);

    void SetPopPlainParam(double Szop_qual, int SNxp_qual, int SNyp_qual, double Sdxp_qual,
                          double Sdyp_qual, double Srxp_qual, double Sryp_qual);
    void ClickOnBut();
    void ClickOnBut_no_foc();
    void ClickOnBut_qual(double Zop_qual, double Rxp_qual, double Ryp_qual);
    void RescaleToOne();
};

#endif // PLANE3D_H
