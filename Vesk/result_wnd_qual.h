#ifndef RESULT_WND_QUAL_H
#define RESULT_WND_QUAL_H

#include <QList>
#include <QString>
#include <QWidget>

#include "grid.h"
#include "shared_params.h"

namespace Ui {
class Result_Wnd_qual;
}
class QCloseEvent;
class QResizeEvent;

// Text under a quality map: the largest main-maxima value and the focus position where it was
// reached (shared::XF_max_pos, YF_max_pos in metres; in the axial plane the first is the depth z,
// the second the lateral offset; zop the transverse plane's z), shown in centimetres. A
// side-maxima map has no text.
QString qualityLabelText(bool side, bool axial, double maxvalue, double XF_max_pos, double YF_max_pos, double zop);
// The line under it: the share of the region whose q (the map's values, `shown` as the plot
// holds them) is within a hundredth of the best, and what the number of the sentence is.
QString bestFocusShareText(const VDOUB3 &shown, bool intensity);

// One quality map (main or side maxima, by shared::is_side when it is built) with the best focus
// position, the list of the analysed region and the export. Independent top-level window;
// closing it asks and closes only this window.
class Result_Wnd_qual : public QWidget
{
    Q_OBJECT

public:
    // The plot reads the scan result while the form is built, so the opener sets the quality
    // globals first. The window keeps the run's grid g.
    Result_Wnd_qual(QWidget *parent, SharedGrid g);
    ~Result_Wnd_qual() override;

    void SetType(bool T);
    // The calculation plane (axial six, transverse seven) and the analysed region in the same order.
    void SetData(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr, double Sdzpr, double Szop,
                 double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp, double Szminpr_qual,
                 double Sphipr_qual, int SNzpr_qual, int SNrpr_qual, double Sdrpr_qual, double Sdzpr_qual,
                 double Szop_qual, double Srxp_qual, double Sryp_qual, double SNxp_qual, double SNyp_qual,
                 double Sdxp_qual, double Sdyp_qual);
    // file_name and list are not needed; is: the map shows side maxima.
    void Axes_Title(QString file_name, double maxvalue, QList<double> list, bool is);

    void exportDocument();
    QString parameterText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    // Buttons
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    // dB scale of the map
    void on_checkBox_dB_toggled(bool on);
    void on_doubleSpinBox_floor_valueChanged(double floorDb);

private:
    Ui::Result_Wnd_qual *ui;
    SharedGrid G;

    // Calculation plane (m, degrees)
    double Zminpr = 0, Phipr = 0;
    int FNzpr = 0, FNrpr = 0;
    double Drpr = 0, Dzpr = 0;
    double Zop = 0, Rxp = 0, Ryp = 0, FNxp = 0, FNyp = 0, Dxp = 0, Dyp = 0;
    // Analysed region: the focus-shift region of the scan
    double Zminpr_qual = 0, Phipr_qual = 0;
    int FNzpr_qual = 0, FNrpr_qual = 0;
    double Drpr_qual = 0, Dzpr_qual = 0;
    double Zop_qual = 0, Rxp_qual = 0, Ryp_qual = 0, FNxp_qual = 0, FNyp_qual = 0, Dxp_qual = 0, Dyp_qual = 0;
    // The medium of the scans, for the parameter list.
    QString Medium_text;

    bool Type_prodol = false;
};

#endif // RESULT_WND_QUAL_H
