#include "result_wnd_qual.h"
#include "ui_result_wnd_qual.h"

#include <QCloseEvent>
#include <algorithm>

#include "platform.h"
#include "media.h"
#include "plot_export.h"
#include "result_common.h"
#include "result_wnd.h"
#include "shared_params.h"
#include "window_common.h"

QString qualityLabelText(bool side, bool axial, double maxvalue, double XF_max_pos, double YF_max_pos, double zop)
{
    if (side)
        return QString();
    auto cm = [](double metres) { return QString::number(metres * 100, 'g', 6); };
    const QString head = "Максимальное безразмерное значение " + QString::number(maxvalue, 'g', 6)
                         + " достигается\nпри фокусировке в точку x = ";
    if (axial)
        return head + "0 см, y = " + cm(YF_max_pos) + " см, z = " + cm(XF_max_pos) + " см.";
    return head + cm(XF_max_pos) + " см, y = " + cm(YF_max_pos) + " см, z = " + cm(zop) + " см.";
}

QString bestFocusShareText(const VDOUB3 &shown, bool intensity)
{
    if (shown.size() < 3)
        return QString();
    double best = 0;
    size_t total = 0;
    for (const VDOUB &row : shown[2])
        for (double q : row) {
            best = std::max(best, q);
            ++total;
        }
    if (total == 0 || !(best > 0))
        return QString();
    // Within a hundredth of the best, as the map's contour levels are read.
    const double level = 0.99 * best;
    size_t near = 0;
    for (const VDOUB &row : shown[2])
        near += size_t(std::count_if(row.begin(), row.end(), [level](double q) { return q >= level; }));
    const QString what = intensity ? "наибольшая интенсивность поля при этой фокусировке, в единицах I₀ = p₀²/2ρc"
                                   : "наибольшее давление поля при этой фокусировке, в единицах p₀";
    return "q ≥ " + QString::number(level, 'f', 2) + " на " + QString::number(100.0 * near / total, 'f', 0)
           + " % области; значение — " + what;
}

Result_Wnd_qual::Result_Wnd_qual(QWidget *parent, SharedGrid g) :
    QWidget(parent), ui(new Ui::Result_Wnd_qual), G(std::move(g)), Medium_text(media::currentDescription())
{
    // Builds the plot, which reads and draws the scan.
    ui->setupUi(this);
    // The lines under the plot wrap rather than widen the window.
    ui->Focus_Label->setWordWrap(true);
    resultwindow::setUp(this, QSize(538, 605), resultwindow::axialByPlaneFlags(), "Результат оценки качества поля");
    ui->doubleSpinBox_floor->setLocale(QLocale::c());
}

Result_Wnd_qual::~Result_Wnd_qual()
{
    delete ui;
}

void Result_Wnd_qual::SetType(bool T)
{
    Type_prodol = T;
}

void Result_Wnd_qual::SetData(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr, double Sdzpr,
                              double Szop, double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp,
                              double Szminpr_qual, double Sphipr_qual, int SNzpr_qual, int SNrpr_qual,
                              double Sdrpr_qual, double Sdzpr_qual, double Szop_qual, double Srxp_qual,
                              double Sryp_qual, double SNxp_qual, double SNyp_qual, double Sdxp_qual, double Sdyp_qual)
{
    Zminpr = Szminpr;
    Phipr = Sphipr;
    FNzpr = SNzpr;
    FNrpr = SNrpr;
    Drpr = Sdrpr;
    Dzpr = Sdzpr;
    Zop = Szop;
    Rxp = Srxp;
    Ryp = Sryp;
    FNxp = SNxp;
    FNyp = SNyp;
    Dxp = Sdxp;
    Dyp = Sdyp;
    Zminpr_qual = Szminpr_qual;
    Phipr_qual = Sphipr_qual;
    FNzpr_qual = SNzpr_qual;
    FNrpr_qual = SNrpr_qual;
    Drpr_qual = Sdrpr_qual;
    Dzpr_qual = Sdzpr_qual;
    Zop_qual = Szop_qual;
    Rxp_qual = Srxp_qual;
    Ryp_qual = Sryp_qual;
    FNxp_qual = SNxp_qual;
    FNyp_qual = SNyp_qual;
    Dxp_qual = Sdxp_qual;
    Dyp_qual = Sdyp_qual;
}

void Result_Wnd_qual::Axes_Title(QString file_name, double maxvalue, QList<double> list, bool is)
{
    Q_UNUSED(file_name);
    Q_UNUSED(list);
    // The best-focus sentence, then what its number is and how much of the region is as good.
    QString text = qualityLabelText(is, Type_prodol, maxvalue, shared::XF_max_pos, shared::YF_max_pos, shared::zop);
    if (!text.isEmpty())
        text += "\n" + bestFocusShareText(ui->widget->GetZ(), shared::is_intens_qual);
    ui->Focus_Label->setText(text);
    window::growToContents(this);
}

QString Result_Wnd_qual::parameterText() const
{
    const QString region =
        Type_prodol ? axialParameterText(Zminpr_qual, Phipr_qual, FNzpr_qual, FNrpr_qual, Drpr_qual, Dzpr_qual)
                    : transverseParameterText(Zop_qual, FNxp_qual, FNyp_qual, Dxp_qual, Dyp_qual, " см.");
    return region + "<br />" + Medium_text;
}

void Result_Wnd_qual::exportDocument()
{
    exportPlot(
        this, ui->widget, [this] { return ui->widget->GetZ(); },
        Type_prodol ? QStringLiteral("zr") : QStringLiteral("xy"));
}

void Result_Wnd_qual::closeEvent(QCloseEvent *event)
{
    window::confirmCloseResult(this, event);
}

void Result_Wnd_qual::resizeEvent(QResizeEvent *event)
{
    // The layout follows the window by itself.
    Q_UNUSED(event);
}

// ---- Buttons ----

void Result_Wnd_qual::on_pushButton_clicked()
{
    exportDocument();
}

void Result_Wnd_qual::on_pushButton_2_clicked()
{
    platform::information(this, "Параметры", parameterText());
}

// ---- dB scale ----

void Result_Wnd_qual::on_checkBox_dB_toggled(bool on)
{
    ui->doubleSpinBox_floor->setEnabled(on);
    ui->widget->setDecibelScale(on, ui->doubleSpinBox_floor->value());
}

void Result_Wnd_qual::on_doubleSpinBox_floor_valueChanged(double floorDb)
{
    if (ui->checkBox_dB->isChecked())
        ui->widget->setDecibelScale(true, floorDb);
}
