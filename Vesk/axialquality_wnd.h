#ifndef AXIALQUALITY_WND_H
#define AXIALQUALITY_WND_H

#include "form_fields.h"
#include "quality_wnd.h"
#include "scan_jobs.h"

namespace Ui {
class AxialQuality_wnd;
}

// Field quality for an axial plane (the r-z plane turned by phi about the axis): the field region,
// prefilled from the plane window, and the focus-shift region side by side, the preview of both,
// default regions and the two scan runs.
class AxialQuality_wnd : public QualityWnd
{
    Q_OBJECT

public:
    explicit AxialQuality_wnd(QWidget *parent = nullptr);
    ~AxialQuality_wnd() override;

    // The plane window's axial plane (metres, degrees) as the field region.
    void SetCalcData(double zminpr, double zmaxpr, double rpr, double phipr, double Nrpr, double Nzpr, double drpr,
                     double dzpr);
    // Zoom the preview to the plane alone.
    void SetScaleGL();

private slots:
    // Focus-shift region.
    void on_lineEdit_6_textChanged(const QString &);
    void on_lineEdit_7_textChanged(const QString &);
    void on_lineEdit_10_textChanged(const QString &);
    void on_lineEdit_8_textChanged(const QString &);
    void on_lineEdit_11_textChanged(const QString &);
    // Field region.
    void on_lineEdit_21_textChanged(const QString &);
    void on_lineEdit_20_textChanged(const QString &);
    void on_lineEdit_15_textChanged(const QString &);
    void on_lineEdit_19_textChanged(const QString &);
    void on_lineEdit_17_textChanged(const QString &);
    void on_lineEdit_16_textChanged(const QString &);

    // Scan runs and default regions.
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_Button_def_main_clicked();
    void on_Button_def_side_clicked();

    // Results of the main-maxima, side-maxima and both scans.
    void on_pushButton_4_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_6_clicked();

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
    // The focus-shift column as read (metres, degrees; counts truncated).
    using FocusShift = scanjob::AxialShift;
    FocusShift readFocusShift() const;
    void readFieldRegion() const;
    void focusShiftEdited();
    void fieldEdited();
    void regionUpdate();
    // The default regions of a main- or side-maxima scan typed into the fields.
    void setDefaults(bool side);

    Ui::AxialQuality_wnd *ui;
    FocusShift m_shift{};

public:
    // The field region of the last run: z start (m), angle (degrees), points along z and across r,
    // r and z steps (m); and the focus-shift region of the last run of each kind.
    double Zminpr = 0, Phipr = 0;
    int FNzpr = 0, FNrpr = 0;
    double Drpr = 0, Dzpr = 0;
    double Zminpr_main = 0, Phipr_main = 0;
    int FNzpr_main = 0, FNrpr_main = 0;
    double Drpr_main = 0, Dzpr_main = 0;
    double Zminpr_side = 0, Phipr_side = 0;
    int FNzpr_side = 0, FNrpr_side = 0;
    double Drpr_side = 0, Dzpr_side = 0;
};

#endif // AXIALQUALITY_WND_H
