#include "result_main_and_side_wnd.h"
#include "ui_result_main_and_side_wnd.h"

#include <QCloseEvent>

#include "platform.h"
#include "media.h"
#include "plot_export.h"
#include "result_common.h"
#include "result_wnd.h"
#include "result_wnd_qual.h"
#include "shared_params.h"
#include "window_common.h"

Result_Main_and_Side_wnd::Result_Main_and_Side_wnd(QWidget *parent, bool type_is_prodol) :
    QWidget(parent), ui(new Ui::Result_Main_and_Side_wnd), Medium_text(media::currentDescription())
{
    // Builds the plot, which reads and draws both scans.
    ui->setupUi(this);
    resultwindow::setUp(this, QSize(518, 610), type_is_prodol, "Результат оценки качества поля");
}

Result_Main_and_Side_wnd::~Result_Main_and_Side_wnd()
{
    delete ui;
}

void Result_Main_and_Side_wnd::SetType(bool T)
{
    Type_prodol = T;
}

void Result_Main_and_Side_wnd::SetData_prodol(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr,
                                              double Sdzpr, double Szminpr_main, double Sphipr_main, int SNzpr_main,
                                              int SNrpr_main, double Sdrpr_main, double Sdzpr_main, double Szminpr_side,
                                              double Sphipr_side, int SNzpr_side, int SNrpr_side, double Sdrpr_side,
                                              double Sdzpr_side)
{
    Zminpr = Szminpr;
    Phipr = Sphipr;
    FNzpr = SNzpr;
    FNrpr = SNrpr;
    Drpr = Sdrpr;
    Dzpr = Sdzpr;
    Zminpr_main = Szminpr_main;
    Phipr_main = Sphipr_main;
    FNzpr_main = SNzpr_main;
    FNrpr_main = SNrpr_main;
    Drpr_main = Sdrpr_main;
    Dzpr_main = Sdzpr_main;
    Zminpr_side = Szminpr_side;
    Phipr_side = Sphipr_side;
    FNzpr_side = SNzpr_side;
    FNrpr_side = SNrpr_side;
    Drpr_side = Sdrpr_side;
    Dzpr_side = Sdzpr_side;
}

void Result_Main_and_Side_wnd::SetData_poper(double Szop, double Srxp, double Sryp, double SNxp, double SNyp,
                                             double Sdxp, double Sdyp, double Szop_main, double Srxp_main,
                                             double Sryp_main, double SNxp_main, double SNyp_main, double Sdxp_main,
                                             double Sdyp_main, double Szop_side, double Srxp_side, double Sryp_side,
                                             double SNxp_side, double SNyp_side, double Sdxp_side, double Sdyp_side)
{
    Zop = Szop;
    Rxp = Srxp;
    Ryp = Sryp;
    FNxp = SNxp;
    FNyp = SNyp;
    Dxp = Sdxp;
    Dyp = Sdyp;
    Zop_main = Szop_main;
    Rxp_main = Srxp_main;
    Ryp_main = Sryp_main;
    FNxp_main = SNxp_main;
    FNyp_main = SNyp_main;
    Dxp_main = Sdxp_main;
    Dyp_main = Sdyp_main;
    Zop_side = Szop_side;
    Rxp_side = Srxp_side;
    Ryp_side = Sryp_side;
    FNxp_side = SNxp_side;
    FNyp_side = SNyp_side;
    Dxp_side = Sdxp_side;
    Dyp_side = Sdyp_side;
}

void Result_Main_and_Side_wnd::Axes_Title(double maxvalue)
{
    ui->Focus_Label->setText(
        qualityLabelText(false, Type_prodol, maxvalue, shared::XF_max_pos, shared::YF_max_pos, shared::zop));
    window::growToContents(this);
}

QString Result_Main_and_Side_wnd::parameterText_main() const
{
    const QString region =
        Type_prodol ? axialParameterText(Zminpr_main, Phipr_main, FNzpr_main, FNrpr_main, Drpr_main, Dzpr_main)
                    : transverseParameterText(Zop_main, FNxp_main, FNyp_main, Dxp_main, Dyp_main, " см.");
    return region + "<br />" + Medium_text;
}

QString Result_Main_and_Side_wnd::parameterText_side() const
{
    const QString region =
        Type_prodol ? axialParameterText(Zminpr_side, Phipr_side, FNzpr_side, FNrpr_side, Drpr_side, Dzpr_side)
                    : transverseParameterText(Zop_side, FNxp_side, FNyp_side, Dxp_side, Dyp_side, " см.");
    return region + "<br />" + Medium_text;
}

// Both exports render the same combined plot; only the text export differs in its arrays.
void Result_Main_and_Side_wnd::exportDocument_main()
{
    exportPlot(
        this, ui->widget, [this] { return ui->widget->GetZ_main(); },
        Type_prodol ? QStringLiteral("zr") : QStringLiteral("xy"));
}

void Result_Main_and_Side_wnd::exportDocument_side()
{
    exportPlot(
        this, ui->widget, [this] { return ui->widget->GetZ_side(); },
        Type_prodol ? QStringLiteral("zr") : QStringLiteral("xy"));
}

void Result_Main_and_Side_wnd::closeEvent(QCloseEvent *event)
{
    window::confirmCloseResult(this, event);
}

// ---- Buttons ----

void Result_Main_and_Side_wnd::on_pushButton_clicked()
{
    exportDocument_main();
}

void Result_Main_and_Side_wnd::on_pushButton_2_clicked()
{
    exportDocument_side();
}

void Result_Main_and_Side_wnd::on_pushButton_4_clicked()
{
    platform::information(this, "Параметры", parameterText_main());
}

void Result_Main_and_Side_wnd::on_pushButton_3_clicked()
{
    platform::information(this, "Параметры", parameterText_side());
}
