#ifndef RADIALQUALITY_WND_H
#define RADIALQUALITY_WND_H

#include "form_fields.h"
#include "quality_wnd.h"
#include "scan_jobs.h"

namespace Ui {
class RadialQuality_wnd;
}

// Field quality for a transverse plane (the xy plane at z0): the field region, prefilled from the
// plane window, and the focus-shift region, both centred on the axis and in the same plane; the
// preview of both, default regions and the two scan runs.
class RadialQuality_wnd : public QualityWnd
{
    Q_OBJECT

public:
    explicit RadialQuality_wnd(QWidget *parent = nullptr);
    ~RadialQuality_wnd() override;

    // The plane window's transverse plane (metres) as the field region.
    void SetCalcData(double SZop, double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp);
    // Zoom the preview to the plane alone.
    void SetScaleGL();

private slots:
    // Focus-shift region.
    void on_lineEdit_2_textChanged(const QString &);
    void on_lineEdit_3_textChanged(const QString &);
    void on_lineEdit_10_textChanged(const QString &);
    void on_lineEdit_11_textChanged(const QString &);
    // Field region.
    void on_lineEdit_4_textChanged(const QString &);
    void on_lineEdit_5_textChanged(const QString &);
    void on_lineEdit_17_textChanged(const QString &);
    void on_lineEdit_6_textChanged(const QString &);
    void on_lineEdit_16_textChanged(const QString &);
    // The focus-shift plane z only copies the field's.
    void on_lineEdit_textChanged(const QString &);

    // Scan runs and default regions.
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_Button_def_clicked();
    void on_Button_def_2_clicked();

    // Results of the main-maxima, side-maxima and both scans.
    void on_pushButton_4_clicked();
    void on_pushButton_6_clicked();
    void on_pushButton_7_clicked();

    // Back to the plane window, and the session.
    void on_pushButton_3_clicked();
    void on_pushButton_8_clicked();

protected:
    void readRun(Scan kind) override;
    QByteArray focusShiftGridText(Scan kind) const override;
    QString checkRun(Scan kind) const override;
    Grid focusShiftGrid(Scan kind) const override;
    qualityresult::Request resultRequest() const override;

private:
    // The focus-shift column as read (metres); half-widths computed from counts and steps.
    using FocusShift = scanjob::TransverseShift;
    FocusShift readFocusShift() const;
    void readFieldRegion() const;
    void focusShiftEdited();
    void fieldEdited();
    void regionUpdate();
    // The default regions of a main- or side-maxima scan typed into the fields.
    void setDefaults(bool side);

    Ui::RadialQuality_wnd *ui;
    FocusShift m_shift{};

public:
    // The field region of the last run (or of SetCalcData): plane z, x and y half-widths, points
    // along x and y, x and y steps (metres); and the focus-shift region of the last run of each kind.
    double Zop = 0, Rxp = 0, Ryp = 0, FNxp = 0, FNyp = 0, Dxp = 0, Dyp = 0;
    double Zop_main = 0, Rxp_main = 0, Ryp_main = 0, FNxp_main = 0, FNyp_main = 0, Dxp_main = 0, Dyp_main = 0;
    double Zop_side = 0, Rxp_side = 0, Ryp_side = 0, FNxp_side = 0, FNyp_side = 0, Dxp_side = 0, Dyp_side = 0;
};

#endif // RADIALQUALITY_WND_H
