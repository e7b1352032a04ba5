#include "radialquality_wnd.h"
#include "ui_radialquality_wnd.h"

#include "RectIn.h"
#include "form_fields.h"
#include "job_files.h"
#include "window_requests.h"
#include "plane_fields.h"
#include "session_state.h"
#include "shared_params.h"
#include "window_common.h"

using formfields::fieldValue;
using planefields::DigitTest;

RadialQuality_wnd::RadialQuality_wnd(QWidget *parent) :
    QualityWnd({false, &shared::name_of_file_main_max_poper, &shared::name_of_file_side_max_poper}, parent),
    ui(new Ui::RadialQuality_wnd)
{
    ui->setupUi(this);
    setUpWindow("Поперечная плоскость: оценка качества поля", ui->widget,
                {ui->pushButton, ui->pushButton_2, ui->pushButton_4, ui->pushButton_6, ui->pushButton_7});

    for (QLineEdit *f : {ui->lineEdit_4, ui->lineEdit_5, ui->lineEdit_2, ui->lineEdit_6, ui->lineEdit_3})
        formfields::setupNumberField(f, formfields::Sign::Unsigned);
    for (QLineEdit *f : {ui->lineEdit_17, ui->lineEdit_10, ui->lineEdit_16, ui->lineEdit_11})
        formfields::setupCountField(f);
}

RadialQuality_wnd::~RadialQuality_wnd()
{
    delete ui;
}

void RadialQuality_wnd::SetCalcData(double SZop, double Srxp, double Sryp, double SNxp, double SNyp, double Sdxp,
                                    double Sdyp)
{
    using formfields::numberText;
    Zop = SZop;
    Rxp = Srxp;
    Ryp = Sryp;
    FNxp = SNxp;
    FNyp = SNyp;
    Dxp = Sdxp;
    Dyp = Sdyp;
    // Each text fires its field's handler.
    ui->lineEdit_4->setText(numberText(Zop * 100));
    ui->lineEdit_14->setText(numberText(Rxp * 100));
    ui->lineEdit_15->setText(numberText(Ryp * 100));
    ui->lineEdit_17->setText(numberText(FNxp));
    ui->lineEdit_16->setText(numberText(FNyp));
    ui->lineEdit_5->setText(numberText(Dxp * 100));
    ui->lineEdit_6->setText(numberText(Dyp * 100));
    sessionstate::restoreForm(this, sessionKey());
}

void RadialQuality_wnd::SetScaleGL()
{
    ui->widget->ClickOnBut_no_foc();
}

// ---- Reading the regions ----

RadialQuality_wnd::FocusShift RadialQuality_wnd::readFocusShift() const
{
    return scanjob::transverseShiftFrom(formfields::formTexts(this));
}

// The field region is the transverse calculation plane: its column always mirrors the plane globals.
void RadialQuality_wnd::readFieldRegion() const
{
    scanjob::fieldRegionFrom(false, formfields::formTexts(this));
}

// ---- Fields ----

// As in the axial window: the focus-shift half-widths change only for complete numbers and whole
// points, the field region's follow every keystroke.
void RadialQuality_wnd::focusShiftEdited()
{
    auto derive = [](QLineEdit *display, QLineEdit *n, QLineEdit *step) {
        planefields::deriveDisplay(display, {step, n}, DigitTest::Yes, [=] {
            return planefields::halfWidthText(int(fieldValue(n->text())), fieldValue(step->text()) / 100);
        });
    };
    derive(ui->lineEdit_12, ui->lineEdit_10, ui->lineEdit_2);
    derive(ui->lineEdit_13, ui->lineEdit_11, ui->lineEdit_3);
    regionUpdate();
}

void RadialQuality_wnd::fieldEdited()
{
    auto derive = [](QLineEdit *display, QLineEdit *n, QLineEdit *step) {
        planefields::deriveDisplay(display, {step, n}, DigitTest::No, [=] {
            return planefields::halfWidthText(fieldValue(n->text()), fieldValue(step->text()) / 100);
        });
    };
    derive(ui->lineEdit_14, ui->lineEdit_17, ui->lineEdit_5);
    derive(ui->lineEdit_15, ui->lineEdit_16, ui->lineEdit_6);
    regionUpdate();
}

void RadialQuality_wnd::regionUpdate()
{
    using namespace shared;
    const FocusShift s = readFocusShift();
    readFieldRegion();
    // Only the field region's derived fields take part in its completeness.
    is_scan = planefields::allFilled({ui->lineEdit, ui->lineEdit_10, ui->lineEdit_11, ui->lineEdit_2, ui->lineEdit_3});
    is_poper = planefields::allFilled({ui->lineEdit_4, ui->lineEdit_17, ui->lineEdit_16, ui->lineEdit_5, ui->lineEdit_6,
                                       ui->lineEdit_14, ui->lineEdit_15});

    ui->widget->SetPopPlainParam(s.z, int(s.Nx), int(s.Ny), s.dx, s.dy, s.rx, s.ry);
    ui->widget->ClickOnBut_qual(s.z, s.rx, s.ry);
    if (!is_poper && !is_scan)
        ui->widget->RescaleToOne();
    ui->widget->updateGL();

    regionsChanged(is_poper && is_scan);
}

void RadialQuality_wnd::on_lineEdit_2_textChanged(const QString &)
{
    focusShiftEdited();
}
void RadialQuality_wnd::on_lineEdit_3_textChanged(const QString &)
{
    focusShiftEdited();
}
void RadialQuality_wnd::on_lineEdit_10_textChanged(const QString &)
{
    focusShiftEdited();
}
void RadialQuality_wnd::on_lineEdit_11_textChanged(const QString &)
{
    focusShiftEdited();
}
void RadialQuality_wnd::on_lineEdit_5_textChanged(const QString &)
{
    fieldEdited();
}
void RadialQuality_wnd::on_lineEdit_17_textChanged(const QString &)
{
    fieldEdited();
}
void RadialQuality_wnd::on_lineEdit_6_textChanged(const QString &)
{
    fieldEdited();
}
void RadialQuality_wnd::on_lineEdit_16_textChanged(const QString &)
{
    fieldEdited();
}
void RadialQuality_wnd::on_lineEdit_textChanged(const QString &) {}

// Both regions lie in one plane: the focus-shift plane z copies the field region's.
void RadialQuality_wnd::on_lineEdit_4_textChanged(const QString &text)
{
    ui->lineEdit->setText(text);
    regionUpdate();
}

// ---- Default regions ----

void RadialQuality_wnd::setDefaults(bool side)
{
    for (const scanjob::FieldText &f : scanjob::defaultTexts(false, side))
        findChild<QLineEdit *>(f.name)->setText(f.text);
}

void RadialQuality_wnd::on_Button_def_clicked()
{
    setDefaults(false);
}

void RadialQuality_wnd::on_Button_def_2_clicked()
{
    setDefaults(true);
    showSideDefaultsNote();
}

// ---- Scan runs ----

void RadialQuality_wnd::readRun(Scan kind)
{
    using namespace shared;
    m_shift = readFocusShift();
    readFieldRegion();
    Zop = zop;
    FNxp = Nxp;
    FNyp = Nyp;
    Dxp = dxp;
    Dyp = dyp;
    Rxp = rxp;
    Ryp = ryp;
    const bool main = kind == Scan::Main;
    (main ? Zop_main : Zop_side) = m_shift.z;
    (main ? FNxp_main : FNxp_side) = m_shift.Nx;
    (main ? FNyp_main : FNyp_side) = m_shift.Ny;
    (main ? Dxp_main : Dxp_side) = m_shift.dx;
    (main ? Dyp_main : Dyp_side) = m_shift.dy;
    (main ? Rxp_main : Rxp_side) = m_shift.rx;
    (main ? Ryp_main : Ryp_side) = m_shift.ry;
}

QByteArray RadialQuality_wnd::focusShiftGridText(Scan) const
{
    return scanjob::focusShiftGridText(m_shift);
}

QString RadialQuality_wnd::checkRun(Scan kind) const
{
    using namespace shared;
    const bool main = kind == Scan::Main;
    if (Nxp <= 1)
        return "Область расчета поля не может быть задана менее, чем двумя точками по x";
    if (Nyp <= 1)
        return "Область расчета поля не может быть задана менее, чем двумя точками по y";
    if (m_shift.Nx <= 1)
        return "Область смещения фокуса не может быть задана менее, чем двумя точками по x";
    if (m_shift.Ny <= 1)
        return "Область смещения фокуса не может быть задана менее, чем двумя точками по y";
    // Rectangles (xmin, xmax, ymin, ymax) of the stored regions; the plane z of both is the same.
    const double nx = main ? FNxp_main : FNxp_side;
    const double ny = main ? FNyp_main : FNyp_side;
    const double dx = main ? Dxp_main : Dxp_side;
    const double dy = main ? Dyp_main : Dyp_side;
    if (!RectIn(-(FNxp - 1) * Dxp, (FNxp - 1) * Dxp, -(FNyp - 1) * Dyp, (FNyp - 1) * Dyp, -(nx - 1) * dx, (nx - 1) * dx,
                -(ny - 1) * dy, (ny - 1) * dy))
        return "Область смещения фокуса должна находиться внутри области расчета поля!";
    if (dxp == 0 || m_shift.dx == 0)
        return "Невозможен нулевой шаг по x!";
    if (dyp == 0 || m_shift.dy == 0)
        return "Невозможен нулевой шаг по y!";
    return QString();
}

Grid RadialQuality_wnd::focusShiftGrid(Scan) const
{
    return scanjob::focusShiftGrid(m_shift);
}

void RadialQuality_wnd::on_pushButton_clicked()
{
    runScan(Scan::Main);
}

void RadialQuality_wnd::on_pushButton_2_clicked()
{
    runScan(Scan::Side);
}

// ---- Results ----

// The quality result windows open here; until then the buttons stay disabled (QualityWnd).
void RadialQuality_wnd::on_pushButton_4_clicked()
{
    showResult(Scan::Main);
}

void RadialQuality_wnd::on_pushButton_6_clicked()
{
    showResult(Scan::Side);
}

void RadialQuality_wnd::on_pushButton_7_clicked()
{
    showBothResults();
}

qualityresult::Request RadialQuality_wnd::resultRequest() const
{
    using namespace shared;
    qualityresult::Request r;
    r.axial = false;
    r.G = G;
    // The axial plane as the plane window left it; the transverse field region of the last run.
    r.plane = {zminpr, phipr, int(Nzpr), int(Nrpr), drpr, dzpr, Zop, Rxp, Ryp, FNxp, FNyp, Dxp, Dyp};
    r.main = {0, 0, 0, 0, 0, 0, Zop_main, Rxp_main, Ryp_main, FNxp_main, FNyp_main, Dxp_main, Dyp_main};
    r.side = {0, 0, 0, 0, 0, 0, Zop_side, Rxp_side, Ryp_side, FNxp_side, FNyp_side, Dxp_side, Dyp_side};
    r.resultType = ui->comboBox->currentIndex();
    r.levelsMain = {ui->doubleSpinBox->value(), ui->doubleSpinBox_2->value(), ui->doubleSpinBox_3->value()};
    r.levelsSide = {ui->doubleSpinBox_4->value(), ui->doubleSpinBox_5->value(), ui->doubleSpinBox_6->value()};
    return r;
}

// ---- Navigation ----

// A new plane window on the transverse tab, refilled with the field region.
void RadialQuality_wnd::on_pushButton_8_clicked()
{
    saveSession();
}

void RadialQuality_wnd::on_pushButton_3_clicked()
{
    sessionstate::keepForm(this, sessionKey());
    emit WindowRequests::instance().planeWindowRefilled(
        this, false,
        {ui->lineEdit_4->text(), ui->lineEdit_17->text(), ui->lineEdit_16->text(), ui->lineEdit_5->text(),
         ui->lineEdit_6->text(), ui->lineEdit_14->text(), ui->lineEdit_15->text()});
}
