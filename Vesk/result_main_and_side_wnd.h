#ifndef RESULT_MAIN_AND_SIDE_WND_H
#define RESULT_MAIN_AND_SIDE_WND_H

#include <QString>
#include <QWidget>

namespace Ui {
class Result_Main_and_Side_wnd;
}
class QCloseEvent;

// Main and side maxima together: the combined contour map, the best focus position, an export
// and the analysed region's list for each of the two scans. Independent top-level window;
// closing it asks and closes only this window.
class Result_Main_and_Side_wnd : public QWidget
{
    Q_OBJECT

public:
    // The plot reads both scan results while the form is built, so the opener sets the quality
    // globals first. type_is_prodol: an axial result (a window twice as wide).
    Result_Main_and_Side_wnd(QWidget *parent, bool type_is_prodol);
    ~Result_Main_and_Side_wnd() override;

    void SetType(bool T);
    // The calculation plane, the main-maxima region and the side-maxima region.
    void SetData_prodol(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr, double Sdzpr,
                        double Szminpr_main, double Sphipr_main, int SNzpr_main, int SNrpr_main, double Sdrpr_main,
                        double Sdzpr_main, double Szminpr_side, double Sphipr_side, int SNzpr_side, int SNrpr_side,
                        double Sdrpr_side, double Sdzpr_side);
    void SetData_poper(double Szop, double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp,
                       double Szop_main, double Srxp_main, double Sryp_main, double SNxp_main, double SNyp_main,
                       double Sdxp_main, double Sdyp_main, double Szop_side, double Srxp_side, double Sryp_side,
                       double SNxp_side, double SNyp_side, double Sdxp_side, double Sdyp_side);
    void Axes_Title(double maxvalue);

    void exportDocument_main();
    void exportDocument_side();
    QString parameterText_main() const;
    QString parameterText_side() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Buttons
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_3_clicked();

private:
    Ui::Result_Main_and_Side_wnd *ui;

    // Axial: calculation plane, main-maxima region, side-maxima region (m, degrees)
    double Zminpr = 0, Phipr = 0;
    int FNzpr = 0, FNrpr = 0;
    double Drpr = 0, Dzpr = 0;
    double Zminpr_main = 0, Phipr_main = 0;
    int FNzpr_main = 0, FNrpr_main = 0;
    double Drpr_main = 0, Dzpr_main = 0;
    double Zminpr_side = 0, Phipr_side = 0;
    int FNzpr_side = 0, FNrpr_side = 0;
    double Drpr_side = 0, Dzpr_side = 0;
    // Transverse: the same three sets (m)
    double Zop = 0, Rxp = 0, Ryp = 0, FNxp = 0, FNyp = 0, Dxp = 0, Dyp = 0;
    double Zop_main = 0, Rxp_main = 0, Ryp_main = 0, FNxp_main = 0, FNyp_main = 0, Dxp_main = 0, Dyp_main = 0;
    double Zop_side = 0, Rxp_side = 0, Ryp_side = 0, FNxp_side = 0, FNyp_side = 0, Dxp_side = 0, Dyp_side = 0;
    // The medium of the scans, for the parameter lists.
    QString Medium_text;

    bool Type_prodol = false;
};

#endif // RESULT_MAIN_AND_SIDE_WND_H
