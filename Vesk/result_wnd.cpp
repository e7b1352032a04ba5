#include "result_wnd.h"
#include "ui_result_wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "heating_wnd.h"
#include "media.h"
#include "platform.h"
#include "plot.h"
#include "profile_wnd.h"
#include "plot_export.h"
#include "result_common.h"
#include "shared_params.h"
#include "window_common.h"

namespace {
QString num(double value)
{
    return QString::number(value, 'g', 6);
}
} // namespace

QString axialParameterText(double Zminpr, double Phipr, int FNzpr, int FNrpr, double Drpr, double Dzpr)
{
    return "z<sub>min</sub> = " + num(Zminpr * 100) + " см<br />&phi; = " + num(Phipr) + "&deg;<br />N<sub>z</sub> = "
           + QString::number(FNzpr, 10) + "<br />N<sub>r</sub> = " + QString::number(FNrpr, 10)
           + "<br />dr = " + num(Drpr * 100) + " см<br />dz = " + num(Dzpr * 100) + " см<br />z<sub>max</sub> = "
           + num((Zminpr + (FNzpr - 1) * Dzpr) * 100) + " см<br />r<sub>min</sub> = " + num((1 - FNrpr) * Drpr * 100)
           + " см<br />r<sub>max</sub> = " + num((FNrpr - 1) * Drpr * 100) + " см";
}

QString transverseParameterText(double Zop, double FNxp, double FNyp, double Dxp, double Dyp, const QString &ending)
{
    // No unit after y_max, and only there: the list's text is fixed character for character.
    return "z<sub>0</sub> = " + num(Zop * 100) + " см<br />x<sub>min</sub> = " + num(-(FNxp - 1) * Dxp * 100)
           + " см<br />x<sub>max</sub> = " + num((FNxp - 1) * Dxp * 100) + " см<br />y<sub>min</sub> = "
           + num(-(FNyp - 1) * Dyp * 100) + " см<br />y<sub>max</sub> = " + num((FNyp - 1) * Dyp * 100)
           + "<br />N<sub>x</sub> = " + num(FNxp) + "<br />N<sub>y</sub> = " + num(FNyp)
           + "<br />dx = " + num(Dxp * 100) + " см<br />dy = " + num(Dyp * 100) + ending;
}

QString focusLabelText(double X_Focus, double Y_Focus, double Z_Focus)
{
    return "Фокус: x= " + num(X_Focus) + " см, y= " + num(Y_Focus) + " см, z= " + num(Z_Focus) + " см.";
}

Result_wnd::Result_wnd(QWidget *parent, SharedGrid g) : QWidget(parent), ui(new Ui::Result_wnd), G(std::move(g))
{
    // Builds the plot, which reads and draws the result.
    ui->setupUi(this);
    // The lines under the plot wrap rather than widen the window.
    ui->Focus_Label->setWordWrap(true);
    resultwindow::setUp(this, QSize(535, 593), resultwindow::axialByPlaneFlags(), "Результат расчета поля");

    // What the readings need of the run, before the plane window's fields can change.
    Axial_result = shared::is_prodol && !shared::is_poper;
    Focus = currentFocusPlacement(ui->widget->GetZ(), Axial_result);
    Have_gain = readFocusPressure(QFileInfo(shared::file_to_calc).absolutePath() + "/focus_pressure.txt", &Gain);
    ui->doubleSpinBox_floor->setLocale(QLocale::c());
}

Result_wnd::~Result_wnd()
{
    delete ui;
}

void Result_wnd::SetType(bool T)
{
    Type_prodol = T;
}

void Result_wnd::SetData(double Szminpr, double Sphipr, int SNzpr, int SNrpr, double Sdrpr, double Sdzpr, double Szop,
                         double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp, double Sdyp)
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
}

void Result_wnd::Axes_Title(QString file_name, double X_Focus, double Y_Focus, double Z_Focus)
{
    Q_UNUSED(file_name);
    QString text = focusLabelText(X_Focus, Y_Focus, Z_Focus);
    // A plane that misses the focus shows no focal spot: the focus line says so.
    if (!Focus.inPlane)
        text += "\n" + focusMissText(Focus.distance);
    ui->Focus_Label->setText(text);
    window::growToContents(this);
    Focus_x = X_Focus / 100;
    Focus_y = Y_Focus / 100;
    Focus_z = Z_Focus / 100;
}

void Result_wnd::SetMedium(int preset, double absorption)
{
    MediumText = media::description(preset, absorption);
    if (preset != media::water || absorption != 0)
        setWindowTitle(QString("Результат расчета поля. ") + MediumText);
    // Ultrasound heats only what absorbs it.
    ui->pushButton_heating->setEnabled(absorption > 0);
    ui->pushButton_heating->setToolTip(absorption > 0
                                           ? QString("Температура, тепловая доза и очаг разрушения при озвучивании")
                                           : QString("В среде без поглощения (вода) ультразвук не нагревает: выберите "
                                                     "ткань в главном окне"));
}

QString Result_wnd::parameterText() const
{
    const QString plane = Type_prodol ? axialParameterText(Zminpr, Phipr, FNzpr, FNrpr, Drpr, Dzpr)
                                      : transverseParameterText(Zop, FNxp, FNyp, Dxp, Dyp);
    return MediumText.isEmpty() ? plane : plane + "<br />" + MediumText;
}

void Result_wnd::exportDocument()
{
    exportPlot(
        this, ui->widget, [this] { return ui->widget->GetZ(); },
        Type_prodol ? QStringLiteral("zr") : QStringLiteral("xy"));
}

void Result_wnd::closeEvent(QCloseEvent *event)
{
    window::confirmCloseResult(this, event);
}

// ---- Buttons ----

void Result_wnd::on_pushButton_clicked()
{
    exportDocument();
}

void Result_wnd::on_pushButton_2_clicked()
{
    platform::information(this, "Параметры", parameterText());
}

// ---- Readings of the field ----

namespace {
QString valueUnit(FieldResultType type)
{
    switch (type) {
    case FieldResultType::Pressure:
        return QStringLiteral("МПа");
    case FieldResultType::Intensity:
        return QStringLiteral("Вт/см²");
    default:
        return QString();
    }
}
} // namespace

QString Result_wnd::metricsText() const
{
    const Plot *plot = ui->widget;
    MetricsContext context;
    context.xName = Axial_result ? "z" : "x";
    context.yName = Axial_result ? "r" : "y";
    context.unit = valueUnit(plot->resultType());
    context.haveFocus = true;
    context.focus = Focus;
    context.haveGain = Have_gain;
    context.gain = Gain;
    context.normalisedPeak = plot->normalisedMaximum();
    return fieldMetricsText(fieldMetrics(ui->widget->GetZ(), plot->decibelFactor()), context);
}

void Result_wnd::on_pushButton_metrics_clicked()
{
    // A text window rather than a box: the numbers are meant to be selected and copied.
    QDialog *box = new QDialog(this);
    box->setObjectName("metricsWindow");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle("Показатели поля");
    QPlainTextEdit *text = new QPlainTextEdit(metricsText(), box);
    text->setObjectName("metricsText");
    text->setReadOnly(true);
    QDialogButtonBox *buttons = new QDialogButtonBox(QDialogButtonBox::Close, box);
    QPushButton *copy = buttons->addButton("Копировать", QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, text, [text] { QApplication::clipboard()->setText(text->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::close);
    QVBoxLayout *layout = new QVBoxLayout(box);
    layout->addWidget(text);
    layout->addWidget(buttons);
    box->resize(window::scaledSize(QSize(640, 260), false));
    box->show();
}

void Result_wnd::on_pushButton_profiles_clicked()
{
    const Plot *plot = ui->widget;
    ProfileSetup setup;
    setup.xName = Axial_result ? "z" : "x";
    setup.yName = Axial_result ? "r" : "y";
    setup.unit = valueUnit(plot->resultType());
    setup.factor = plot->decibelFactor();
    setup.floorDb = plot->decibelFloor();
    setup.decibels = plot->decibelScale();
    setup.haveFocus = Focus.onGrid;
    setup.focusU = Focus.u;
    setup.focusV = Focus.v;
    ProfileWnd *w = new ProfileWnd(ui->widget->GetZ(), setup, this);
    w->setWindowFlag(Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
}

void Result_wnd::on_pushButton_heating_clicked()
{
    heatingjob::Plane plane;
    plane.axial = Type_prodol;
    plane.zop = Zop;
    plane.phipr = Phipr;
    plane.xF = Focus_x;
    plane.yF = Focus_y;
    plane.zF = Focus_z;
    HeatingWnd *w = new HeatingWnd(plane);
    resultwindow::place(w);
    w->show();
}

// ---- Reading aids of the plot ----

void Result_wnd::on_checkBox_dB_toggled(bool on)
{
    ui->doubleSpinBox_floor->setEnabled(on);
    ui->widget->setDecibelScale(on, ui->doubleSpinBox_floor->value());
}

void Result_wnd::on_doubleSpinBox_floor_valueChanged(double floorDb)
{
    if (ui->checkBox_dB->isChecked())
        ui->widget->setDecibelScale(true, floorDb);
}

void Result_wnd::on_checkBox_contours_toggled(bool on)
{
    QList<double> levels;
    if (on && !parseDecibelLevels(ui->lineEdit_levels->text(), &levels)) {
        platform::information(this, "Ошибка!",
                              "Уровни изолиний: числа меньше нуля в дБ через пробел, например "
                              "-3 -6 -20");
        ui->checkBox_contours->setChecked(false);
        return;
    }
    ui->widget->setContours(on, levels);
}

void Result_wnd::on_lineEdit_levels_editingFinished()
{
    if (ui->checkBox_contours->isChecked())
        on_checkBox_contours_toggled(true);
}

void Result_wnd::on_checkBox_equal_toggled(bool on)
{
    ui->widget->setEqualScale(on);
}

// ---- Opening a result from the calculation plane window ----

Result_wnd *openFieldResult(const SharedGrid &G, bool axial, double xFocusCm, double yFocusCm, double zFocusCm)
{
    Result_wnd *w = new Result_wnd(nullptr, G);
    resultwindow::place(w);
    w->SetType(axial);
    w->SetData(shared::zminpr, shared::phipr, int(shared::Nzpr), int(shared::Nrpr), shared::drpr, shared::dzpr,
               shared::zop, shared::rxp, shared::ryp, shared::Nxp, shared::Nyp, shared::dxp, shared::dyp);
    w->SetMedium(shared::medium, shared::pvs);
    w->Axes_Title(shared::file_to_calc, xFocusCm, yFocusCm, zFocusCm);
    w->show();
    return w;
}
