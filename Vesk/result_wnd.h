#ifndef RESULT_WND_H
#define RESULT_WND_H

#include <QString>
#include <QWidget>

#include "field_metrics.h"
#include "grid.h"

namespace Ui {
class Result_wnd;
}
class QCloseEvent;

// Parameter list of a calculation plane as rich text, lengths given in metres and shown in
// centimetres. The field result window ends the transverse list with " см", the quality windows
// with " см.".
QString axialParameterText(double Zminpr, double Phipr, int FNzpr, int FNrpr, double Drpr, double Dzpr);
QString transverseParameterText(double Zop, double FNxp, double FNyp, double Dxp, double Dyp,
                                const QString &ending = QStringLiteral(" см"));

// Text of the focus label; the coordinates are the plane window's fields, in centimetres.
QString focusLabelText(double X_Focus, double Y_Focus, double Z_Focus);

// One computed field: the plot of the last calculation run in the chosen result type, the focus
// label, the parameter list and the export. Independent top-level window; closing it asks and
// closes only this window.
class Result_wnd : public QWidget
{
    Q_OBJECT

public:
    // The plot reads the result (shared::file_to_calc) while the form is built, so the opener
    // sets the result type and the run's globals first. The window keeps the run's grid g.
    Result_wnd(QWidget *parent, SharedGrid g);
    ~Result_wnd() override;

    void SetType(bool T);
    void SetData(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr, double Sdzpr, double Szop,
                 double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp);
    void Axes_Title(QString file_name, double X_Focus, double Y_Focus, double Z_Focus);
    // The medium of the run (a media preset and the absorption in dB/(cm MHz)): the parameter list
    // ends with it, and for a medium other than lossless water the window title says it too, since
    // the values shown are then in situ.
    void SetMedium(int preset, double absorption);

    void exportDocument();
    QString parameterText() const;
    // Readings of the shown field (peak, widths, secondary maximum, focus, gain) as plain text.
    QString metricsText() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Buttons
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_metrics_clicked();
    void on_pushButton_profiles_clicked();
    void on_pushButton_heating_clicked();
    // Reading aids of the plot
    void on_checkBox_dB_toggled(bool on);
    void on_doubleSpinBox_floor_valueChanged(double floorDb);
    void on_checkBox_contours_toggled(bool on);
    void on_lineEdit_levels_editingFinished();
    void on_checkBox_equal_toggled(bool on);

private:
    Ui::Result_wnd *ui;
    SharedGrid G;

    // Axial plane (m, degrees)
    double Zminpr = 0, Phipr = 0;
    int FNzpr = 0, FNrpr = 0;
    double Drpr = 0, Dzpr = 0;
    // Transverse plane (m; the counts are held as doubles like the plane window's)
    double Zop = 0, Rxp = 0, Ryp = 0, FNxp = 0, FNyp = 0, Dxp = 0, Dyp = 0;

    bool Type_prodol = false;

    // The run's focus in the plot's frame and |p(F)|/p0, taken when the plot read the result.
    bool Axial_result = false;
    FocusPlacement Focus;
    bool Have_gain = false;
    double Gain = 0;

    QString MediumText;                           // empty until SetMedium
    double Focus_x = 0, Focus_y = 0, Focus_z = 0; // m, the focus given to Axes_Title
};

// The result buttons of the calculation plane window, once it has found the calculator's
// completion marker and set the result type: opens a result window for the run with grid G,
// placed near (100, 100) with a small random offset so successive windows do not cover each
// other, given the plane variables and the focus (centimetres, as typed), and shows it. The
// window deletes itself when closed, and lets G go then.
Result_wnd *openFieldResult(const SharedGrid &G, bool axial, double xFocusCm, double yFocusCm, double zFocusCm);

#endif // RESULT_WND_H
